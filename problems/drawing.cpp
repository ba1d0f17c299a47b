// Stones on the problem board, and moving the board along the registered
// answer: the whole path of a sequence, the next record, a step back.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/capture.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"

namespace sol {

namespace {
bool OnProblemBoard(int p) { return p >= 1 && p <= ProblemPoints; }
}  // namespace

void Form4::DrawProblemStone(int number, int& colour, int point, int mode) {
  if (!OnProblemBoard(point)) return;
  if (colour > 0) {
    Cells.SetForeColor(point, ColourGreen);
  } else {
    Cells.SetForeColor(point, ColourRed);
    colour = std::abs(colour);
  }
  Cells.SetPicture(point, static_cast<int16_t>(colour));
  if (mode == LabelPlain) {
    Cells.SetCaption(point, u" ");
  } else {
    Cells.SetCaption(point, Num(number));
    if (mode == LabelLatestOnly) {
      ProblemLastColour = static_cast<int16_t>(colour);
      if (NumberedPoint > 0 && NumberedPoint != point) Cells.SetCaption(NumberedPoint, u" ");
      NumberedPoint = static_cast<int16_t>(point);
    }
  }
  CaptureOnProblemBoard(point);
}

void Form4::CaptureOnProblemBoard(int point) {
  const int own = std::abs(Position.Board[point]);
  if (own != Black && own != White) return;
  // Groups may reach past the window into the columns beyond it; only the
  // window's own points are ever taken off.
  const Capture taken = TakeOffDeadGroups(Position.Board, point, own == Black ? White : Black, ProblemPoints);
  for (int i = 0; i < taken.Count; ++i) {
    Cells.SetPicture(taken.Points[i], PictureNone);
    Cells.SetCaption(taken.Points[i], u" ");
  }
  if (taken.Colour == Black)
    Position.CapturedBlack = static_cast<int16_t>(Position.CapturedBlack + taken.Count);
  else
    Position.CapturedWhite = static_cast<int16_t>(Position.CapturedWhite + taken.Count);
}

void Form4::ReplayAnswerPath(int start, int limit, int mode) {
  if (start < 0 || List2.ListCount() == 0) return;
  AnswerLineCount = static_cast<int16_t>(List2.ListCount());
  const long startNumber = AnswerField(start, 2);
  int e = start;
  while (e + 1 < AnswerLineCount && AnswerField(e + 1, 6) == 0) ++e;
  CurrentRecord = static_cast<int16_t>(limit != 0 ? start : e);
  ParentRecordNo = static_cast<int16_t>(AnswerField(e, 5));

  // The path back to the root sequence; a damaged link ends it, and no
  // path is longer than the list. The record numbers are read once, as a
  // path through many linked sequences looks one up at every step.
  std::vector<long> records(static_cast<size_t>(AnswerLineCount));
  for (int k = 0; k < AnswerLineCount; ++k) records[static_cast<size_t>(k)] = AnswerField(k, 5);
  List4.Clear();
  int i = e;
  for (int steps = 0; steps <= AnswerLineCount; ++steps) {
    List4.AddItem(RightAlign(AnswerField(i, 2), 10) + RightAlign(AnswerField(i, 3), 10) +
                  RightAlign(AnswerField(i, 4), 10) + RightAlign(AnswerField(i, 5), 10));
    const long link = AnswerField(i, 6);
    if (link == StartsAtProblem) break;
    if (link == 0) {
      if (--i < 0) break;
      continue;
    }
    const auto found = std::find(records.begin(), records.end(), static_cast<int>(link));
    const int parent = found == records.end() ? -1 : static_cast<int>(found - records.begin());
    if (parent < 0 || parent == i) break;
    i = parent;
  }

  auto pathField = [this](int line, int k) { return Val(Mid(List4.List(line), (k - 1) * 10 + 1, 10)); };
  bool drew = false;
  int lastNumber = 0, lastColour = 0;
  for (int k = List4.ListCount() - 1; k >= 0; --k) {
    const int number = static_cast<int>(pathField(k, 1));
    int colour = static_cast<int>(pathField(k, 2));
    const int point = static_cast<int>(pathField(k, 3));
    if (limit > 0 && number > limit) break;
    if (!OnProblemBoard(point) || colour == 0 || std::abs(colour) > 2) continue;
    Position.Board[point] = static_cast<int16_t>(std::abs(colour));
    DrawProblemStone(number, colour, point, number < startNumber ? LabelPlain : mode);
    drew = true;
    lastNumber = number;
    lastColour = colour;
  }
  if (drew) {
    ProblemMoveNumber = static_cast<int16_t>(lastNumber);
    ProblemLastColour = static_cast<int16_t>(lastColour);
  }
}

void Form4::PlayNextRecord() {
  ++CurrentRecord;
  const int n = static_cast<int>(AnswerField(CurrentRecord, 2));
  int c = static_cast<int>(AnswerField(CurrentRecord, 3));
  const int p = static_cast<int>(AnswerField(CurrentRecord, 4));
  if (!OnProblemBoard(p) || c == 0 || std::abs(c) > 2) return;
  // The first stone of a wrong sequence is stored with its negative colour;
  // every reader of the board takes the absolute value.
  Position.Board[p] = static_cast<int16_t>(c);
  DrawProblemStone(n, c, p, LabelLatestOnly);
  ProblemMoveNumber = static_cast<int16_t>(n);
}

void Form4::StepBackRecord() {
  if (CurrentRecord == 0) {
    CurrentRecord = -1;
    return;
  }
  const long k = AnswerField(CurrentRecord, 6);
  if (k == 0) {
    --CurrentRecord;
  } else if (k == StartsAtProblem || k < 1) {
    CurrentRecord = -1;
  } else {
    int line = CurrentRecord;
    FindRecordLine(static_cast<int>(k), line);
    CurrentRecord = static_cast<int16_t>(line);
  }
}

void Form4::TakeBackLectureMove() {
  for (int p = 1; p <= ProblemPoints; ++p) {
    Cells.SetPicture(p, PictureNone);
    Cells.SetCaption(p, u" ");
    Position.Board[p] = 0;
  }
  const int i = CurrentRecord;
  const int n = ProblemMoveNumber;
  LoadSetupStones(SelectedProblem());
  CurrentRecord = static_cast<int16_t>(i);
  ProblemMoveNumber = static_cast<int16_t>(n);
  StepBackRecord();
  --ProblemMoveNumber;
  // The replay counts its captures again; start the counts from nothing so
  // they stay those of the position shown.
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  ProblemLastColour = 0;
  NumberedPoint = 0;
  ReplayAnswerPath(CurrentRecord, ProblemMoveNumber, LabelLatestOnly);
  PlayCue(0);
}

void Form4::ShowAnswerSequence() {
  const int selected = List2.ListIndex();
  if (selected < 0) return;
  const Str line = List2.List(selected);
  const int n = static_cast<int>(Val(Mid(line, 1, 10)));
  const Str key = Mid(line, 7, 4) + RecordDigits(static_cast<int>(Val(Mid(line, 41, 10))));
  const Str kept = Text2.Text();
  ResetProblemBoard();
  LoadSetupStones(n);
  int s = selected;
  SequenceStart(s);
  ReplayAnswerPath(s, 0, LabelNumbered);
  if (KeepCommentText == 1) {
    Text2.SetText(kept);
    KeepCommentText = 0;
  } else {
    SelectComment(key);
  }
}

}  // namespace sol
