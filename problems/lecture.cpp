// A click on the problem board: marks, Shift take-offs, free placement,
// the lecture's answer checking and the registration's placement.
#include <cstdlib>
#include <vector>

#include "core/cues.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

namespace {
int ButtonColour(int button) { return button == 1 ? Black : button == 2 ? White : 0; }
// A damaged answer line may hold any colour; only a stone's, signed, is played.
bool IsAnswerColour(long c) { return c == Black || c == White || c == -Black || c == -White; }
}  // namespace

void Form4::ProblemBoardClick(int button, int shift, int p) {
  if (p < 1 || p > ProblemPoints) return;
  const bool lectureMode = s_.LessonMode % 2 == 1;

  if (IsMarked(p)) {
    ClickMark(button, p);
    return;
  }

  if (shift == 1) {
    if (Position.Board[p] == 0) {
      if (Position.LastColour == 0) return;
      Cells.SetPicture(p, Position.LastColour);
      Position.Board[p] = Position.LastColour;
      if (Position.LastColour == Black)
        --Position.CapturedBlack;
      else
        --Position.CapturedWhite;
    } else if (Position.Board[p] >= 1) {
      Position.LastColour = Position.Board[p] == Black ? Black : White;
      Cells.SetPicture(p, PictureNone);
      Position.Board[p] = 0;
      if (Position.LastColour == Black)
        ++Position.CapturedBlack;
      else
        ++Position.CapturedWhite;
    } else {
      return;
    }
    SetStatus(u"黒側あげ石：" + Num(Position.CapturedWhite) + u"　　白側あげ石：" + Num(Position.CapturedBlack));
    return;
  }

  if (Position.Board[p] != 0) return;

  if (!lectureMode) {
    RegistrationClick(button, p);
    return;
  }
  if (Vars.ProblemPlayMode == 2) {
    int colour = ButtonColour(button);
    if (colour == 0) return;
    if (s_.LessonMode == 7 && Lesson.ProblemLastColour == 0) colour = White;
    if (Registration.Full()) {
      SetStatus(form4text::BufferFull);
      return;
    }
    ++Lesson.ProblemMoveNumber;
    Position.Board[p] = static_cast<int16_t>(colour);
    Registration.Append(colour, p, Lesson.ProblemMoveNumber);
    DrawProblemStone(Lesson.ProblemMoveNumber, colour, p, LabelPlain);
    Lesson.ProblemLastColour = colour;
    return;
  }
  LectureMove(p);
}

void Form4::ClickMark(int button, int p) {
  SetStatus(u" ");
  for (int q = 1; q <= ProblemPoints; ++q) SetCaption(q, u" ");
  const int line = Lesson.CandidateAt(answers_, p);
  if (line < 0) return;
  Lesson.ProblemMoveNumber = answers_.At(line).MoveIndex;
  Position.Board[p] = static_cast<int16_t>(answers_.At(line).SignedColour);
  Lesson.CurrentRecord = line;

  if (button == 2) {
    // The whole sequence shown is the answer looked at.
    Attempt.Helped();
    List2.SetListIndex(line);
    if (CollectCandidates() > 0) MarkCandidates();
    return;
  }
  Lesson.NumberedPoint = p;
  Position.Board[p] =
      static_cast<int16_t>(DrawProblemStone(Lesson.ProblemMoveNumber, Position.Board[p], p, LabelLatestOnly));
  ReportContinuation();
  if (answers_.At(Lesson.CurrentRecord + 1).Link > 0) {
    // The comment replays the sequence from a reset board; the end of the
    // answer still holds.
    const bool ended = Lesson.SequenceEnded;
    SelectComment(answers_.At(Lesson.CurrentRecord).Problem, answers_.At(Lesson.CurrentRecord).Record);
    Lesson.SequenceEnded = ended;
  }
}

bool Form4::ReportContinuation() {
  const Continuation c = answers_.ContinuationAt(Lesson.CurrentRecord);
  if (c.Continues) {
    SetStatus(form4text::GoOn);
    PlayCue(0);
  } else {
    SetStatus(form4text::SequenceOver);
    PlayCue(EndCue);
    Lesson.SequenceEnded = true;
    RecordStudyEnd(Lesson.CurrentRecord);
  }
  return c.EndsSequence;
}

void Form4::LectureMove(int p) {
  if (Lesson.SequenceEnded) {
    SetStatus(form4text::SequenceOver);
    return;
  }
  if (Registration.Full()) {
    SetStatus(form4text::BufferFull);
    return;
  }
  const int colour = Lesson.NextColour(s_.LessonMode == 7);
  ++Lesson.ProblemMoveNumber;
  Position.Board[p] = static_cast<int16_t>(colour);
  Registration.Append(colour, p, Lesson.ProblemMoveNumber);
  const bool found = Lesson.MatchMove(answers_, Lesson.ProblemMoveNumber, p).has_value();
  DrawProblemStone(Lesson.ProblemMoveNumber, Lesson.WrongBranch ? -colour : colour, p, LabelNumbered);
  Lesson.ProblemLastColour = colour;
  if (found && Lesson.WrongBranch) Attempt.Helped();

  if (found) {
    if (ReportContinuation()) {
      // Showing the sequence's comment replays it from a reset board; the
      // player's stones stay on record and the end of the answer holds.
      Registration.Backup();
      const int count = Registration.MoveBufferCount;
      const bool ended = Lesson.SequenceEnded;
      const AnswerLine& head = answers_.At(answers_.SequenceStart(Lesson.CurrentRecord));
      SelectComment(head.Problem, head.Record);
      Registration.Restore(count);
      Lesson.SequenceEnded = ended;
    }
    return;
  }
  RejectLectureMove(colour);
}

void Form4::RejectLectureMove(int colour) {
  Attempt.Helped();
  const Answer a =
      GetPlatform().MsgBox(form4text::NotRegistered, Buttons::YesNoCancel, Icon::Question, form4text::Choice);
  const int accepted = Lesson.CurrentRecord;
  ++Lesson.CurrentRecord;
  if (a == Answer::Cancel) {
    Vars.ProblemPlayMode = 2;
    Option3.SetValue(true);
    return;
  }
  TakeBackLectureMove();
  if (Lesson.CurrentRecord != accepted) {
    // Stepping back from the line after the last accepted record reaches
    // that record only when the line continues it or branches from it; when
    // another sequence starts there, the accepted position is drawn again.
    for (int q = 1; q <= ProblemPoints; ++q) {
      Cells.SetPicture(q, PictureNone);
      SetCaption(q, u" ");
      Position.Board[q] = 0;
    }
    const int before = Lesson.ProblemMoveNumber;
    LoadSetupStones(SelectedProblem());
    Position.CapturedBlack = 0;
    Position.CapturedWhite = 0;
    Lesson.ProblemLastColour = 0;
    Lesson.NumberedPoint = 0;
    Lesson.CurrentRecord = accepted;
    Lesson.ProblemMoveNumber = before;
    ReplayAnswerPath(Lesson.CurrentRecord, Lesson.ProblemMoveNumber, LabelLatestOnly);
  }
  // The rejected stone leaves the record too.
  Registration.DropNewest();
  if (a == Answer::Yes) {
    Lesson.ProblemLastColour = Opponent(static_cast<int16_t>(colour));
    return;
  }
  if (CollectCandidates() > 0) {
    MarkCandidates();
  } else if (Lesson.CurrentRecord + 1 < answers_.Count()) {
    PlayNextRecord();
    PlayCue(0);
  }
}

void Form4::RegistrationClick(int button, int p) {
  int colour;
  int mode;
  if (List1.ListIndex() < 0) {
    colour = ButtonColour(button);
    if (colour == 0) return;
    mode = LabelPlain;
  } else {
    colour = Lesson.NextColour(s_.LessonMode == 8);
    mode = LabelNumbered;
  }
  if (Registration.Full()) {
    SetStatus(form4text::BufferFull);
    return;
  }
  ++Lesson.ProblemMoveNumber;
  Position.Board[p] = static_cast<int16_t>(colour);
  DrawProblemStone(Lesson.ProblemMoveNumber, colour, p, mode);
  Lesson.ProblemLastColour = colour;
  Registration.Append(colour, p, Lesson.ProblemMoveNumber);
}

void Form4::MarkCandidates() {
  for (int i = 1; i <= CandidateSlots && Lesson.Candidates[i] >= 0; ++i) {
    const AnswerLine& l = answers_.At(Lesson.Candidates[i]);
    const int p = l.Point;
    if (p < 1 || p > ProblemPoints || Position.Board[p] != 0 || !IsAnswerColour(l.SignedColour)) continue;
    SetCaption(p, form4text::Mark, true);
    Cells.SetForeColor(p, l.SignedColour > 0 ? ColourGreen : ColourRed);
  }
  PlayCue(0);
  SetStatus(form4text::ChooseMark);
}

}  // namespace sol
