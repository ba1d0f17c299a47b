// Writes problem data files byte by byte, as the program stores them, for
// the windows to open in tests and pictures.
#pragma once

#include <QDir>
#include <QString>
#include <cstdint>
#include <string>

#include "core/cp932.h"
#include "core/game_state.h"
#include "core/record_file.h"

namespace sol::testdata {

// Record numbers where each category's block starts in each file.
inline int ListBlock(int category) { return (category - 1) * 500 + 1; }
inline int MovesBlock(int category) { return (category - 1) * 10000 + 1; }
inline int AnswersBlock(int category) { return (category - 1) * 2000 + 1; }
inline int CommentsBlock(int category) { return (category - 1) * 500 + 1; }

// A point of the board from its column (from the left) and row (from the top).
constexpr int16_t At(int column, int row) { return static_cast<int16_t>(BoardSize * (column - 1) + row); }

class ProblemFiles {
 public:
  explicit ProblemFiles(const QString& dir) : dir_(dir) {}

  void Problem(int record, int16_t number, const Str& title) {
    std::string r(ProblemListRecordLength, '\0');
    PutInt16(r, 0, number);
    r.replace(2, 40, EncodeFixed(title, 40));
    Write(ProblemListFileName, ProblemListRecordLength, record, r);
  }
  void Stone(int record, int16_t number, int16_t colour, int16_t point) {
    std::string r(ProblemMoveRecordLength, '\0');
    PutInt16(r, 0, number);
    PutInt16(r, 2, colour);
    PutInt16(r, 4, point);
    Write(ProblemMovesFileName, ProblemMoveRecordLength, record, r);
  }
  // `record` is also the record number stored in the record.
  void Answer(int record, int16_t number, int16_t moveIndex, int16_t signedColour, int16_t point, int16_t branchLink) {
    std::string r(AnswerMoveRecordLength, '\0');
    PutInt16(r, 0, number);
    PutInt16(r, 2, moveIndex);
    PutInt16(r, 4, signedColour);
    PutInt16(r, 6, point);
    PutInt16(r, 8, static_cast<int16_t>(record));
    PutInt16(r, 10, branchLink);
    Write(AnswerMovesFileName, AnswerMoveRecordLength, record, r);
  }
  void Comment(int record, int16_t number, int16_t answerRecord, const Str& text) {
    std::string r(CommentRecordLength, '\0');
    PutInt16(r, 0, number);
    PutInt16(r, 2, answerRecord);
    r.replace(4, 46, EncodeFixed(text, 46));
    Write(CommentFileName, CommentRecordLength, record, r);
  }
  // Every data file the windows open, empty where nothing was written.
  void CreateTheRest() {
    for (const char* name : {GameListFileName, GameMovesFileName, ProblemListFileName, ProblemMovesFileName,
                             AnswerMovesFileName, CommentFileName})
      RecordFile(Path(name), 1);
  }

 private:
  std::string Path(const char* name) const { return QDir(dir_).filePath(QString::fromUtf8(name)).toStdString(); }
  void Write(const char* name, int length, int record, const std::string& bytes) {
    RecordFile f(Path(name), length);
    f.Write(record, bytes);
    f.Flush();
  }

  QString dir_;
};

}  // namespace sol::testdata
