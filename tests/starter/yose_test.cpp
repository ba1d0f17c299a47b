// The shipped endgame problems: every line is playable on the problem board
// and teaches something, and the value the lecture shows after the two runs
// (出入計算) is the one the answers state.
#include <optional>
#include <string>
#include <vector>

#include "problems/yose_count.h"
#include "tests/starter/starter_lines.h"

namespace sol::starter {
namespace {

// N of the first "出入りN目" in a comment, ASCII or full-width digits.
std::optional<int> StatedValue(const std::string& comment) {
  const std::string mark = "出入り";
  size_t at = comment.find(mark);
  if (at == std::string::npos) return std::nullopt;
  at += mark.size();
  int value = 0, digits = 0;
  for (;;) {
    if (at < comment.size() && comment[at] >= '0' && comment[at] <= '9') {
      value = value * 10 + (comment[at] - '0');
      at += 1;
    } else if (comment.compare(at, 2, "\xEF\xBC") == 0 && at + 2 < comment.size() &&
               static_cast<unsigned char>(comment[at + 2]) >= 0x90 &&
               static_cast<unsigned char>(comment[at + 2]) <= 0x99) {
      value = value * 10 + (static_cast<unsigned char>(comment[at + 2]) - 0x90);
      at += 3;
    } else {
      break;
    }
    ++digits;
  }
  if (digits == 0 || comment.compare(at, 3, "目") != 0) return std::nullopt;
  return value;
}

std::vector<Stone> Alternating(std::vector<Stone> moves, int first) {
  int colour = first;
  for (Stone& s : moves) {
    s.Colour = colour;
    colour = Opponent(static_cast<int16_t>(colour));
  }
  return moves;
}

bool AllInWindow(const std::vector<Stone>& stones) {
  for (const Stone& s : stones)
    if (!InWindow(s.Point)) return false;
  return true;
}

TEST(YoseStarter, BothRunsCountToTheStatedValue) {
  const std::vector<Problem> problems = LoadCategory("yose");
  ASSERT_GE(problems.size(), 15u);
  for (size_t i = 0; i < problems.size(); ++i) {
    const Problem& p = problems[i];
    SCOPED_TRACE(p.Name());
    std::optional<int> stated;
    bool runStartsAnswer = false;
    for (const Line& line : p.Lines) {
      if (!line.Correct()) continue;
      const std::optional<int> n = StatedValue(line.LeafComment);
      ASSERT_TRUE(n) << "no 出入りN目 in " << line.LeafComment;
      if (stated) {
        EXPECT_EQ(*n, *stated) << line.LeafComment;
      }
      stated = n;
      if (!p.BlackFirst.empty() && line.Moves.front().Point == p.BlackFirst.front().Point) runStartsAnswer = true;
    }
    ASSERT_TRUE(stated);
    ASSERT_FALSE(p.BlackFirst.empty());
    ASSERT_FALSE(p.WhiteFirst.empty());
    EXPECT_TRUE(runStartsAnswer) << "the Black-first run must open with a correct move";
    EXPECT_TRUE(AllInWindow(p.BlackFirst));
    EXPECT_TRUE(AllInWindow(p.WhiteFirst));
    const Replay blackFirst = Play(p, Alternating(p.BlackFirst, Black));
    const Replay whiteFirst = Play(p, Alternating(p.WhiteFirst, White));
    ASSERT_TRUE(blackFirst.Legal) << "YB: " << blackFirst.Why;
    ASSERT_TRUE(whiteFirst.Legal) << "YW: " << whiteFirst.Why;
    // Played in the lecture's order: Black's run, then White's.
    YoseCount count;
    const int number = static_cast<int>(i) + 1;
    EXPECT_EQ(count.AddRun(number, Black, blackFirst.Board, blackFirst.CapturedBlack, blackFirst.CapturedWhite),
              std::nullopt);
    EXPECT_EQ(count.AddRun(number, White, whiteFirst.Board, whiteFirst.CapturedBlack, whiteFirst.CapturedWhite),
              std::optional<long>(*stated));
  }
}

}  // namespace
}  // namespace sol::starter
