// The four commands of the library window: 記録, 読込み, 更新 and 削除.
//
// 記録 stores both files in one transaction, so that a failure half-way
// leaves neither a listed game without moves nor, once the player tries
// again, its moves appended twice. 更新 and 削除 replace one whole file after
// the other, and trying again finishes what a failure interrupted; 削除
// removes the moves first, so that no moves are left that no listed game
// owns, which a later game recorded under the same number would take over.
#include <algorithm>

#include "core/cp932.h"
#include "core/file_transaction.h"
#include "core/messages.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "core/text.h"
#include "core/input_check.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/texts.h"

namespace sol {

namespace {

bool InGameRange(int n) { return n >= 1 && n <= MaxGameNumber; }

}  // namespace

bool Form3::RefuseUnstorable(const Str& text) { return sol::RefuseUnstorable(GetPlatform(), text); }

bool Form3::RefuseReadOnly() {
  if (!ReadOnly()) return false;
  NoticeNotWritable();
  return true;
}

void Form3::ShowFailure() {
  StatusBar1.SetText(s_.Display.Status && !s_.Display.Status->Text().empty() ? s_.Display.Status->Text()
                                                                             : msg::NoFile);
}

void Form3::Command1_Click() {
  const Str text = Text1.Text();
  const int n = LineGameNumber(text);
  if (!InGameRange(n)) {
    GetPlatform().MsgBox(form3text::NumberRange, Buttons::OK, Icon::Information, form3text::InputError);
    return;
  }
  for (int i = 0; i < std::min(List1.ListCount(), MaxGameNumber); ++i) {
    if (LineGameNumber(List1.List(i)) == n) {
      GetPlatform().MsgBox(form3text::NumberTaken, Buttons::OK, Icon::Information, form3text::InputError);
      return;
    }
  }
  if (RefuseUnstorable(text)) return;
  if (RefuseReadOnly()) return;
  if (s_.MoveList[1].Colour == 0) {
    GetPlatform().MsgBox(form3text::NoStones, Buttons::OK, Icon::Information, form3text::Confirm);
    return;
  }
  const Str line = text + DateSuffix();
  FileTransaction change(s_.DataDir, s_.TempFile, [this] {
    RecordFile moves(s_.GameMovesFile, GameMoveRecord::Length);
    s_.GameMovesRecordCount = static_cast<int16_t>(std::min<long>(moves.Count(), MaxRecordNumber));
  });
  if (!WriteGameListEntry(s_, line, 1) || !AppendGameMoves(s_, n)) return ShowFailure();
  if (!change.Commit()) {
    if (s_.Display.Status) s_.Display.Status->SetText(msg::NoFile);
    return ShowFailure();
  }
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
  LastReadIndex = static_cast<int16_t>(index);
  ResetGame(s_);
  s_.GameTitle = Mid(Text1.Text(), 4);
  const int n = LineGameNumber(List1.List(index));
  const std::optional<int> count = ReadGameMoves(s_, n, &StatusBar1, ReadUntil::EndOfFile);
  if (!count) return;
  ReplayMoves(s_, *count);
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
  const Str text = Text1.Text();
  const int n = LineGameNumber(text);
  if (!InGameRange(n)) {
    GetPlatform().MsgBox(form3text::NumberRange, Buttons::OK, Icon::Information, form3text::InputError);
    return;
  }
  if (RefuseUnstorable(text)) return;
  if (RefuseReadOnly()) return;
  if (!ReplaceGameMoves(s_, n)) return ShowFailure();
  const Str line = text + DateSuffix();
  if (!WriteGameListEntry(s_, line, 1)) return ShowFailure();
  List1.SetList(index, line);
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
  if (!DeleteGameMoves(s_, LineGameNumber(line)) || !WriteGameListEntry(s_, line, 2)) return ShowFailure();
  List1.RemoveItem(index);
  Cue();
  StatusBar1.SetText(form3text::Deleted);
}

}  // namespace sol
