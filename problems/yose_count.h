// The in/out value of an endgame position, from two played-out runs of one
// problem on the problem board: one with Black moving first, one with White.
#pragma once

#include <array>
#include <optional>

#include "core/game_state.h"

namespace sol {

class YoseCount {
 public:
  static constexpr int Columns = 13;
  static constexpr int Points = Columns * BoardSize;

  // Keeps the run just played out of problem `problem`, which `firstColour`
  // began. When the other run of the same problem is kept too, returns the
  // problem's value and starts over; else nullopt.
  std::optional<long> AddRun(int problem, int firstColour, const BoardPoints& board, int capturedBlack,
                             int capturedWhite);

 private:
  // The colour of the stone nearest to `p` along its row and column in
  // each run (1 Black, 2 White, 0 none), and the last run in which `p` was
  // empty (0: in neither).
  struct Nearest {
    int first = 0;
    int second = 0;
    int emptyRun = 0;
  };
  Nearest NearestStones(int p) const;
  void SpreadMark(int p);
  long Count();

  // Per run (Black first, White first) problem number, prisoners taken by
  // Black and by White.
  std::array<int, 7> runs_{};
  std::array<std::array<int, Points + 1>, 3> snapshots_{};
  std::array<int, Points + 1> work_{};
};

}  // namespace sol
