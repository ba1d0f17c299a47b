// Nigiri: the program grabs white stones, the player guesses odd or even.
#include "core/cues.h"
#include "core/messages.h"
#include "core/replay.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"

namespace sol {

namespace {
constexpr int OneBlackPoint = 301;  // column 16, row 16
constexpr int TwoBlackPoint = 320;  // column 17, row 16

// Pair j of the grabbed stones lies in row 4 + j mod 10, from column 4 + 3 (j div 10).
int GrabbedStonePoint(int i) {
  const int j = i / 2;
  const int column = 4 + 3 * (j / 10) + (i % 2);
  const int row = 4 + j % 10;
  return BoardSize * (column - 1) + row;
}
}  // namespace

void Form2::MenuNigiri() {
  Platform& p = GetPlatform();
  int guess = 0;
  for (;;) {
    guess =
        p.MsgBox(form2text::NigiriGuess, Buttons::YesNo, Icon::Question, form2text::NigiriTitle) == Answer::Yes ? 1 : 2;
    Cells.SetPicture(OneBlackPoint, PictureBlack);
    if (guess == 2) Cells.SetPicture(TwoBlackPoint, PictureBlack);
    if (p.MsgBox(form2text::NigiriOpen, Buttons::OKCancel, Icon::Question, form2text::NigiriTitle) == Answer::OK) break;
    Cells.SetPicture(OneBlackPoint, PictureNone);
    Cells.SetPicture(TwoBlackPoint, PictureNone);
  }
  const float r = static_cast<float>(p.Random());
  StoneCount = static_cast<int16_t>(r * 30.0f + 15.0f);
  if (StoneCount < 15 || StoneCount > 44) StoneCount = StoneCount < 15 ? 15 : 44;
  for (int i = 0; i < StoneCount; ++i) Cells.SetPicture(GrabbedStonePoint(i), PictureWhite);
  const int parity = StoneCount % 2 == 1 ? 1 : 2;
  PlayCue(0);
  p.MsgBox(guess == parity ? form2text::BlackFirst : form2text::WhiteFirst, Buttons::OK, Icon::Information,
           form2text::JudgeTitle);
  SetStatus(form2text::Start);
  ResetGame(s_);
  ShowReset();
}

}  // namespace sol
