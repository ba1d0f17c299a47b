// Plays scenario files against the real windows with the scenario platform
// and counts the expectations that hold and those that do not.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace sol {

struct ScenarioTotals {
  int passed = 0;
  int failed = 0;
  bool unknownCommand = false;  // a line named a command the runner does not know
};

// Runs one scenario file; `dataDir` empty = a fresh temporary directory.
// Failures are written to `out` as FILE:LINE: expected — found.
void RunScenarioFile(const std::string& path, const std::string& dataDir, std::ostream& out, ScenarioTotals& totals);

// Runs scenario text directly (for tests); `name` stands in the messages.
void RunScenarioText(const std::string& name, const std::string& text, const std::string& dataDir, std::ostream& out,
                     ScenarioTotals& totals);

// How to call the runner, and every command a scenario file may use.
void PrintScenarioUsage(std::ostream& out);

// Splits a scenario line into words: blanks separate, double quotes group,
// \" \\ \n are escapes inside quotes, # after a blank starts a comment.
// Returns false (with `error`) on an unterminated quote.
bool SplitScenarioLine(const std::string& line, std::vector<std::string>& words, std::string& error);

}  // namespace sol
