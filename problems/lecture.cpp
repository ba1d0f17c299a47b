// A click on the problem board: marks, Shift take-offs, free placement,
// the lecture's answer checking and the registration's placement.
#include <cstdlib>

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

  if (Cells.CaptionAt(p) == form4text::Mark) {
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
  for (int q = 1; q <= ProblemPoints; ++q) Cells.SetCaption(q, u" ");
  int line = -1;
  for (int i = 1; i <= CandidateSlots; ++i)
    if (Candidates[i] >= 0 && AnswerField(Candidates[i], 4) == p && IsAnswerColour(AnswerField(Candidates[i], 3))) {
      line = Candidates[i];
      break;
    }
  if (line < 0) return;
  ProblemMoveNumber = static_cast<int16_t>(AnswerField(line, 2));
  Position.Board[p] = static_cast<int16_t>(AnswerField(line, 3));
  CurrentRecord = static_cast<int16_t>(line);

  if (button == 2) {
    List2.SetListIndex(line);
    if (CollectCandidates() > 0) MarkCandidates();
    return;
  }
  NumberedPoint = static_cast<int16_t>(p);
  int colour = Position.Board[p];
  DrawProblemStone(ProblemMoveNumber, colour, p, LabelLatestOnly);
  Position.Board[p] = static_cast<int16_t>(colour);
  ReportContinuation();
  if (AnswerField(CurrentRecord + 1, 6) > 0) {
    // The comment replays the sequence from a reset board; the end of the
    // answer still holds.
    const int16_t ended = SequenceEnded;
    SelectComment(
        CommentKey(static_cast<int>(AnswerField(CurrentRecord, 1)), static_cast<int>(AnswerField(CurrentRecord, 5))));
    SequenceEnded = ended;
  }
}

bool Form4::ReportContinuation() {
  int continues = 0, ends = 0;
  CheckContinuation(continues, ends);
  if (continues) {
    SetStatus(form4text::GoOn);
    PlayCue(0);
  } else {
    SetStatus(form4text::SequenceOver);
    PlayCue(EndCue);
    SequenceEnded = 1;
  }
  return ends != 0;
}

void Form4::LectureMove(int p) {
  if (SequenceEnded == 1) {
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
  int found = 0;
  MatchMove(found, ProblemMoveNumber, p);
  int drawn = WrongBranch == 1 ? -colour : colour;
  DrawProblemStone(ProblemMoveNumber, drawn, p, LabelNumbered);
  ProblemLastColour = static_cast<int16_t>(colour);

  if (found) {
    if (ReportContinuation()) {
      // Showing the sequence's comment replays it from a reset board; the
      // player's stones stay on record and the end of the answer holds.
      MoveBufferBackup.fill({});
      for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) MoveBufferBackup[i] = MoveBuffer[i];
      const int16_t count = MoveBufferCount;
      const int16_t ended = SequenceEnded;
      int start = CurrentRecord;
      SequenceStart(start);
      SelectComment(CommentKey(static_cast<int>(AnswerField(start, 1)), static_cast<int>(AnswerField(start, 5))));
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
      Cells.SetCaption(q, u" ");
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
  } else if (CurrentRecord + 1 < List2.ListCount()) {
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

void Form4::MatchMove(int& found, int n, int p) {
  found = 0;
  WrongBranch = 0;
  if (n == 1) {
    for (int i = 0; i < List2.ListCount(); ++i)
      if (AnswerField(i, 2) == 1 && AnswerField(i, 4) == p) {
        CurrentRecord = static_cast<int16_t>(i);
        found = 1;
        // A wrong line is shown as wrong however its first move was found.
        WrongBranch = AnswerField(i, 3) < 0 ? 1 : 0;
        return;
      }
    return;
  }
  const int next = CurrentRecord + 1;
  if (AnswerField(next, 2) == n && AnswerField(next, 4) == p) {
    ++CurrentRecord;
    found = 1;
    WrongBranch = AnswerField(next, 3) < 0 ? 1 : 0;
    return;
  }
  if (CollectCandidates() == 0) return;
  for (int i = 1; i <= CandidateSlots && Candidates[i] >= 0; ++i) {
    const int line = Candidates[i];
    if (AnswerField(line, 2) == n && AnswerField(line, 4) == p) {
      CurrentRecord = static_cast<int16_t>(line);
      found = 1;
      WrongBranch = AnswerField(line, 3) < 0 ? 1 : 0;
      return;
    }
  }
}

void Form4::CheckContinuation(int& continues, int& endsSequence) {
  continues = 0;
  endsSequence = 0;
  const int count = List2.ListCount();
  if (CurrentRecord >= count - 1) {
    endsSequence = 1;
    return;
  }
  if (AnswerField(CurrentRecord + 1, 6) == 0) {
    continues = 1;
    return;
  }
  endsSequence = 1;
  const long r = AnswerField(CurrentRecord, 5);
  for (int i = std::max<int>(CurrentRecord, 0); i < count; ++i)
    if (AnswerField(i, 6) == r) {
      continues = 1;
      return;
    }
}

int Form4::CollectCandidates() {
  for (int i = 1; i <= CandidateSlots; ++i) Candidates[i] = -1;
  int count = 0;
  if (AnswerField(CurrentRecord + 1, 6) <= 0) return 0;
  const long key = CurrentRecord == -1 ? StartsAtProblem : AnswerField(CurrentRecord, 5);
  // A position offers at most ten sequences; any further ones are not offered.
  for (int i = 0; i < List2.ListCount() && count < CandidateSlots; ++i)
    if (AnswerField(i, 6) == key) Candidates[++count] = static_cast<int16_t>(i);
  return count;
}

void Form4::MarkCandidates() {
  for (int i = 1; i <= CandidateSlots && Candidates[i] >= 0; ++i) {
    const int line = Candidates[i];
    const int p = static_cast<int>(AnswerField(line, 4));
    if (p < 1 || p > ProblemPoints || Position.Board[p] != 0 || !IsAnswerColour(AnswerField(line, 3))) continue;
    Cells.SetCaption(p, form4text::Mark);
    Cells.SetForeColor(p, AnswerField(line, 3) > 0 ? ColourGreen : ColourRed);
  }
  PlayCue(0);
  SetStatus(form4text::ChooseMark);
}

}  // namespace sol
