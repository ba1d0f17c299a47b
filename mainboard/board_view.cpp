// The main board's cells and prisoner labels drawn from the game state.
#include "core/capture.h"
#include "core/messages.h"
#include "core/replay.h"
#include "core/text.h"
#include "mainboard/form2.h"

namespace sol {

void Form2::ShowPrisoners() {
  Label5.SetCaption(Num(s_.CapturedBlack));
  Label3.SetCaption(Num(s_.CapturedWhite));
}

void Form2::ShowPlacement(int point, int colour, int number, const Placement& placed) {
  Cells.SetForeColor(point, NumberColourOn(colour));
  Cells.SetPicture(point, static_cast<int16_t>(colour));
  Cells.SetCaption(point, StoneCaption(s_, number));
  if (placed.PreviousNewest > 0) Cells.SetCaption(placed.PreviousNewest, u" ");
  for (int i = 0; i < placed.Captured.Count; ++i) {
    Cells.SetPicture(placed.Captured.Points[i], PictureNone);
    Cells.SetCaption(placed.Captured.Points[i], u" ");
  }
  ShowPrisoners();
}

void Form2::ShowPosition(const Str& newestCaption) {
  for (int p = 1; p <= PointCount; ++p) {
    const int16_t colour = s_.Board[p];
    if (colour == Black || colour == White) {
      Cells.SetForeColor(p, NumberColourOn(colour));
      Cells.SetPicture(p, colour);
    } else {
      Cells.SetPicture(p, PictureNone);
    }
    Cells.SetCaption(p, p == s_.LastPoint ? newestCaption : Str(u" "));
  }
  ShowPrisoners();
}

void Form2::ShowCleared() {
  ShowPosition(u" ");
  SetStatus(msg::TwoBlanks);
}

void Form2::ShowReset() {
  ShowPosition(u" ");
  Option1.SetValue(true);
  SetStatus(msg::TwoBlanks);
}

void Form2::ShowReplay(const Replayed& shown) {
  ShowPosition(shown.NewestCaption);
  SetStatus(shown.Status);
}

}  // namespace sol
