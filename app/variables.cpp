#include <string>

#include "app/program.h"
#include "core/text.h"

namespace sol {

namespace {

std::string N(long v) { return std::to_string(v); }

template <size_t K>
std::optional<std::string> Element(const std::array<int16_t, K>& a, std::optional<int> index) {
  if (!index || *index < 0 || *index >= static_cast<int>(K)) return std::nullopt;
  return N(a[*index]);
}

}  // namespace

std::optional<std::string> ReadStateVar(const GameState& s, const std::string& name, std::optional<int> index,
                                        const std::string& field) {
  const std::pair<const char*, const int16_t*> scalars[] = {
      {"MoveCount", &s.MoveCount},
      {"MoveNumber", &s.MoveNumber},
      {"LastColour", &s.LastColour},
      {"LastPoint", &s.LastPoint},
      {"CapturedBlack", &s.CapturedBlack},
      {"CapturedWhite", &s.CapturedWhite},
      {"CaptureLogCount", &s.CaptureLogCount},
      {"BoardMode", &s.BoardMode},
      {"VariationStudy", &s.VariationStudy},
      {"GameMovesRecordCount", &s.GameMovesRecordCount},
      {"LastReadIndex", &s.LastReadIndex},
      {"LessonMode", &s.LessonMode},
      {"CategoryNo", &s.CategoryNo},
  };
  for (const auto& [n, p] : scalars)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(N(*p));

  const std::pair<const char*, const std::string*> texts[] = {
      {"DataDir", &s.DataDir},
      {"GameListFile", &s.GameListFile},
      {"GameMovesFile", &s.GameMovesFile},
      {"TempFile", &s.TempFile},
      {"ProblemListFile", &s.ProblemListFile},
      {"ProblemMovesFile", &s.ProblemMovesFile},
      {"AnswerMovesFile", &s.AnswerMovesFile},
      {"CommentFile", &s.CommentFile},
  };
  for (const auto& [n, p] : texts)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(*p);
  if (name == "GameTitle") return index ? std::nullopt : std::optional<std::string>(ToUtf8(s.GameTitle));

  if (name == "BlockEnd") {
    if (index || s.CategoryNo < 1 || s.CategoryNo > 4) return std::nullopt;
    const BlockEnds& b = s.BlockEnd[s.CategoryNo];
    if (field == "ListEnd") return N(b.ListEnd);
    if (field == "MovesEnd") return N(b.MovesEnd);
    if (field == "AnswersEnd") return N(b.AnswersEnd);
    if (field == "CommentsEnd") return N(b.CommentsEnd);
    return std::nullopt;
  }
  if (name == "Board") return (index && *index >= 1) ? Element(s.Board, index) : std::nullopt;
  if (name == "MoveList") {
    if (!index || *index < 1 || *index > MaxMoves) return std::nullopt;
    return MoveEntryField(s.MoveList[*index], field);
  }
  if (name == "CaptureLog") {
    if (!index || *index < 1 || *index > CaptureLogSize) return std::nullopt;
    const CaptureEntry& e = s.CaptureLog[*index];
    if (field == "AtMove") return N(e.AtMove);
    if (field == "Number") return N(e.Number);
    if (field == "Colour") return N(e.Colour);
    if (field == "Point") return N(e.Point);
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> ReadProgramVar(Program& app, const std::string& name, std::optional<int> index,
                                          const std::string& field) {
  // The board shown is the one a reader means: the problem window's own
  // while it is open.
  if (app.Problems.State() == WindowState::Shown)
    if (std::optional<std::string> v = app.Problems.ReadPositionVar(name, index)) return v;
  return ReadStateVar(app.State, name, index, field);
}

}  // namespace sol
