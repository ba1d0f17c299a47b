// The range form of a board click: every point of the range is one click,
// and a range that is not one is an error before anything is clicked.
#include <gtest/gtest.h>

#include <sstream>

#include "scenario/runner.h"

namespace sol {
namespace {

struct Result {
  ScenarioTotals totals;
  std::string out;
};

Result RunText(const std::string& text) {
  Result r;
  std::ostringstream out;
  RunScenarioText("t.scn", text, "", out, r.totals);
  r.out = out.str();
  return r;
}

TEST(ClickRange, ClicksEveryPointOrEveryStepInOrder) {
  const Result r = RunText(
      "click Form2 61..63 left\n"       // B1 W2 B3 down column 4
      "click Form2 100..138/19 left\n"  // W4 B5 W6 along row 5
      "expect stones Form2 black 61 63 119 white 62 100 138\n"
      "expect label Form2 138 \"6\" black\n"
      "click Form2 200..200 left\n"
      "expect var MoveCount 7\n");
  EXPECT_EQ(r.totals.failed, 0) << r.out;
  EXPECT_EQ(r.totals.passed, 3);
}

TEST(ClickRange, RefusesWhatIsNotARange) {
  for (const char* range : {"5..3", "1..400", "0..3", "1..3/0", "1..3/x", "1..", "..3"}) {
    const Result r = RunText(std::string("click Form2 ") + range + " left\nexpect var MoveCount 0\n");
    EXPECT_EQ(r.totals.failed, 1) << range << "\n" << r.out;
    EXPECT_EQ(r.totals.passed, 1) << range << "\n" << r.out;
  }
}

}  // namespace
}  // namespace sol
