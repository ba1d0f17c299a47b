// A problem store in a scratch directory, with raw access to its files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game_state.h"
#include "problems/store.h"
#include "tests/support/faulty_files.h"

namespace sol {

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() { SetDataDir(s, dir.Path()); }

  std::string Raw(ProblemFile f) const { return testing::ScratchDir::ReadRaw(ProblemFilePath(s, f)); }
  void SetRaw(ProblemFile f, const std::string& content) {
    testing::ScratchDir::WriteRaw(ProblemFilePath(s, f), content);
  }
  // Writes records into the file from record `at` on, zero-filling any gap.
  void Put(ProblemFile f, int at, const std::vector<std::string>& records) {
    std::string content = Raw(f);
    const size_t start = static_cast<size_t>(at - 1) * RecordLength(f);
    std::string joined;
    for (const std::string& r : records) joined += r;
    if (content.size() < start + joined.size()) content.resize(start + joined.size(), '\0');
    content.replace(start, joined.size(), joined);
    SetRaw(f, content);
  }
  // The bytes of the file outside the category's block.
  std::string Outside(ProblemFile f, int category) const {
    std::string content = Raw(f);
    const size_t from = static_cast<size_t>(BlockFirst(f, category) - 1) * RecordLength(f);
    const size_t to = static_cast<size_t>(BlockLast(f, category)) * RecordLength(f);
    if (content.size() > from) content.erase(from, std::min(content.size(), to) - from);
    return content;
  }

  testing::ScratchDir dir;
  GameState s;
};

inline std::string Answer(int16_t problem, int16_t move, int16_t colour, int16_t point, int16_t record, int16_t link) {
  return AnswerMoveRecord{problem, move, colour, point, record, link}.Encode();
}
inline std::string Comment(int16_t problem, int16_t answer, const Str& text = u"") {
  return CommentRecord{problem, answer, text}.Encode();
}
inline std::string Stone(int16_t problem, int16_t point) { return ProblemMoveRecord{problem, 1, point}.Encode(); }
inline std::string ListEntry(int16_t problem, const Str& text = u"") {
  return ProblemListRecord{problem, text}.Encode();
}

}  // namespace sol
