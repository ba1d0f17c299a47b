// Adjourning the game on the board as game 01 of the library, and restoring it.
#include "core/file_command.h"
#include "core/messages.h"
#include "core/replay.h"
#include "core/text.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/texts.h"

namespace sol {

namespace {

const Str OverwriteQuestion = u"保存されている棋譜に上書きしてよいですか？";
const Str Adjourned = u"保存しました";
constexpr int AdjournedGame = 1;

}  // namespace

void Form2::MenuSave() {
  if (GetPlatform().MsgBox(OverwriteQuestion, Buttons::OKCancel, Icon::Question, form2text::Confirm) != Answer::OK)
    return;
  const Str date = DateSuffix(GetPlatform().Today());
  Str line = form3text::AdjournedTitle + date;
  if (Library) {
    // The library lines are what the list file holds; an earlier adjourned
    // game keeps its line and gets today's date in place of the old one.
    Library->EnsureLoaded();
    ListBox& list = Library->List1;
    const Str first = list.List(0);
    if (Left(first, 2) == u"01") {
      line = Left(first, 6) + date + Mid(first, 7 + DateSuffixLength);
      list.SetList(0, line);
    } else {
      list.AddItem(line);
    }
  }
  // The title and the moves are stored together, so a failure never leaves
  // game 01 with a new title over old moves, without its moves, or with two
  // copies of them.
  if (RunFileCommand(
          s_, {&StatusBar1},
          [&] {
            WriteGameListEntry(s_, line, 1);
            ReplaceGameMoves(s_, AdjournedGame);
            return true;
          },
          [this] { CountStoredMoves(s_); }) != FileCommand::Done)
    return;
  SetStatus(Adjourned);
  PlayCue(0);
}

void Form2::MenuRestore() {
  ResetGame(s_);
  ShowReset();
  try {
    if (ReadGameMoves(s_, AdjournedGame, ReadUntil::EndMark)) {
      ShowReplay(ReplayMoves(s_, MaxMoves));
    } else {
      SetStatus(form3text::GameTooLong);
    }
  } catch (const FileError& e) {
    SetStatus(FileErrorText(e));
  }
  if (Library) Library->Unload();
}

}  // namespace sol
