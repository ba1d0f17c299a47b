// A game written here, read by another program's SGF reader: GNU Go loads the
// file and prints the final position, which must be the one this program
// reaches by its own replay. Skipped where GNU Go is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "core/capture.h"
#include "core/replay.h"
#include "sgf/sgf_game.h"
#include "sgf/sgf_tree.h"
#include "sgf/sgf_writer.h"

namespace sol::sgf {
namespace {

constexpr const char* GnuGo = "/usr/games/gnugo";

// Whether the group at `p` has a liberty.
bool HasLiberty(const BoardPoints& b, int p) {
  std::vector<int> stack{p};
  std::vector<bool> seen(PointCount + 1);
  seen[p] = true;
  while (!stack.empty()) {
    const int q = stack.back();
    stack.pop_back();
    for (int d = 1; d <= 4; ++d) {
      const int n = NeighbourPoint(q, d);
      if (n == 0 || seen[n]) continue;
      if (b[n] == Empty) return true;
      if (b[n] == b[p]) {
        seen[n] = true;
        stack.push_back(n);
      }
    }
  }
  return false;
}

// A long game of random moves that any rule set allows: no suicide and no
// retaking of a single stone at once, so that captures are plentiful but
// every reader takes every move.
std::vector<MoveEntry> RandomGame(int moves) {
  std::mt19937 rng(20261208);
  std::vector<MoveEntry> game{{0, Black, 61}, {0, Black, 289}, {0, White, 73}};
  BoardPoints board{};
  for (const MoveEntry& e : game) board[e.Point] = e.Colour;
  int colour = White, koPoint = 0;
  for (int n = 1; n <= moves;) {
    const int p = 1 + static_cast<int>(rng() % PointCount);
    if (board[p] != Empty || p == koPoint) continue;
    BoardPoints next = board;
    next[p] = static_cast<int16_t>(colour);
    const Capture taken = TakeOffDeadGroups(next, p, Opponent(static_cast<int16_t>(colour)));
    if (!HasLiberty(next, p)) continue;
    koPoint = taken.Count == 1 ? taken.Points[0] : 0;
    board = next;
    game.push_back({static_cast<int16_t>(n++), static_cast<int16_t>(colour), static_cast<int16_t>(p)});
    colour = Opponent(static_cast<int16_t>(colour));
  }
  return game;
}

TEST(OtherReader, GnuGoReachesTheSamePosition) {
  if (access(GnuGo, X_OK) != 0) GTEST_SKIP() << "GNU Go is not installed";
  const std::vector<MoveEntry> game = RandomGame(300);
  const std::string dir = testing::TempDir();
  const std::string in = dir + "solneka-written.sgf", out = dir + "solneka-printed.sgf";
  std::ofstream(in, std::ios::binary) << WriteGame(game, u"交換テスト", Date{2026, 12, 8});
  const std::string command = std::string(GnuGo) + " -l '" + in + "' --printsgf '" + out + "' </dev/null >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::stringstream printed;
  printed << std::ifstream(out, std::ios::binary).rdbuf();
  const Collection c = ParseCollection(printed.str());
  ASSERT_EQ(c.Games.size(), 1u);
  // The printed position is set-up stones only.
  const ImportedGame theirs = ConvertGame(c.Games[0]);

  GameState s;
  std::copy(game.begin(), game.end(), s.MoveList.begin() + 1);
  ReplayMoves(s, static_cast<int>(game.size()));
  BoardPoints position{};
  for (const MoveEntry& e : theirs.Entries) {
    EXPECT_EQ(e.Number, 0);
    position[e.Point] = e.Colour;
  }
  int stones = 0, captured = s.CapturedBlack + s.CapturedWhite;
  for (int p = 1; p <= PointCount; ++p) {
    EXPECT_EQ(position[p], s.Board[p]) << "point " << p;
    stones += s.Board[p] != Empty;
  }
  EXPECT_EQ(stones + captured, static_cast<int>(game.size()));
  EXPECT_GT(captured, 10) << "the game should exercise captures";
}

}  // namespace
}  // namespace sol::sgf
