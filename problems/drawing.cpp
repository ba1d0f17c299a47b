// Stones on the problem board, and moving the board along the registered
// answer: the whole path of a sequence, the next record, a step back.
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

int Form4::DrawProblemStone(int number, int colour, int point, int mode) {
  if (!OnProblemBoard(point)) return colour;
  if (colour > 0) {
    Cells.SetForeColor(point, ColourGreen);
  } else {
    Cells.SetForeColor(point, ColourRed);
    colour = std::abs(colour);
  }
  Cells.SetPicture(point, static_cast<int16_t>(colour));
  if (mode == LabelPlain) {
    SetCaption(point, u" ");
  } else {
    SetCaption(point, Num(number));
    if (mode == LabelLatestOnly) {
      Lesson.ProblemLastColour = colour;
      if (Lesson.NumberedPoint > 0 && Lesson.NumberedPoint != point) SetCaption(Lesson.NumberedPoint, u" ");
      Lesson.NumberedPoint = point;
    }
  }
  CaptureOnProblemBoard(point);
  return colour;
}

void Form4::CaptureOnProblemBoard(int point) {
  const int own = std::abs(Position.Board[point]);
  if (own != Black && own != White) return;
  // Groups may reach past the window into the columns beyond it; only the
  // window's own points are ever taken off.
  const Capture taken = TakeOffDeadGroups(Position.Board, point, own == Black ? White : Black, ProblemPoints);
  for (int i = 0; i < taken.Count; ++i) {
    Cells.SetPicture(taken.Points[i], PictureNone);
    SetCaption(taken.Points[i], u" ");
  }
  if (taken.Colour == Black)
    Position.CapturedBlack = static_cast<int16_t>(Position.CapturedBlack + taken.Count);
  else
    Position.CapturedWhite = static_cast<int16_t>(Position.CapturedWhite + taken.Count);
}

void Form4::ReplayAnswerPath(int start, int limit, int mode) {
  if (start < 0 || answers_.Count() == 0) return;
  Vars.AnswerLineCount = answers_.Count();
  const int startNumber = answers_.At(start).MoveIndex;
  const int e = answers_.SequenceEnd(start);
  Lesson.CurrentRecord = limit != 0 ? start : e;
  Vars.ParentRecordNo = answers_.At(e).Record;

  const std::vector<int> path = answers_.PathBack(e);
  bool drew = false;
  int lastNumber = 0, lastColour = 0;
  for (auto k = path.rbegin(); k != path.rend(); ++k) {
    const AnswerLine& l = answers_.At(*k);
    const int number = l.MoveIndex;
    const int colour = l.SignedColour;
    if (limit > 0 && number > limit) break;
    if (!OnProblemBoard(l.Point) || colour == 0 || std::abs(colour) > 2) continue;
    Position.Board[l.Point] = static_cast<int16_t>(std::abs(colour));
    lastColour = DrawProblemStone(number, colour, l.Point, number < startNumber ? LabelPlain : mode);
    drew = true;
    lastNumber = number;
  }
  if (drew) {
    Lesson.ProblemMoveNumber = lastNumber;
    Lesson.ProblemLastColour = lastColour;
  }
}

void Form4::PlayNextRecord() {
  ++Lesson.CurrentRecord;
  const AnswerLine& l = answers_.At(Lesson.CurrentRecord);
  const int c = l.SignedColour;
  if (!OnProblemBoard(l.Point) || c == 0 || std::abs(c) > 2) return;
  // The first stone of a wrong sequence is stored with its negative colour;
  // every reader of the board takes the absolute value.
  Position.Board[l.Point] = static_cast<int16_t>(c);
  DrawProblemStone(l.MoveIndex, c, l.Point, LabelLatestOnly);
  Lesson.ProblemMoveNumber = l.MoveIndex;
}

void Form4::StepBackRecord() { Lesson.CurrentRecord = answers_.StepBack(Lesson.CurrentRecord); }

void Form4::TakeBackLectureMove() {
  for (int p = 1; p <= ProblemPoints; ++p) {
    Cells.SetPicture(p, PictureNone);
    SetCaption(p, u" ");
    Position.Board[p] = 0;
  }
  const int i = Lesson.CurrentRecord;
  const int n = Lesson.ProblemMoveNumber;
  LoadSetupStones(SelectedProblem());
  Lesson.CurrentRecord = i;
  Lesson.ProblemMoveNumber = n;
  StepBackRecord();
  --Lesson.ProblemMoveNumber;
  // The replay counts its captures again; start the counts from nothing so
  // they stay those of the position shown.
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  Lesson.ProblemLastColour = 0;
  Lesson.NumberedPoint = 0;
  ReplayAnswerPath(Lesson.CurrentRecord, Lesson.ProblemMoveNumber, LabelLatestOnly);
  PlayCue(0);
}

void Form4::ShowAnswerSequence() {
  const int selected = List2.ListIndex();
  if (selected < 0) return;
  const AnswerLine& line = answers_.At(selected);
  const int n = line.Problem;
  const int record = line.Record;
  const Str kept = Text2.Text();
  ResetProblemBoard();
  LoadSetupStones(n);
  ReplayAnswerPath(answers_.SequenceStart(selected), 0, LabelNumbered);
  if (Vars.KeepCommentText) {
    Text2.SetText(kept);
    Vars.KeepCommentText = false;
  } else {
    SelectComment(n, record);
  }
}

}  // namespace sol
