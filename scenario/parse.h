// The words of scenario lines: numbers, point ranges, and the names under
// which scenarios write what the program shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "ui/board_cells.h"
#include "ui/platform.h"

namespace sol {

using Words = std::vector<std::string>;

// A line the runner cannot carry out; the message is what it reports.
class Failure {
 public:
  explicit Failure(std::string m) : message(std::move(m)) {}
  std::string message;
};

// "text" with \" \\ \n written as in a scenario.
std::string Quote(const std::string& s);
// Line breaks compare as \n whatever the program wrote.
std::string Normal(const Str& s);

bool ParseLong(const std::string& s, long& v);
int ParseIndex(const std::string& s);
bool ParseYesNo(const std::string& s);

// A point of `b`.
int ParsePoint(const BoardCells& b, const std::string& w);
// P, or every point from A to B (A..B) or every S-th of them (A..B/S).
std::vector<int> ParsePoints(const BoardCells& b, const std::string& w);

const char* StateName(WindowState s);
const char* IconName(Icon i);
std::string ColourName(uint32_t c);

}  // namespace sol
