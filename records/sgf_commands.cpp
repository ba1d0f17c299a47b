// SGF取込み and SGF書出し: games from SGF files into the library, and stored
// games out to SGF files.
#include <set>

#include "core/file_system.h"
#include "core/record_file.h"
#include "core/text.h"
#include "core/user_files.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/sgf_games.h"
#include "records/texts.h"
#include "sgf/sgf_writer.h"

namespace sol {

namespace {

constexpr const char* FolderKey = "sgf.folder";

}  // namespace

int Form3::FreeGameNumber() const {
  std::set<int> used;
  for (int i = 0; i < List1.ListCount(); ++i) used.insert(LineGameNumber(List1.List(i)));
  for (int n = 1; n <= MaxGameNumber; ++n)
    if (!used.count(n)) return n;
  return 0;
}

void Form3::MenuSgfImport() {
  if (RefuseReadOnly()) return;
  Platform& p = GetPlatform();
  const std::vector<std::string> paths = p.ChooseFiles(FileDialog::OpenMany, form3text::SgfImportTitle, SgfFilter,
                                                       s_.Preferences.Get(FolderKey).value_or(""));
  if (paths.empty()) return;
  std::vector<Str> dropped;
  int taken = 0;
  bool full = false, failed = false;
  for (const std::string& path : paths) {
    if (full || failed) break;
    const Str name = FromUtf8(FileNameOf(path));
    SgfFileGames read;
    try {
      read = ReadSgfGames(path);
    } catch (const SgfFileError& e) {
      dropped.push_back(name + u"：" + e.Message);
      continue;
    }
    for (const Str& note : read.Notes) dropped.push_back(name + u"：" + note);
    for (const sgf::ImportedGame& game : read.Games) {
      const int n = FreeGameNumber();
      if (n == 0) {
        full = true;
        break;
      }
      if (game.OverLimit && p.MsgBox(name + u"\n" + form3text::SgfOverLimit(game.TotalEntries), Buttons::YesNo,
                                     Icon::Question, form3text::SgfImportTitle) != Answer::Yes) {
        dropped.push_back(name + u"：" + form3text::SgfLongGameLeft(game.TotalEntries));
        continue;
      }
      const Str line = LibraryLine(n, game.Info, FileStem(path), GetPlatform().Today());
      // Each game is one change of both files, as 記録 is: a failure leaves
      // the games taken before it and nothing of this one.
      if (RunFileCommand([&] {
            WriteGameListEntry(s_, line, 1);
            AppendGameEntries(s_, n, game.Entries);
          }) != FileCommand::Done) {
        failed = true;
        break;
      }
      List1.AddItem(StoredListLine(line));
      ++taken;
    }
  }
  if (!paths.empty()) s_.Preferences.Set(FolderKey, DirOf(paths.front()));
  Str text = full     ? form3text::SgfLibraryFull(taken)
             : failed ? form3text::SgfImportFailed(taken)
                      : form3text::SgfImported(taken);
  if (!dropped.empty()) text += u"\n\n" + NotesText(form3text::SgfDroppedHeading, dropped);
  if (taken > 0) {
    StatusBar1.SetText(form3text::SgfImported(taken));
    Cue();
  }
  p.MsgBox(text, Buttons::OK, Icon::Information, form3text::SgfImportTitle);
}

bool Form3::ExportGame(const Str& line, const std::string& path) {
  std::optional<std::vector<MoveEntry>> entries;
  try {
    entries = ReadGameEntries(s_, LineGameNumber(line), ReadUntil::EndOfFile);
  } catch (const FileError& e) {
    StatusBar1.SetText(FileErrorText(e));
    return false;
  }
  if (!entries) {
    StatusBar1.SetText(form3text::GameTooLong);
    return false;
  }
  try {
    WriteUserFile(path, sgf::WriteGame(*entries, StoredTitle(line), StoredDate(line)));
  } catch (const UserFileError& e) {
    GetPlatform().MsgBox(UserFileErrorText(e), Buttons::OK, Icon::Information, form3text::SgfExportTitle);
    return false;
  }
  return true;
}

void Form3::MenuSgfExport() {
  Platform& p = GetPlatform();
  if (List1.ListCount() == 0) {
    p.MsgBox(form3text::SgfNothingStored, Buttons::OK, Icon::Information, form3text::SgfExportTitle);
    return;
  }
  std::string start = s_.Preferences.Get(FolderKey).value_or("");
  if (!start.empty() && start.back() != '/') start += '/';
  const int index = List1.ListIndex();
  if (index >= 0) {
    // The game chosen in the list, to a file the player names.
    const Str line = List1.List(index);
    const std::vector<std::string> paths =
        p.ChooseFiles(FileDialog::Save, form3text::SgfExportTitle, SgfFilter, start + ExportFileName(line));
    if (paths.empty() || !ExportGame(line, paths.front())) return;
    StatusBar1.SetText(form3text::SgfExported(1));
    Cue();
    return;
  }
  // No game chosen: every game into a folder, one file each. A file of
  // that name already there is kept; the game gets a name of its own.
  const std::vector<std::string> folders = p.ChooseFiles(FileDialog::Folder, form3text::SgfExportAllTitle, {}, start);
  if (folders.empty()) return;
  const std::string folder = folders.front() + (folders.front().back() == '/' ? "" : "/");
  int written = 0;
  for (int i = 0; i < List1.ListCount(); ++i) {
    const Str line = List1.List(i);
    const std::string name = ExportFileName(line);
    std::string path = folder + name;
    for (int k = 2; Files().Exists(path); ++k)
      path = folder + name.substr(0, name.size() - 4) + " (" + std::to_string(k) + ").sgf";
    if (!ExportGame(line, path)) break;
    ++written;
  }
  StatusBar1.SetText(form3text::SgfExported(written));
  if (written > 0) Cue();
  p.MsgBox(form3text::SgfExportedTo(written, FromUtf8(FileNameOf(folder.substr(0, folder.size() - 1)))), Buttons::OK,
           Icon::Information, form3text::SgfExportTitle);
}

}  // namespace sol
