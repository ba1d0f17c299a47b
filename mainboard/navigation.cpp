// Stepping through the game and the saved position of a variation study.
#include "core/capture.h"
#include "core/messages.h"
#include "core/replay.h"
#include "core/text.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"

namespace sol {

void Form2::Command1_Click() {
  if (thinking_) return;
  SetStatus(msg::IdeographicSpace);
  if (s_.MoveCount == 0 || s_.MoveNumber == 0) {
    SetStatus(form2text::CannotGoBack);
    return;
  }
  if (EngineGameActive()) {
    TakeBackWithEngine();
    return;
  }
  TakeBackOne();
}

void Form2::TakeBackOne() {
  ClearHint();
  for (int i = 1; i <= CaptureLogSize; ++i) {
    CaptureEntry& e = s_.CaptureLog[i];
    if (e.AtMove != s_.MoveCount || e.AtMove == 0) continue;
    if (e.Point >= 1 && e.Point <= PointCount) {
      s_.Board[e.Point] = e.Colour;
      Cells.SetPicture(e.Point, e.Colour);
      Cells.SetCaption(e.Point, u" ");
    }
    if (e.Colour == Black)
      --s_.CapturedBlack;
    else
      --s_.CapturedWhite;
    e = CaptureEntry{};
    --s_.CaptureLogCount;
  }
  ShowPrisoners();

  const MoveEntry& gone = s_.MoveList[s_.MoveCount];
  if (gone.Point >= 1 && gone.Point <= PointCount) {
    Cells.SetPicture(gone.Point, PictureNone);
    Cells.SetCaption(gone.Point, u" ");
    s_.Board[gone.Point] = 0;
  }
  --s_.MoveNumber;
  --s_.MoveCount;

  if (s_.MoveCount == 0) {
    s_.LastPoint = 0;
    s_.LastColour = 0;
    return;
  }
  const MoveEntry& newest = s_.MoveList[s_.MoveCount];
  Cells.SetForeColor(newest.Point, NumberColourOn(newest.Colour));
  Cells.SetCaption(newest.Point, s_.MoveNumber < 1 ? Str(u" ") : Num(s_.MoveNumber));
  s_.LastPoint = newest.Point;
  s_.LastColour = newest.Colour;
}

void Form2::Command4_Click() {
  if (thinking_) return;
  if (s_.VariationStudy == 1) return;
  SetStatus(msg::IdeographicSpace);
  if (s_.MoveCount >= MaxMoves || s_.MoveList[s_.MoveCount + 1].Number == 0) {
    SetStatus(form2text::CannotGoForward);
    return;
  }
  if (s_.MoveCount > 0) Cells.SetCaption(s_.MoveList[s_.MoveCount].Point, u" ");
  ++s_.MoveNumber;
  ++s_.MoveCount;
  const MoveEntry& e = s_.MoveList[s_.MoveCount];
  if (e.Point < 1 || e.Point > PointCount || (e.Colour != Black && e.Colour != White)) return;
  s_.Board[e.Point] = e.Colour;
  ShowPlacement(e.Point, e.Colour, s_.MoveNumber, PlaceStone(s_, e.Point, e.Colour, s_.MoveNumber));
}

void Form2::Command2_Click() {
  if (thinking_) return;
  ShowReplay(ReplayMoves(s_, 1));
}

void Form2::Command6_Click() {
  if (thinking_) return;
  ShowReplay(ReplayMoves(s_, MoveListLength(s_)));
}

void Form2::Slider1_MouseUp() {
  // While an engine thinks the game stays where it is.
  if (thinking_) {
    Slider1.SetValue(s_.MoveNumber);
    return;
  }
  ShowReplay(ReplayMoves(s_, Slider1.Value()));
}

void Form2::Command7_Click() {
  if (thinking_) return;
  SnapshotMoveCount = s_.MoveCount;
  SnapshotList = s_.MoveList;
  if (s_.VariationStudy == 0) {
    SavedMoveNumber = s_.MoveNumber;
    SavedMoveCount = s_.MoveCount;
    BackupList = s_.MoveList;
    s_.VariationStudy = 1;
  }
  s_.MoveNumber = 0;
  if (s_.LastPoint > 0) Cells.SetCaption(s_.LastPoint, u" ");
  SetStatus(form2text::Saved);
}

void Form2::Command8_Click() {
  if (thinking_) return;
  if (s_.VariationStudy == 0) {
    SetStatus(form2text::NotSaved);
    return;
  }
  SetStatus(msg::IdeographicSpace);
  const Answer a = GetPlatform().MsgBox(form2text::RestoreQuestion, Buttons::YesNo, Icon::Question, form2text::Choice);
  if (a == Answer::Yes) {
    s_.MoveList = SnapshotList;
    ShowReplay(ReplayMoves(s_, SnapshotMoveCount));
    s_.MoveNumber = 0;
  } else {
    s_.MoveList = BackupList;
    ShowReplay(ReplayMoves(s_, SavedMoveCount));
    s_.VariationStudy = 0;
    s_.MoveNumber = SavedMoveNumber;
  }
}

void Form2::Command3_Click() {
  if (thinking_) return;
  BackupList = s_.MoveList;
  SavedMoveCount = s_.MoveCount;
  SavedMoveNumber = s_.MoveNumber;
  ResetGame(s_);
  ShowReset();
  GetPlatform().Beep();
}

void Form2::Command9_Click() {
  if (thinking_) return;
  s_.MoveList = BackupList;
  s_.MoveNumber = SavedMoveNumber;
  ShowReplay(ReplayMoves(s_, SavedMoveCount));
}

}  // namespace sol
