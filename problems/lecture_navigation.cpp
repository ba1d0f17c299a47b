// Moving along the registered answer without placing stones: the next
// move, the whole answer, a take-back and a whole sequence back.
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command1_Click() {
  if (ProblemPlayMode != 1) {
    SetStatus(form4text::ChooseLectureMode);
    return;
  }
  if (SequenceEnded == 1) return;
  if (List1.ListIndex() < 0) {
    SetStatus(form4text::ChooseProblemFirst);
    return;
  }
  const int n = CollectCandidates();
  if (n > 1) {
    MarkCandidates();
    return;
  }
  if (n == 1) CurrentRecord = static_cast<int16_t>(Candidates[1] - 1);
  if (CurrentRecord + 1 >= List2.ListCount()) return;
  PlayNextRecord();
  PlayCue(0);
  int continues = 0, ends = 0;
  CheckContinuation(continues, ends);
  if (continues) {
    SetStatus(form4text::GoOnShort);
    SequenceEnded = 0;
  } else {
    SetStatus(form4text::SequenceOver);
    PlayCue(1);
    SequenceEnded = 1;
  }
  if (ends) {
    // The comment replays the sequence from a reset board; the end of the
    // answer still holds.
    const int16_t ended = SequenceEnded;
    int start = CurrentRecord;
    SequenceStart(start);
    SelectComment(CommentKey(static_cast<int>(AnswerField(start, 1)), static_cast<int>(AnswerField(start, 5))));
    SequenceEnded = ended;
  }
}

void Form4::Command2_Click() {
  if (List1.ListIndex() < 0) {
    SetStatus(form4text::ChooseProblemFirst);
    return;
  }
  bool played = false;
  Str key;
  // Each round plays one line; the answer list bounds the rounds.
  for (int round = 0; round <= List2.ListCount() + 1; ++round) {
    const long k = AnswerField(CurrentRecord + 1, 6);
    if (k >= 1) key = CommentKey(static_cast<int>(AnswerField(CurrentRecord + 1, 1)),
                                 static_cast<int>(AnswerField(CurrentRecord + 1, 5)));
    if (k >= 1 && k != StartsAtProblem) {
      if (CollectCandidates() > 0) MarkCandidates();
      return;
    }
    if (k == StartsAtProblem && played) return;
    if (k < 0) break;
    played = true;
    ++CurrentRecord;
    const int n = static_cast<int>(AnswerField(CurrentRecord, 2));
    if (n == 0) break;
    int colour = static_cast<int>(AnswerField(CurrentRecord, 3));
    const int point = static_cast<int>(AnswerField(CurrentRecord, 4));
    if (point >= 1 && point <= ProblemPoints && colour != 0 && std::abs(colour) <= 2) {
      Position.Board[point] = static_cast<int16_t>(std::abs(colour));
      DrawProblemStone(n, colour, point, LabelNumbered);
    }
    ProblemMoveNumber = static_cast<int16_t>(n);
    int continues = 0, ends = 0;
    CheckContinuation(continues, ends);
    if (!continues) break;
  }
  SelectComment(key);
  CurrentRecord = -1;
  PlayCue(0);
}

void Form4::Command3_Click() {
  const bool lecture = s_.LessonMode % 2 == 1 && ProblemPlayMode == 1;
  // What the status said was about the position taken back (the end of the
  // answer, the marks); free placement keeps its instructions.
  if (lecture && (MoveBufferCount > 0 || CurrentRecord != -1)) SetStatus(msg::OneBlank);
  // Is the newest clicked stone the answer move the lecture stands at?
  const bool onAnswer = lecture && MoveBufferCount > 0 &&
                        CurrentRecord >= 0 && MoveBuffer[MoveBufferCount].Point == AnswerField(CurrentRecord, 4) &&
                        MoveBuffer[MoveBufferCount].MoveNo == AnswerField(CurrentRecord, 2);
  if (onAnswer && List2.ListIndex() >= 0) {
    // A comment has shown the whole sequence: redrawing the clicked stones
    // over it would leave the stone taken back on the board, so the stone
    // goes back along the answer.
    TakeBackLectureMove();
    MoveBuffer[MoveBufferCount] = {};
    --MoveBufferCount;
    SequenceEnded = 0;
  } else if (MoveBufferCount > 0) {
    const int16_t record = CurrentRecord;
    TakeBackFreeMove();
    // The lecture goes on from the stone before the one taken back.
    if (onAnswer) {
      CurrentRecord = record;
      StepBackRecord();
    }
    SequenceEnded = 0;
  } else if (CurrentRecord != -1) {
    TakeBackLectureMove();
    SequenceEnded = 0;
  }
}

void Form4::TakeBackFreeMove() {
  for (int p = 1; p <= ProblemPoints; ++p) {
    Cells.SetPicture(p, PictureNone);
    Cells.SetCaption(p, u" ");
    Position.Board[p] = 0;
  }
  // The redraw counts captures again; start from none.
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  NumberedPoint = 0;
  const bool problemSelected = List1.ListIndex() >= 0;
  if (problemSelected) LoadSetupStones(SelectedProblem());
  int lastColour = 0;
  if (List2.ListIndex() >= 0) {
    const int16_t before = ProblemLastColour;
    ProblemLastColour = 0;
    ReplayAnswerPath(List2.ListIndex(), 0, LabelPlain);
    lastColour = ProblemLastColour;
    ProblemLastColour = before;
  }
  MoveBuffer[MoveBufferCount] = {};
  --MoveBufferCount;
  // A lecture stone that started a wrong line was drawn red and stays so.
  std::vector<std::pair<long, long>> wrongStarts;
  if (s_.LessonMode % 2 == 1)
    for (int i = 0; i < List2.ListCount(); ++i)
      if (AnswerField(i, 3) < 0 && AnswerField(i, 6) > 0) wrongStarts.emplace_back(AnswerField(i, 2), AnswerField(i, 4));
  for (int i = 1; i <= MoveBufferCount; ++i) {
    const BufferEntry e = MoveBuffer[i];
    if (e.Point < 1 || e.Point > ProblemPoints) continue;
    int colour = e.Colour;
    if (std::find(wrongStarts.begin(), wrongStarts.end(), std::pair<long, long>(e.MoveNo, e.Point)) != wrongStarts.end())
      colour = -colour;
    Position.Board[e.Point] = e.Colour;
    DrawProblemStone(e.MoveNo, colour, e.Point, problemSelected ? LabelNumbered : LabelPlain);
    ProblemMoveNumber = e.MoveNo;
    lastColour = colour;
  }
  ProblemLastColour = static_cast<int16_t>(lastColour);
}

void Form4::Command15_Click() {
  int i = s_.LessonMode % 2 == 1 ? CurrentRecord : List2.ListIndex();
  const int s = SequenceStart(i);
  const long k = AnswerField(s, 6);
  if (k == StartsAtProblem) {
    const int line = List1.ListIndex();
    if (line < 0) return;
    List1.SetListIndex(-1);
    List1.SetListIndex(line);
    return;
  }
  int parent = -1;
  FindRecordLine(static_cast<int>(k), parent);
  if (parent < 0) return;
  const int s2 = SequenceStart(parent);
  if (s_.LessonMode % 2 == 1) List2.SetListIndex(-1);
  List2.SetListIndex(s2);
}

}  // namespace sol
