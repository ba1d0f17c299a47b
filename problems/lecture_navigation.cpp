// Moving along the registered answer without placing stones: the next
// move, the whole answer, a take-back and a whole sequence back.
#include <cstdlib>
#include <optional>

#include "core/messages.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command1_Click() {
  if (Vars.ProblemPlayMode != 1) {
    SetStatus(form4text::ChooseLectureMode);
    return;
  }
  if (Lesson.SequenceEnded) return;
  if (List1.ListIndex() < 0) {
    SetStatus(form4text::ChooseProblemFirst);
    return;
  }
  // A move played for the learner is help.
  Attempt.Helped();
  const int n = CollectCandidates();
  if (n > 1) {
    MarkCandidates();
    return;
  }
  if (n == 1) Lesson.CurrentRecord = Lesson.Candidates[1] - 1;
  if (Lesson.CurrentRecord + 1 >= answers_.Count()) return;
  PlayNextRecord();
  PlayCue(0);
  const Continuation c = answers_.ContinuationAt(Lesson.CurrentRecord);
  if (c.Continues) {
    SetStatus(form4text::GoOnShort);
    Lesson.SequenceEnded = false;
  } else {
    SetStatus(form4text::SequenceOver);
    PlayCue(1);
    Lesson.SequenceEnded = true;
    RecordStudyEnd(Lesson.CurrentRecord);
  }
  if (c.EndsSequence) {
    // The comment replays the sequence from a reset board; the end of the
    // answer still holds.
    const bool ended = Lesson.SequenceEnded;
    const AnswerLine& head = answers_.At(answers_.SequenceStart(Lesson.CurrentRecord));
    SelectComment(head.Problem, head.Record);
    Lesson.SequenceEnded = ended;
  }
}

void Form4::Command2_Click() {
  if (List1.ListIndex() < 0) {
    SetStatus(form4text::ChooseProblemFirst);
    return;
  }
  Attempt.Helped();
  bool played = false;
  bool ended = false;
  // The head of the sequence last started, whose comment is shown.
  std::optional<AnswerLine> head;
  // Each round plays one line; the answer list bounds the rounds.
  for (int round = 0; round <= answers_.Count() + 1; ++round) {
    const int k = answers_.At(Lesson.CurrentRecord + 1).Link;
    if (k >= 1) head = answers_.At(Lesson.CurrentRecord + 1);
    if (k >= 1 && k != StartsAtProblem) {
      if (CollectCandidates() > 0) MarkCandidates();
      return;
    }
    if (k == StartsAtProblem && played) return;
    if (k < 0) break;
    played = true;
    ++Lesson.CurrentRecord;
    const AnswerLine& l = answers_.At(Lesson.CurrentRecord);
    const int n = l.MoveIndex;
    if (n == 0) break;
    const int colour = l.SignedColour;
    const int point = l.Point;
    if (point >= 1 && point <= ProblemPoints && colour != 0 && std::abs(colour) <= 2) {
      Position.Board[point] = static_cast<int16_t>(std::abs(colour));
      DrawProblemStone(n, colour, point, LabelNumbered);
    }
    Lesson.ProblemMoveNumber = n;
    if (!answers_.ContinuationAt(Lesson.CurrentRecord).Continues) {
      ended = true;
      break;
    }
  }
  if (ended) RecordStudyEnd(Lesson.CurrentRecord);
  if (head) SelectComment(head->Problem, head->Record);
  Lesson.CurrentRecord = -1;
  PlayCue(0);
}

void Form4::Command3_Click() {
  Attempt.Helped();
  const bool lecture = s_.LessonMode % 2 == 1 && Vars.ProblemPlayMode == 1;
  // What the status said was about the position taken back (the end of the
  // answer, the marks); free placement keeps its instructions.
  if (lecture && (Registration.MoveBufferCount > 0 || Lesson.CurrentRecord != -1)) SetStatus(msg::OneBlank);
  // Is the newest clicked stone the answer move the lecture stands at?
  const bool onAnswer =
      lecture && Registration.MoveBufferCount > 0 && Lesson.CurrentRecord >= 0 &&
      Registration.MoveBuffer[Registration.MoveBufferCount].Point == answers_.At(Lesson.CurrentRecord).Point &&
      Registration.MoveBuffer[Registration.MoveBufferCount].MoveNo == answers_.At(Lesson.CurrentRecord).MoveIndex;
  if (onAnswer && List2.ListIndex() >= 0) {
    // A comment has shown the whole sequence: redrawing the clicked stones
    // over it would leave the stone taken back on the board, so the stone
    // goes back along the answer.
    TakeBackLectureMove();
    Registration.DropNewest();
    Lesson.SequenceEnded = false;
  } else if (Registration.MoveBufferCount > 0) {
    const int record = Lesson.CurrentRecord;
    TakeBackFreeMove();
    // The lecture goes on from the stone before the one taken back.
    if (onAnswer) {
      Lesson.CurrentRecord = record;
      StepBackRecord();
    }
    Lesson.SequenceEnded = false;
  } else if (Lesson.CurrentRecord != -1) {
    TakeBackLectureMove();
    Lesson.SequenceEnded = false;
  }
}

void Form4::TakeBackFreeMove() {
  for (int p = 1; p <= ProblemPoints; ++p) {
    Cells.SetPicture(p, PictureNone);
    SetCaption(p, u" ");
    Position.Board[p] = 0;
  }
  // The redraw counts captures again; start from none.
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  Lesson.NumberedPoint = 0;
  const bool problemSelected = List1.ListIndex() >= 0;
  if (problemSelected) LoadSetupStones(SelectedProblem());
  int lastColour = 0;
  if (List2.ListIndex() >= 0) {
    const int before = Lesson.ProblemLastColour;
    Lesson.ProblemLastColour = 0;
    ReplayAnswerPath(List2.ListIndex(), 0, LabelPlain);
    lastColour = Lesson.ProblemLastColour;
    Lesson.ProblemLastColour = before;
  }
  Registration.DropNewest();
  // A lecture stone that started a wrong line was drawn red and stays so.
  const bool lecture = s_.LessonMode % 2 == 1;
  for (int i = 1; i <= Registration.MoveBufferCount; ++i) {
    const BufferEntry e = Registration.MoveBuffer[i];
    if (e.Point < 1 || e.Point > ProblemPoints) continue;
    int colour = e.Colour;
    if (lecture && answers_.StartsWrongLine(e.MoveNo, e.Point)) colour = -colour;
    Position.Board[e.Point] = e.Colour;
    lastColour = DrawProblemStone(e.MoveNo, colour, e.Point, problemSelected ? LabelNumbered : LabelPlain);
    Lesson.ProblemMoveNumber = e.MoveNo;
  }
  Lesson.ProblemLastColour = lastColour;
}

void Form4::Command15_Click() {
  Attempt.Helped();
  const int s = answers_.SequenceStart(s_.LessonMode % 2 == 1 ? Lesson.CurrentRecord : List2.ListIndex());
  const int k = answers_.At(s).Link;
  if (k == StartsAtProblem) {
    const int line = List1.ListIndex();
    if (line < 0) return;
    List1.SetListIndex(-1);
    List1.SetListIndex(line);
    return;
  }
  const int parent = FindRecordLine(k, -1);
  if (parent < 0) return;
  const int s2 = answers_.SequenceStart(parent);
  if (s_.LessonMode % 2 == 1) List2.SetListIndex(-1);
  List2.SetListIndex(s2);
}

}  // namespace sol
