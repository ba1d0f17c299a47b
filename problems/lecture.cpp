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

bool Form4::AppendToBuffer(int colour, int point, int moveNo) {
  if (MoveBufferCount >= MoveBufferSize) return false;
  ++MoveBufferCount;
  MoveBuffer[MoveBufferCount] = {static_cast<int16_t>(colour), static_cast<int16_t>(point),
                                 static_cast<int16_t>(moveNo)};
  return true;
}

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
  if (ProblemPlayMode == 2) {
    int colour = ButtonColour(button);
    if (colour == 0) return;
    if (s_.LessonMode == 7 && ProblemLastColour == 0) colour = White;
    if (MoveBufferCount >= MoveBufferSize) {
      SetStatus(form4text::BufferFull);
      return;
    }
    ++ProblemMoveNumber;
    Position.Board[p] = static_cast<int16_t>(colour);
    AppendToBuffer(colour, p, ProblemMoveNumber);
    DrawProblemStone(ProblemMoveNumber, colour, p, LabelPlain);
    ProblemLastColour = static_cast<int16_t>(colour);
    return;
  }
  LectureMove(p);
}

void Form4::ClickMark(int button, int p) {
  SetStatus(u" ");
  for (int q = 1; q <= ProblemPoints; ++q) SetCaption(q, u" ");
  int line = -1;
  for (int i = 1; i <= CandidateSlots; ++i)
    if (Candidates[i] >= 0 && answers_.At(Candidates[i]).Point == p &&
        IsAnswerColour(answers_.At(Candidates[i]).SignedColour)) {
      line = Candidates[i];
      break;
    }
  if (line < 0) return;
  ProblemMoveNumber = static_cast<int16_t>(answers_.At(line).MoveIndex);
  Position.Board[p] = static_cast<int16_t>(answers_.At(line).SignedColour);
  CurrentRecord = static_cast<int16_t>(line);

  if (button == 2) {
    List2.SetListIndex(line);
    if (CollectCandidates() > 0) MarkCandidates();
    return;
  }
  NumberedPoint = static_cast<int16_t>(p);
  Position.Board[p] = static_cast<int16_t>(DrawProblemStone(ProblemMoveNumber, Position.Board[p], p, LabelLatestOnly));
  ReportContinuation();
  if (answers_.At(CurrentRecord + 1).Link > 0) {
    // The comment replays the sequence from a reset board; the end of the
    // answer still holds.
    const bool ended = SequenceEnded;
    SelectComment(answers_.At(CurrentRecord).Problem, answers_.At(CurrentRecord).Record);
    SequenceEnded = ended;
  }
}

bool Form4::ReportContinuation() {
  const Continuation c = answers_.ContinuationAt(CurrentRecord);
  if (c.Continues) {
    SetStatus(form4text::GoOn);
    PlayCue(0);
  } else {
    SetStatus(form4text::SequenceOver);
    PlayCue(EndCue);
    SequenceEnded = true;
  }
  return c.EndsSequence;
}

void Form4::LectureMove(int p) {
  if (SequenceEnded) {
    SetStatus(form4text::SequenceOver);
    return;
  }
  if (MoveBufferCount >= MoveBufferSize) {
    SetStatus(form4text::BufferFull);
    return;
  }
  const int colour =
      ProblemLastColour == 0 ? (s_.LessonMode == 7 ? int{White} : int{Black}) : int{Opponent(ProblemLastColour)};
  ++ProblemMoveNumber;
  Position.Board[p] = static_cast<int16_t>(colour);
  AppendToBuffer(colour, p, ProblemMoveNumber);
  const bool found = MatchMove(ProblemMoveNumber, p);
  DrawProblemStone(ProblemMoveNumber, WrongBranch ? -colour : colour, p, LabelNumbered);
  ProblemLastColour = static_cast<int16_t>(colour);

  if (found) {
    if (ReportContinuation()) {
      // Showing the sequence's comment replays it from a reset board; the
      // player's stones stay on record and the end of the answer holds.
      MoveBufferBackup.fill({});
      for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) MoveBufferBackup[i] = MoveBuffer[i];
      const int16_t count = MoveBufferCount;
      const bool ended = SequenceEnded;
      const AnswerLine& head = answers_.At(answers_.SequenceStart(CurrentRecord));
      SelectComment(head.Problem, head.Record);
      MoveBufferCount = count;
      SequenceEnded = ended;
      for (int i = 1; i <= MoveBufferSize && MoveBufferBackup[i].Colour != 0; ++i) MoveBuffer[i] = MoveBufferBackup[i];
    }
    return;
  }

  const Answer a =
      GetPlatform().MsgBox(form4text::NotRegistered, Buttons::YesNoCancel, Icon::Question, form4text::Choice);
  const int16_t accepted = CurrentRecord;
  ++CurrentRecord;
  if (a == Answer::Cancel) {
    ProblemPlayMode = 2;
    Option3.SetValue(true);
    return;
  }
  TakeBackLectureMove();
  if (CurrentRecord != accepted) {
    // Stepping back from the line after the last accepted record reaches
    // that record only when the line continues it or branches from it; when
    // another sequence starts there, the accepted position is drawn again.
    for (int q = 1; q <= ProblemPoints; ++q) {
      Cells.SetPicture(q, PictureNone);
      SetCaption(q, u" ");
      Position.Board[q] = 0;
    }
    const int16_t before = ProblemMoveNumber;
    LoadSetupStones(SelectedProblem());
    Position.CapturedBlack = 0;
    Position.CapturedWhite = 0;
    ProblemLastColour = 0;
    NumberedPoint = 0;
    CurrentRecord = accepted;
    ProblemMoveNumber = before;
    ReplayAnswerPath(CurrentRecord, ProblemMoveNumber, LabelLatestOnly);
  }
  // The rejected stone leaves the record too.
  MoveBuffer[MoveBufferCount] = {};
  --MoveBufferCount;
  if (a == Answer::Yes) {
    ProblemLastColour = Opponent(static_cast<int16_t>(colour));
    return;
  }
  if (CollectCandidates() > 0) {
    MarkCandidates();
  } else if (CurrentRecord + 1 < answers_.Count()) {
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
    colour = ProblemLastColour == 0 ? (s_.LessonMode == 8 ? int{White} : int{Black}) : int{Opponent(ProblemLastColour)};
    mode = LabelNumbered;
  }
  if (MoveBufferCount >= MoveBufferSize) {
    SetStatus(form4text::BufferFull);
    return;
  }
  ++ProblemMoveNumber;
  Position.Board[p] = static_cast<int16_t>(colour);
  DrawProblemStone(ProblemMoveNumber, colour, p, mode);
  ProblemLastColour = static_cast<int16_t>(colour);
  AppendToBuffer(colour, p, ProblemMoveNumber);
}

bool Form4::MatchMove(int n, int p) {
  WrongBranch = false;
  auto take = [this](int line) {
    CurrentRecord = static_cast<int16_t>(line);
    // A wrong line is shown as wrong however its move was found.
    WrongBranch = answers_.At(line).SignedColour < 0;
    return true;
  };
  auto matches = [this, n, p](int line) { return answers_.At(line).MoveIndex == n && answers_.At(line).Point == p; };
  if (n == 1) {
    for (int i = 0; i < answers_.Count(); ++i)
      if (matches(i)) return take(i);
    return false;
  }
  if (matches(CurrentRecord + 1)) return take(CurrentRecord + 1);
  if (CollectCandidates() == 0) return false;
  for (int i = 1; i <= CandidateSlots && Candidates[i] >= 0; ++i)
    if (matches(Candidates[i])) return take(Candidates[i]);
  return false;
}

int Form4::CollectCandidates() {
  for (int i = 1; i <= CandidateSlots; ++i) Candidates[i] = -1;
  const std::vector<int> heads = answers_.Candidates(CurrentRecord);
  for (size_t i = 0; i < heads.size(); ++i) Candidates[i + 1] = static_cast<int16_t>(heads[i]);
  return static_cast<int>(heads.size());
}

void Form4::MarkCandidates() {
  for (int i = 1; i <= CandidateSlots && Candidates[i] >= 0; ++i) {
    const AnswerLine& l = answers_.At(Candidates[i]);
    const int p = l.Point;
    if (p < 1 || p > ProblemPoints || Position.Board[p] != 0 || !IsAnswerColour(l.SignedColour)) continue;
    SetCaption(p, form4text::Mark, true);
    Cells.SetForeColor(p, l.SignedColour > 0 ? ColourGreen : ColourRed);
  }
  PlayCue(0);
  SetStatus(form4text::ChooseMark);
}

}  // namespace sol
