// Sub-categories: moving a problem into another one, renaming them, and
// clearing the window.
#include "core/file_system.h"
#include "core/file_transaction.h"
#include "core/input_check.h"
#include "core/messages.h"
#include "core/cp932.h"
#include "core/record_file.h"
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
  const int next = NextFreeNumber(SubCategoryBase);
  if (next >= SubCategoryBase + 1000) {
    p.MsgBox(form4text::SubCategoryFull, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
    return;
  }
  const Str saved = Left(PadRight(List1.List(selected), 30), 30);
  const int old = ProblemNumberAt(selected);
  // Renumbered in the four files and retitled in the list, all together.
  FileTransaction change(s_.DataDir, s_.TempFile, [this] { FindBlockEnds(s_, s_.CategoryNo); });
  try {
    if (!RenumberProblemRecords(s_, s_.CategoryNo, static_cast<int16_t>(old), static_cast<int16_t>(next))) {
      p.MsgBox(form4text::NumberInUse, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
      return;
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
    return;
  }
  RemoveProblemLine(selected);
  const int added = AddProblemLine(next, Num(next) + Mid(saved, 5, 26));
  // The moved problem keeps the first 26 characters of its title.
  const bool listed = RewriteProblemList();
  if (!listed || !change.Commit()) {
    if (listed) SetStatus(msg::NoFile);
    change.Cancel();
    LoadProblemList();
    return;
  }
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
  FileTransaction change(s_.DataDir, s_.TempFile);
  try {
    std::string content = ReadWholeFile(s_.GameListFile);
    const size_t offset = static_cast<size_t>(s_.CategoryNo) * GameListRecordLength;
    if (content.size() < offset + GameListRecordLength) content.resize(offset + GameListRecordLength, '\0');
    std::string record(GameListRecordLength, '\0');
    PutInt16(record, 0, 0);
    record.replace(2, GameListRecordLength - 2, EncodeFixed(s, GameListRecordLength - 2));
    content.replace(offset, GameListRecordLength, record);
    ReplaceFile(s_.GameListFile, s_.TempFile, content);
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
    return;
  }
  if (!change.Commit()) {
    SetStatus(msg::NoFile);
    return;
  }
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
