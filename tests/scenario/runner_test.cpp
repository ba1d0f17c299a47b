// The runner's own housekeeping: where a dump goes, what it leaves behind,
// and that its usage text and its commands agree.
#include "scenario/runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace sol {
namespace {

namespace fs = std::filesystem;

std::string Play(const std::string& text, ScenarioTotals& totals) {
  std::ostringstream out;
  RunScenarioText("t.scn", text, "", out, totals);
  return out.str();
}

TEST(ScenarioRunner, DumpStandsAmongTheFailuresOfItsFile) {
  ScenarioTotals totals;
  const std::string out = Play(
      "click Form2 61 left\n"
      "expect var MoveCount 2\n"
      "dump Form2\n"
      "expect var MoveCount 3\n",
      totals);
  const size_t first = out.find("t.scn:2: MoveCount = 2 — MoveCount = 1\n");
  const size_t dump = out.find("== Form2 (shown)\n");
  const size_t last = out.find("t.scn:4: MoveCount = 3");
  ASSERT_NE(dump, std::string::npos) << out;
  EXPECT_LT(first, dump) << out;
  EXPECT_LT(dump, last) << out;
  EXPECT_NE(out.find(" . . . X . ."), std::string::npos) << out;  // row 4 holds the stone at 61
  EXPECT_EQ(totals.failed, 2);
}

// The temporary data directory goes away after the file, whatever its path.
TEST(ScenarioRunner, RemovesItsDataDirectoryEvenUnderAQuotedPath) {
  const fs::path base = fs::path(testing::TempDir()) / "it's \"odd\" $HOME";
  fs::remove_all(base);
  fs::create_directories(base);
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  setenv("TMPDIR", base.c_str(), 1);
  ScenarioTotals totals;
  const std::string out = Play(
      "record 棋譜一覧.dat 3 1 \"a\"\n"
      "click Form2 61 left\n"
      "expect records 棋譜一覧.dat 3\n",
      totals);
  if (old)
    setenv("TMPDIR", saved.c_str(), 1);
  else
    unsetenv("TMPDIR");
  EXPECT_EQ(totals.failed, 0) << out;
  EXPECT_TRUE(fs::is_empty(base)) << fs::directory_iterator(base)->path();
  fs::remove_all(base);
}

TEST(ScenarioRunner, EveryCommandTheUsageListsIsOneItRuns) {
  std::ostringstream usage;
  PrintScenarioUsage(usage);
  std::istringstream lines(usage.str());
  std::string line, text;
  int commands = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("  ", 0) != 0) continue;
    std::istringstream words(line);
    std::string name, kind;
    words >> name;
    if (name == "expect") words >> kind;
    text += name + " " + kind + "\n";
    ++commands;
  }
  EXPECT_GT(commands, 40);
  ScenarioTotals known;
  const std::string out = Play(text, known);
  EXPECT_EQ(out.find("unknown command"), std::string::npos) << out;
  EXPECT_EQ(out.find("unknown expectation"), std::string::npos) << out;
  EXPECT_FALSE(known.unknownCommand);

  for (const char* wrong : {"clack Form2 61 left\n", "expect stonez Form2\n"}) {
    ScenarioTotals totals;
    Play(wrong, totals);
    EXPECT_TRUE(totals.unknownCommand) << wrong;
    EXPECT_EQ(totals.failed, 1) << wrong;
  }
}

}  // namespace
}  // namespace sol
