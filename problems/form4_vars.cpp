#include <string>

#include "core/text.h"
#include "problems/form4.h"

namespace sol {

std::optional<std::string> Form4::ReadPositionVar(const std::string& name, std::optional<int> index) const {
  if (name == "Board") {
    if (!index || *index < 1 || *index > PointCount) return std::nullopt;
    return std::to_string(Position.Board[*index]);
  }
  const std::pair<const char*, int16_t> scalars[] = {
      {"CapturedBlack", Position.CapturedBlack},
      {"CapturedWhite", Position.CapturedWhite},
      {"LastColour", Position.LastColour},
      // The problem board keeps no capture log.
      {"CaptureLogCount", 0},
  };
  for (const auto& [n, v] : scalars)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(std::to_string(v));
  return std::nullopt;
}

std::optional<std::string> Form4::ReadVar(const std::string& name, std::optional<int> index,
                                          const std::string& field) const {
  const std::pair<const char*, const int*> scalars[] = {
      {"ProblemPlayMode", &Vars.ProblemPlayMode},         {"SubCategoryBase", &Vars.SubCategoryBase},
      {"RememberedIndex", &Vars.RememberedIndex},         {"RememberedCategory", &Vars.RememberedCategory},
      {"CurrentRecord", &Lesson.CurrentRecord},           {"ProblemMoveNumber", &Lesson.ProblemMoveNumber},
      {"ProblemLastColour", &Lesson.ProblemLastColour},   {"NumberedPoint", &Lesson.NumberedPoint},
      {"MoveBufferCount", &Registration.MoveBufferCount}, {"AnswerLineCount", &Vars.AnswerLineCount},
      {"CommentLineCount", &Vars.CommentLineCount},       {"ParentRecordNo", &Vars.ParentRecordNo},
  };
  for (const auto& [n, p] : scalars)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(std::to_string(*p));
  const std::pair<const char*, const bool*> flags[] = {
      {"SequenceEnded", &Lesson.SequenceEnded},
      {"WrongBranch", &Lesson.WrongBranch},
      {"KeepCommentText", &Vars.KeepCommentText},
      {"Reviewing", &Vars.Reviewing},
  };
  for (const auto& [n, p] : flags)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(*p ? "1" : "0");
  // The mark beside problem n in List1 (0 none, 1 solved at the first
  // try, 2 after help, 3 missed; -1 not listed).
  if (name == "StudyMark") {
    if (!index) return std::nullopt;
    for (int i = 0; i < List1.ListCount(); ++i)
      if (ProblemNumberAt(i) == *index) return std::to_string(List1.Mark(i));
    return "-1";
  }
  if (name == "Candidates") {
    if (!index || *index < 1 || *index > CandidateSlots) return std::nullopt;
    return std::to_string(Lesson.Candidates[*index]);
  }
  const std::array<BufferEntry, MoveBufferSize + 1>* buffer = name == "MoveBuffer" ? &Registration.MoveBuffer
                                                              : name == "MoveBufferBackup"
                                                                  ? &Registration.MoveBufferBackup
                                                                  : nullptr;
  if (name == "PendingSetup") {
    if (!index || *index < 1 || *index > MoveBufferSize) return std::nullopt;
    const SetupEntry& e = Registration.PendingSetup[*index];
    if (field == "ProblemNumber") return std::to_string(e.ProblemNumber);
    if (field == "Colour") return std::to_string(e.Colour);
    if (field == "Point") return std::to_string(e.Point);
    return std::nullopt;
  }
  if (name == "DeleteCommentKeys") {
    if (!index || *index < 1 || *index > MoveBufferSize) return std::nullopt;
    return ToUtf8(DeleteCommentKeys[*index]);
  }
  if (buffer) {
    if (!index || *index < 1 || *index > MoveBufferSize) return std::nullopt;
    const BufferEntry& e = (*buffer)[*index];
    if (field == "Colour") return std::to_string(e.Colour);
    if (field == "Point") return std::to_string(e.Point);
    if (field == "MoveNo") return std::to_string(e.MoveNo);
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace sol
