// The four commands of the library window: 記録, 読込み, 更新 and 削除.
//
// Each writing command stores both files in one transaction, so that a
// failure half-way leaves neither a listed game without moves nor, once the
// player tries again, its moves appended twice, nor moves that no listed game
// owns, which a later game recorded under the same number would take over.
#include <algorithm>

#include "core/cp932.h"
#include "core/input_check.h"
#include "core/messages.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "core/text.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/texts.h"

namespace sol {

namespace {

bool InGameRange(int n) { return n >= 1 && n <= MaxGameNumber; }

}  // namespace

std::optional<Str> Form3::TypedLine() {
  Platform& p = GetPlatform();
  const Str typed = Text1.Text();
  const int n = LineGameNumber(typed);
  if (!InGameRange(n)) {
    const bool blank = !typed.empty() && (typed[0] == u' ' || typed[0] == u'　');
    p.MsgBox(blank ? form3text::LeadingBlank : form3text::NumberRange, Buttons::OK, Icon::Information,
             form3text::InputError);
    return std::nullopt;
  }
  const std::optional<Str> text = CheckedInput(p, typed);
  if (!text) return std::nullopt;
  // "7：一桁" is game 7 with "：一桁" after its number: the file keeps the
  // line from its third character on.
  const bool twoDigits = text->size() >= 2 && (*text)[1] >= u'0' && (*text)[1] <= u'9';
  const Str line = Right(Num(n + 100), 2) + Mid(*text, twoDigits ? 3 : 2);
  if (Len(line) + DateSuffixLength > 2 + TitleChars) {
    p.MsgBox(form3text::TitleTooLong, Buttons::OK, Icon::Information, form3text::InputError);
    return std::nullopt;
  }
  return line;
}

bool Form3::RefuseReadOnly() {
  if (!ReadOnly()) return false;
  NoticeNotWritable();
  return true;
}

FileCommand Form3::RunFileCommand(const std::function<void()>& command) {
  return sol::RunFileCommand(
      s_, {MainStatus, &StatusBar1},
      [&command] {
        command();
        return true;
      },
      [this] { CountStoredMoves(s_); });
}

void Form3::Command1_Click() {
  const std::optional<Str> typed = TypedLine();
  if (!typed) return;
  const Str text = *typed;
  const int n = LineGameNumber(text);
  for (int i = 0; i < std::min(List1.ListCount(), MaxGameNumber); ++i) {
    if (LineGameNumber(List1.List(i)) == n) {
      GetPlatform().MsgBox(form3text::NumberTaken, Buttons::OK, Icon::Information, form3text::InputError);
      return;
    }
  }
  if (RefuseReadOnly()) return;
  if (s_.MoveList[1].Colour == 0) {
    GetPlatform().MsgBox(form3text::NoStones, Buttons::OK, Icon::Information, form3text::Confirm);
    return;
  }
  const Str line = text + DateSuffix();
  if (RunFileCommand([&] {
        WriteGameListEntry(s_, line, 1);
        AppendGameMoves(s_, n);
      }) != FileCommand::Done)
    return;
  List1.AddItem(line);
  Cue();
  StatusBar1.SetText(form3text::Recorded);
}

void Form3::Command2_Click() {
  const int index = List1.ListIndex();
  if (index < 0) {
    GetPlatform().MsgBox(form3text::SelectFirst, Buttons::OK, Icon::Information, form3text::OrderError);
    return;
  }
  s_.LastReadIndex = static_cast<int16_t>(index);
  ResetGame(s_);
  if (ShowMainReset) ShowMainReset();
  s_.GameTitle = Mid(Text1.Text(), 4);
  const int n = LineGameNumber(List1.List(index));
  std::optional<int> count;
  try {
    count = ReadGameMoves(s_, n, ReadUntil::EndOfFile);
  } catch (const FileError& e) {
    StatusBar1.SetText(FileErrorText(e));
    return;
  }
  if (!count) {
    // No game played here gets that long, so the file is damaged or was
    // written elsewhere; "no file" would send the player looking for a file
    // that is there.
    StatusBar1.SetText(form3text::GameTooLong);
    return;
  }
  const Replayed shown = ReplayMoves(s_, *count);
  if (ShowMainReplay) ShowMainReplay(shown);
  if (MainSlider) MainSlider->SetValue(*count);
  Unload();
}

void Form3::Command5_Click() {
  const int index = List1.ListIndex();
  if (index < 0) {
    GetPlatform().MsgBox(form3text::SelectToUpdate, Buttons::OK, Icon::Information, form3text::OrderError);
    return;
  }
  // The number comes from the input field, which may say anything; list
  // records outside the games' range hold other data.
  const std::optional<Str> typed = TypedLine();
  if (!typed) return;
  const Str text = *typed;
  const int n = LineGameNumber(text);
  // Another number would store the board's game as a second game, or over
  // one the player never chose, while the chosen one stayed as it was.
  const int selected = LineGameNumber(List1.List(index));
  if (n != selected) {
    GetPlatform().MsgBox(form3text::NumberChanged(n, selected), Buttons::OK, Icon::Information, form3text::InputError);
    return;
  }
  if (RefuseReadOnly()) return;
  const Str line = text + DateSuffix();
  if (RunFileCommand([&] {
        ReplaceGameMoves(s_, n);
        WriteGameListEntry(s_, line, 1);
      }) != FileCommand::Done)
    return;
  List1.SetList(index, StoredListLine(line));
  StatusBar1.SetText(form3text::Updated);
  Cue();
}

void Form3::Command3_Click() {
  const int index = List1.ListIndex();
  if (index < 0) {
    GetPlatform().MsgBox(form3text::SelectFirst, Buttons::OK, Icon::Information, form3text::OrderError);
    return;
  }
  if (RefuseReadOnly()) return;
  const Str line = List1.List(index);
  if (GetPlatform().MsgBox(Trim(line) + form3text::DeleteQuestion, Buttons::OKCancel, Icon::Question,
                           form3text::Confirm) != Answer::OK)
    return;
  if (RunFileCommand([&] {
        DeleteGameMoves(s_, LineGameNumber(line));
        WriteGameListEntry(s_, line, 2);
      }) != FileCommand::Done)
    return;
  List1.RemoveItem(index);
  Cue();
  StatusBar1.SetText(form3text::Deleted);
}

}  // namespace sol
