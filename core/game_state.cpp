#include "core/game_state.h"

#include "core/record_file.h"

namespace sol {

std::string MakeDataDir(const std::string& programDir) {
  if (!programDir.empty() && (programDir.back() == '/' || programDir.back() == '\\')) return programDir;
  return programDir + "/";
}

void SetDataDir(GameState& s, const std::string& dir) {
  s.DataDir = MakeDataDir(dir);
  s.GameListFile = s.DataDir + GameListFileName;
  s.GameMovesFile = s.DataDir + GameMovesFileName;
  s.TempFile = s.DataDir + ScratchFileName();
  s.ProblemListFile = s.DataDir + ProblemListFileName;
  s.ProblemMovesFile = s.DataDir + ProblemMovesFileName;
  s.AnswerMovesFile = s.DataDir + AnswerMovesFileName;
  s.CommentFile = s.DataDir + CommentFileName;
  s.ShareDir = s.DataDir;
}

void SetShareDir(GameState& s, const std::string& dir) { s.ShareDir = MakeDataDir(dir); }

std::optional<std::string> MoveEntryField(const MoveEntry& e, const std::string& field) {
  if (field == "Number") return std::to_string(e.Number);
  if (field == "Colour") return std::to_string(e.Colour);
  if (field == "Point") return std::to_string(e.Point);
  return std::nullopt;
}

int NeighbourPoint(int point, int direction) {
  switch (direction) {
    case 1:
      return (point - 1) % BoardSize == 0 ? 0 : point - 1;
    case 2:
      return point % BoardSize == 0 ? 0 : point + 1;
    case 3:
      return point - BoardSize < 1 ? 0 : point - BoardSize;
    case 4:
      return point + BoardSize > PointCount ? 0 : point + BoardSize;
    default:
      return 0;
  }
}

}  // namespace sol
