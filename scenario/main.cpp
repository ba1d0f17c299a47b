#include <iostream>
#include <string>
#include <vector>

#include "scenario/runner.h"

int main(int argc, char** argv) {
  std::string dataDir;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--data" && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (a == "--help" || a == "-h") {
      sol::PrintScenarioUsage(std::cout);
      return 0;
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) {
    sol::PrintScenarioUsage(std::cerr);
    return 2;
  }
  sol::ScenarioTotals totals;
  for (const std::string& f : files) sol::RunScenarioFile(f, dataDir, std::cout, totals);
  std::cout << totals.passed << " passed, " << totals.failed << " failed" << std::endl;
  if (totals.unknownCommand) sol::PrintScenarioUsage(std::cerr);
  return totals.failed == 0 ? 0 : 1;
}
