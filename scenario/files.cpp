#include "scenario/files.h"

#include <cstdlib>

#include "core/cp932.h"
#include "core/game_state.h"
#include "core/record_file.h"
#include "core/text.h"
#include "scenario/parse.h"

namespace sol {

namespace {

FieldLayout I(int offset) { return {offset, 2, false}; }
FieldLayout T(int offset, int width) { return {offset, width, true}; }

const std::vector<FileLayout>& Layouts() {
  static const std::vector<FileLayout> layouts = {
      {GameListFileName, GameListRecordLength, {I(0), T(2, 120)}},
      {GameMovesFileName, GameMoveRecordLength, {I(0), I(2), I(4), I(6)}},
      {TempFileName, GameMoveRecordLength, {I(0), I(2), I(4), I(6)}},
      {ProblemListFileName, ProblemListRecordLength, {I(0), T(2, 40)}},
      {ProblemMovesFileName, ProblemMoveRecordLength, {I(0), I(2), I(4)}},
      {AnswerMovesFileName, AnswerMoveRecordLength, {I(0), I(2), I(4), I(6), I(8), I(10)}},
      {CommentFileName, CommentRecordLength, {I(0), I(2), T(4, 46)}},
  };
  return layouts;
}

}  // namespace

const FileLayout* FindFileLayout(const std::string& fileName) {
  for (const FileLayout& l : Layouts())
    if (l.fileName == fileName) return &l;
  return nullptr;
}

std::optional<std::string> EncodeRecord(const FileLayout& layout, const std::vector<std::string>& values,
                                        std::string& error) {
  if (values.size() != layout.fields.size()) {
    error = layout.fileName + " has " + std::to_string(layout.fields.size()) + " fields, " +
            std::to_string(values.size()) + " given";
    return std::nullopt;
  }
  std::string rec(layout.recordLength, '\0');
  for (size_t i = 0; i < values.size(); ++i) {
    const FieldLayout& f = layout.fields[i];
    if (f.text) {
      rec.replace(f.offset, f.width, EncodeFixed(FromUtf8(values[i]), f.width));
    } else {
      long v = 0;
      if (!ParseLong(values[i], v) || v < -32768 || v > 32767) {
        error = "field " + std::to_string(i + 1) + " is not a 16-bit number: " + values[i];
        return std::nullopt;
      }
      PutInt16(rec, f.offset, static_cast<int16_t>(v));
    }
  }
  return rec;
}

std::vector<std::string> DecodeRecord(const FileLayout& layout, const std::string& bytes) {
  std::vector<std::string> out;
  for (const FieldLayout& f : layout.fields) {
    if (f.text) {
      // Trailing blanks and the zero bytes of an end marker both read as nothing.
      Str text = Decode(std::string_view(bytes).substr(f.offset, f.width));
      while (!text.empty() && (text.back() == u' ' || text.back() == u'\0')) text.pop_back();
      out.push_back(ToUtf8(text));
    } else
      out.push_back(std::to_string(GetInt16(bytes, f.offset)));
  }
  return out;
}

}  // namespace sol
