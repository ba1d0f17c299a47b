// The end of the game: dead stones, filling stones and the territory count.
#include "core/capture.h"
#include "core/text.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"

namespace sol {

void Form2::EndModeDead(int p, int button) {
  if (button == ButtonLeft) {
    if (s_.Board[p] < 1) return;
    Cells.SetPicture(p, PictureNone);
    Cells.SetCaption(p, u" ");
    if (s_.Board[p] == Black) {
      ++s_.CapturedBlack;
      s_.LastColour = Black;
    } else {
      ++s_.CapturedWhite;
      s_.LastColour = White;
    }
    ShowPrisoners();
    s_.Board[p] = 0;
    return;
  }
  if (s_.Board[p] != 0 || s_.LastColour == 0) return;
  Cells.SetPicture(p, s_.LastColour);
  Cells.SetCaption(p, u" ");
  if (s_.LastColour == Black)
    --s_.CapturedBlack;
  else
    --s_.CapturedWhite;
  ShowPrisoners();
  s_.Board[p] = s_.LastColour;
}

void Form2::EndModeFill(int p, int button) {
  if (button == ButtonLeft) {
    if (s_.Board[p] != 0) return;
    if (s_.LastColour == Black) {
      Cells.SetPicture(p, PictureBlack);
      s_.LastColour = White;
    } else {
      Cells.SetPicture(p, PictureWhite);
      s_.LastColour = Black;
    }
    Cells.SetCaption(p, u" ");
    // Filling stones count as 1 whatever colour they are drawn in.
    s_.Board[p] = 1;
    return;
  }
  if (s_.Board[p] != 1) return;
  Cells.SetPicture(p, PictureNone);
  Cells.SetCaption(p, u" ");
  s_.Board[p] = 0;
}

namespace {

Str TerritoryResult(int blackTerritory, int whiteTerritory, int capturedBlack, int capturedWhite) {
  const long b = blackTerritory - capturedBlack;
  const long w = whiteTerritory - capturedWhite;
  const long d = b - w;
  Str text = u"黒" + Num(b) + u"目  白" + Num(w);
  if (d > 0) return text + u"目   盤面　黒" + Num(d) + u"目勝ち";
  if (d == 0) return text + u"目   盤面　持碁";
  return text + u"目   盤面　白" + Num(-d) + u"目勝ち";
}

}  // namespace

void Form2::MenuCount() {
  Platform& p = GetPlatform();
  if (s_.BoardMode != EndMode) {
    p.MsgBox(form2text::ModeError, Buttons::OK, Icon::Information, form2text::ModeErrorTitle);
    return;
  }
  if (p.MsgBox(form2text::CountQuestion, Buttons::OKCancel, Icon::Question, form2text::Confirm) != Answer::OK) return;

  int black = 0, white = 0, pending = 0, last = 0;
  for (int column = 0; column < BoardSize; ++column) {
    int run = 0;
    for (int row = 1; row <= BoardSize; ++row) {
      const int v = s_.Board[BoardSize * column + row];
      if (v == Empty) {
        ++run;
      } else if (v == Black || v == White) {
        (v == Black ? black : white) += run + pending;
        run = 0;
        pending = 0;
        last = v;
      }
    }
    if (run > 0) {
      if (last == 0)
        pending += run;
      else
        (last == Black ? black : white) += run;
    }
  }
  SetStatus(TerritoryResult(black, white, s_.CapturedBlack, s_.CapturedWhite));
  MMControl1.Play();
}

}  // namespace sol
