// 出入計算: the in/out value of an endgame problem, once both runs are played.
#include "core/cues.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command14_Click() {
  Platform& platform = GetPlatform();
  if (Registration.MoveBufferCount == 0) {
    platform.MsgBox(form4text::YosePlayFirst, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  if (Vars.ProblemPlayMode == 1) {
    platform.MsgBox(form4text::YoseChooseFree, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  const int line = List1.ListIndex();
  if (line < 0) return;
  const int first = Registration.MoveBuffer[1].Colour;
  // The problem number comes from the list, not from the line's text: a
  // title that begins with digits must not run into it.
  const std::optional<long> value =
      Yose.AddRun(SelectedProblem(), first, Position.Board, Position.CapturedBlack, Position.CapturedWhite);
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  if (value) {
    List1.SetItemData(line, *value);
    SetStatus(u"出入り　" + Num(List1.ItemData(line)) + u"目です");
    PlayCue(0);
    return;
  }
  List1.SetListIndex(-1);
  List1.SetListIndex(line);
  platform.MsgBox(first == Black ? form4text::YoseNextWhite : form4text::YoseNextBlack, Buttons::OK, Icon::Information,
                  form4text::Confirm);
}

}  // namespace sol
