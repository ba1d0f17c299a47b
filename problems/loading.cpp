// Loading a problem: its set-up stones, answer lines and comment lines.
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "core/record_file.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

Str AnswerListLine(const AnswerLine& l) {
  // Drawn for every line of an answer on each load: built in place.
  Str line;
  line.reserve(60);
  for (int v : {l.Problem, l.MoveIndex, l.SignedColour, l.Point, l.Record, l.Link}) AppendRightAligned(line, v, 10);
  return line;
}

Str RecordDigits(int record) {
  if (record < 0) record = -record;
  return Right(Num(record / 10 + 10000), 4) + Num(record % 10);
}

Str CommentKey(int problem, int record) { return Num(problem) + RecordDigits(record); }

Str CommentListLine(int problem, int record, const Str& text) { return CommentKey(problem, record) + text; }

void Form4::LoadProblem() {
  if (List1.ListIndex() < 0) return;
  Text1.SetText(List1.List(List1.ListIndex()));
  const int n = SelectedProblem();
  Attempt.Loaded(s_.CategoryNo, n);
  ResetProblemBoard();
  LoadSetupStones(n);
  LoadAnswerLines(n);
  LoadCommentLines(n);
  Vars.RememberedIndex = List1.ListIndex();
  Vars.RememberedCategory = s_.CategoryNo;
  SetStatus(msg::OneBlank);
}

void Form4::LoadSetupStones(int problem) {
  Lesson.CurrentRecord = -1;
  Lesson.ProblemMoveNumber = 0;
  try {
    RecordFile f(s_.ProblemMovesFile, ProblemMoveRecord::Length);
    const int first = BlockFirst(ProblemFile::Moves, s_.CategoryNo);
    const long last = std::min<long>(BlockLast(ProblemFile::Moves, s_.CategoryNo), f.Count());
    // The block in one read: it holds up to 10,000 records.
    const std::string block = f.ReadRecords(first, last - first + 1);
    const std::string_view bytes = block;
    for (size_t at = 0; at < bytes.size(); at += ProblemMoveRecord::Length) {
      const ProblemMoveRecord m = ProblemMoveRecord::Decode(bytes.substr(at, ProblemMoveRecord::Length));
      if (m.ProblemNumber == 0) {
        if (at == 0) GetPlatform().MsgBox(form4text::NoSetup, Buttons::OK, Icon::Information, form4text::Confirm);
        break;
      }
      if (m.ProblemNumber != problem) continue;
      // A damaged record must not draw outside the problem board.
      if (m.Point < 1 || m.Point > ProblemPoints || (m.Colour != Black && m.Colour != White)) continue;
      Position.Board[m.Point] = m.Colour;
      Cells.SetPicture(m.Point, m.Colour);
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
}

void Form4::LoadAnswerLines(int problem) {
  std::vector<AnswerLine> lines;
  try {
    for (const auto& r : ScanAnswers(s_, s_.CategoryNo, problem)) {
      const AnswerMoveRecord& a = r.value;
      lines.push_back({a.ProblemNumber, a.MoveIndex, a.SignedColour, a.Point, a.RecordNumber, a.BranchLink});
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
  ShowAnswers(AnswerTree(std::move(lines)));
  Vars.AnswerLineCount = List2.ListCount();
}

void Form4::ShowAnswers(AnswerTree tree) {
  answers_ = std::move(tree);
  List2.Clear();
  for (int i = 0; i < answers_.Count(); ++i) List2.AddItem(AnswerListLine(answers_.At(i)));
}

int Form4::AppendAnswer(const AnswerLine& line) {
  answers_.Append(line);
  return List2.AddItem(AnswerListLine(line));
}

void Form4::LoadCommentLines(int problem) {
  ClearCommentLines();
  try {
    for (const auto& r : ScanComments(s_, s_.CategoryNo, problem)) AddCommentLine(r.value);
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
}

int Form4::FindComment(int problem, int record) const {
  // A comment key holds the record number without its sign.
  for (int i = 0; i < static_cast<int>(comments_.size()); ++i)
    if (comments_[i].ProblemNumber == problem && std::abs(comments_[i].AnswerRecord) == std::abs(record)) return i;
  return -1;
}

void Form4::SelectComment(int problem, int record) {
  Vars.CommentLineCount = List3.ListCount();
  if (const int i = FindComment(problem, record); i >= 0) {
    List3.SetListIndex(-1);
    List3.SetListIndex(i);
    List3.SetTopIndex(i);
  }
}

int Form4::FindRecordLine(int r, int otherwise) {
  Vars.AnswerLineCount = List2.ListCount();
  const int line = answers_.FindRecord(r);
  return line >= 0 ? line : otherwise;
}

int Form4::ProblemNumberAt(int i) const {
  return i >= 0 && i < static_cast<int>(problemNumbers_.size()) ? problemNumbers_[static_cast<size_t>(i)] : 0;
}

Str Form4::ProblemTitleAt(int i) const {
  if (i < 0 || i >= static_cast<int>(titleStarts_.size())) return {};
  return Mid(List1.List(i), titleStarts_[static_cast<size_t>(i)] + 1, ProblemListRecord::TitleChars);
}

int Form4::AddProblemLine(int number, Str line, int titleStart) {
  const int added = List1.AddItem(std::move(line));
  problemNumbers_.insert(problemNumbers_.begin() + added, number);
  titleStarts_.insert(titleStarts_.begin() + added, static_cast<std::uint8_t>(std::clamp(titleStart, 0, 255)));
  return added;
}

void Form4::RemoveProblemLine(int i) {
  if (i < 0 || i >= List1.ListCount()) return;
  List1.RemoveItem(i);
  problemNumbers_.erase(problemNumbers_.begin() + i);
  titleStarts_.erase(titleStarts_.begin() + i);
}

void Form4::ClearProblemLines() {
  List1.Clear();
  problemNumbers_.clear();
  titleStarts_.clear();
}

int Form4::AddCommentLine(const CommentRecord& c) {
  const int added = List3.AddItem(CommentListLine(c.ProblemNumber, c.AnswerRecord, c.CommentText));
  comments_.insert(comments_.begin() + added, c);
  return added;
}

void Form4::RemoveCommentLine(int i) {
  if (i < 0 || i >= List3.ListCount()) return;
  List3.RemoveItem(i);
  comments_.erase(comments_.begin() + i);
}

void Form4::ClearCommentLines() {
  List3.Clear();
  comments_.clear();
}

void Form4::SetCaption(int p, const Str& text, bool mark) {
  Cells.SetCaption(p, text);
  if (p >= 1 && p <= ProblemPoints) marked_[p] = mark;
}

}  // namespace sol
