// Sub-categories: moving a problem into another one, renaming them, and
// clearing the window.
#include "core/game_list.h"
#include "core/input_check.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command11_Click() {
  Platform& p = GetPlatform();
  const int selected = List1.ListIndex();
  if (selected < 0) {
    p.MsgBox(form4text::ChooseProblemBox, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  const int next = NextFreeProblemNumber(problemNumbers_, Vars.SubCategoryBase);
  if (next >= Vars.SubCategoryBase + 1000) {
    p.MsgBox(form4text::SubCategoryFull, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
    return;
  }
  // The moved problem keeps the first 26 characters of its title.
  const Str title = Left(PadRight(ProblemTitleAt(selected), 26), 26);
  const int old = ProblemNumberAt(selected);
  // Renumbered in the four files and retitled in the list, all together.
  bool relisted = false;
  int added = -1;
  if (RunFileCommand([&] {
        if (!RenumberProblemRecords(s_, s_.CategoryNo, static_cast<int16_t>(old), static_cast<int16_t>(next))) {
          p.MsgBox(form4text::NumberInUse, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
          return false;
        }
        relisted = true;
        RemoveProblemLine(selected);
        added = AddProblemLine(next, Num(next) + title, static_cast<int>(Num(next).size()));
        return RewriteProblemList();
      }) != FileCommand::Done) {
    if (relisted) LoadProblemList();
    return;
  }
  MoveStudyRecords(old, next);
  List1.SetListIndex(added);
  List1.SetTopIndex(added);
  PlayCue(0);
}

void Form4::Command20_Click() {
  Platform& p = GetPlatform();
  const Str typed = Text2.Text();
  if (typed.empty()) return;
  const std::optional<Str> checked = CheckedInput(p, typed);
  if (!checked) return;
  const Str s = *checked;
  if (Len(s) >= 12) return;
  for (int start : {1, 5, 9}) {
    if (Trim(Mid(s, start, 3)).empty()) {
      p.MsgBox(form4text::NameInputError, Buttons::OK, Icon::Information, form4text::Confirm);
      return;
    }
  }
  // A failure reported is a failure: the names are not left stored.
  if (RunFileCommand([&] {
        WriteSubCategoryNames(s_, s_.CategoryNo, s);
        return true;
      }) != FileCommand::Done)
    return;
  Option4.SetCaption(Mid(s, 1, 3));
  Option5.SetCaption(Mid(s, 5, 3));
  Option6.SetCaption(Mid(s, 9, 3));
}

void Form4::Command12_Click() {
  ResetProblemBoard();
  List1.SetListIndex(-1);
  ShowAnswers({});
  ClearCommentLines();
  PlayCue(0);
}

}  // namespace sol
