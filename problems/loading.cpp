// Loading a problem: its set-up stones, answer lines and comment lines.
#include "core/messages.h"
#include "core/record_file.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

Str AnswerListLine(int problem, int moveIndex, int signedColour, int point, int record, int branchLink) {
  return RightAlign(problem, 10) + RightAlign(moveIndex, 10) + RightAlign(signedColour, 10) + RightAlign(point, 10) +
         RightAlign(record, 10) + RightAlign(branchLink, 10);
}

Str RecordDigits(int record) {
  if (record < 0) record = -record;
  return Right(Num(record / 10 + 10000), 4) + Num(record % 10);
}

Str CommentKey(int problem, int record) { return Num(problem) + RecordDigits(record); }

Str CommentListLine(int problem, int record, const Str& text) { return CommentKey(problem, record) + text; }

long Form4::AnswerField(int line, int k) const { return Val(Mid(List2.List(line), (k - 1) * 10 + 1, 10)); }

int Form4::SelectedProblem() const { return static_cast<int>(Val(Left(List1.List(List1.ListIndex()), 4))); }

void Form4::LoadProblem() {
  if (List1.ListIndex() < 0) return;
  Text1.SetText(List1.List(List1.ListIndex()));
  const int n = SelectedProblem();
  ResetProblemBoard();
  LoadSetupStones(n);
  LoadAnswerLines(n);
  LoadCommentLines(n);
  RememberedIndex = static_cast<int16_t>(List1.ListIndex());
  RememberedCategory = s_.CategoryNo;
  SetStatus(msg::OneBlank);
}

void Form4::LoadSetupStones(int problem) {
  CurrentRecord = -1;
  ProblemMoveNumber = 0;
  try {
    RecordFile f(s_.ProblemMovesFile, ProblemMoveRecord::Length);
    const long count = f.Count();
    const int first = BlockFirst(ProblemFile::Moves, s_.CategoryNo);
    const int last = BlockLast(ProblemFile::Moves, s_.CategoryNo);
    for (long r = first; r <= last && r <= count; ++r) {
      const ProblemMoveRecord m = ProblemMoveRecord::Decode(f.Read(r));
      if (m.ProblemNumber == 0) {
        if (r == first)
          GetPlatform().MsgBox(form4text::NoSetup, Buttons::OK, Icon::Information, form4text::Confirm);
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
  List2.Clear();
  try {
    for (const auto& r : ScanAnswers(s_, s_.CategoryNo)) {
      const AnswerMoveRecord& a = r.value;
      if (a.ProblemNumber != problem) continue;
      List2.AddItem(AnswerListLine(a.ProblemNumber, a.MoveIndex, a.SignedColour, a.Point, a.RecordNumber,
                                   a.BranchLink));
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
  AnswerLineCount = static_cast<int16_t>(List2.ListCount());
}

void Form4::LoadCommentLines(int problem) {
  List3.Clear();
  try {
    for (const auto& r : ScanComments(s_, s_.CategoryNo)) {
      const CommentRecord& c = r.value;
      if (c.ProblemNumber == problem) List3.AddItem(CommentListLine(c.ProblemNumber, c.AnswerRecord, c.CommentText));
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
}

void Form4::SelectComment(const Str& key) {
  CommentLineCount = static_cast<int16_t>(List3.ListCount());
  for (int i = 0; i < CommentLineCount; ++i) {
    if (Left(List3.List(i), 9) != key) continue;
    List3.SetListIndex(-1);
    List3.SetListIndex(i);
    List3.SetTopIndex(i);
    return;
  }
}

int Form4::SequenceStart(int& i) {
  while (AnswerField(i, 6) <= 0) {
    --i;
    if (i < 0) {
      i = 0;
      return 0;
    }
  }
  return i;
}

void Form4::FindRecordLine(int r, int& result) {
  AnswerLineCount = static_cast<int16_t>(List2.ListCount());
  for (int k = 0; k < AnswerLineCount; ++k) {
    if (AnswerField(k, 5) == r) {
      result = k;
      return;
    }
  }
}

}  // namespace sol
