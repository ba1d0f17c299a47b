// The print layout: the whole game as one numbered figure with its title
// and the moves played where an earlier stone had stood.
#include "core/capture.h"
#include "core/messages.h"
#include "core/replay.h"
#include "core/text.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"

namespace sol {

std::vector<Control*> Form2::NormalLayoutControls() {
  return {&Slider1,  &Frame1,   &Label4,   &Label5,   &Command1, &Command2,
          &Command3, &Command4, &Command6, &Command7, &Command8, &Command9};
}

void Form2::MenuPrintPrepare() {
  // Preparing again from the print layout must not forget the game's own
  // position: the board then shows the figure, not the game.
  if (!InPrintLayout()) {
    PrintReturnCount = s_.MoveCount;
    PrintReturnNumber = s_.MoveNumber;
  }
  for (Control* c : NormalLayoutControls()) c->SetVisible(false);
  Command5.SetVisible(true);
  Label10.SetVisible(true);

  ClearBoard(s_);
  ShowCleared();
  RetakeList.clear();
  std::array<int16_t, PointCount + 1> shown{};
  for (int i = 1; i <= MaxMoves && s_.MoveList[i].Colour != 0; ++i) {
    const MoveEntry& e = s_.MoveList[i];
    if (e.Point < 1 || e.Point > PointCount || (e.Colour != Black && e.Colour != White)) continue;
    if (s_.Board[e.Point] != 0) {
      RetakeList.push_back({e.Colour, e.Number, shown[e.Point]});
      continue;
    }
    s_.Board[e.Point] = e.Colour;
    Cells.SetPicture(e.Point, e.Colour);
    Cells.SetForeColor(e.Point, NumberColourOn(e.Colour));
    if (e.Number >= 1) {
      Cells.SetCaption(e.Point, Num(e.Number));
      shown[e.Point] = e.Number;
    }
  }

  PrintTitle =
      GetPlatform().InputBox(form2text::PrintTitlePrompt, form2text::PrintTitleCaption, s_.GameTitle).value_or(Str());
  Str text = u"【タイトル】　" + PrintTitle + u"\r\n\r\n";
  for (size_t k = 1; k <= RetakeList.size(); ++k) {
    const RetakeEntry& r = RetakeList[k - 1];
    text += u" " + Str(r.Colour == Black ? u" ●" : u" ○") + Num(r.Number) + u"(" + Num(r.ShownNumber) + u") ";
    if (k % 2 == 0) text += u"\r\n";
  }
  Label10.SetCaption(text);
  if (CloseLibrary) CloseLibrary();
}

void Form2::Command5_Click() {
  for (Control* c : NormalLayoutControls()) c->SetVisible(true);
  Command5.SetVisible(false);
  Label10.SetVisible(false);
  // The figure leaves MoveCount at 0; anything else means a command run
  // from the layout (a read, a restore) has put a game on the board since,
  // and that game stays.
  if (s_.MoveCount != 0) return;
  // The preparation leaves MoveList as it was, so replaying it rebuilds the
  // position, captures included; the move number is the game's own, which
  // after set-up stones or a study save is not the last entry's number.
  ClearBoard(s_);
  if (PrintReturnCount > 0)
    ShowReplay(ReplayMoves(s_, PrintReturnCount));
  else
    ShowCleared();
  s_.MoveNumber = PrintReturnNumber;
}

void Form2::MenuPrint() {
  Platform& p = GetPlatform();
  if (!InPrintLayout()) {
    p.MsgBox(form2text::PrintPrepareFirst, Buttons::OKCancel, Icon::Information, form2text::PrintOrderTitle);
    return;
  }
  if (p.MsgBox(form2text::PrintQuestion, Buttons::OKCancel, Icon::Question, form2text::Confirm) != Answer::OK) return;
  const Str where = p.PrintWindow(*this, PrintTitle);
  if (!where.empty()) SetStatus(where);
}

}  // namespace sol
