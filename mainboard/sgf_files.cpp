// Games from SGF files onto the main board and back out, and the short list
// of files opened lately.
#include <algorithm>

#include "core/file_system.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "core/text.h"
#include "core/user_files.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"
#include "records/sgf_games.h"
#include "sgf/sgf_writer.h"

namespace sol {

namespace {

constexpr const char* FolderKey = "sgf.folder";
std::string RecentKey(int i) { return "recent" + std::to_string(i); }

}  // namespace

std::vector<std::string> Form2::RecentFiles() const {
  std::vector<std::string> files;
  for (int i = 1; i <= RecentFileCount; ++i)
    if (std::optional<std::string> p = s_.Preferences.Get(RecentKey(i)); p && !p->empty()) files.push_back(*p);
  return files;
}

void Form2::RememberFile(const std::string& path, bool keep) {
  std::vector<std::string> files = RecentFiles();
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  if (keep) files.insert(files.begin(), path);
  files.resize(std::min<size_t>(files.size(), RecentFileCount));
  for (int i = 1; i <= RecentFileCount; ++i)
    s_.Preferences.Set(RecentKey(i), i <= static_cast<int>(files.size()) ? files[static_cast<size_t>(i - 1)] : "");
  if (keep) s_.Preferences.Set(FolderKey, DirOf(path));
  // The list is a convenience: a folder this process may not write keeps
  // the list of before, and the file itself was opened or saved all the same.
  if (!ReadOnly()) {
    try {
      s_.Preferences.Save();
    } catch (const FileError&) {
    }
  }
  ShowRecentFiles();
}

void Form2::ShowRecentFiles() {
  const std::vector<std::string> files = RecentFiles();
  for (int i = 1; i <= RecentFileCount; ++i) {
    Menu* m = FindMenu("メニュー最近のファイル" + std::to_string(i));
    if (!m) continue;
    const bool used = i <= static_cast<int>(files.size());
    m->SetVisible(used);
    m->SetCaption(used ? Num(i) + u" " + FromUtf8(FileNameOf(files[static_cast<size_t>(i - 1)])) : Str());
  }
}

void Form2::OpenRecentFile(int i) {
  const std::vector<std::string> files = RecentFiles();
  if (i < 1 || i > static_cast<int>(files.size())) return;
  OpenSgfFile(files[static_cast<size_t>(i - 1)], {});
}

void Form2::MenuSgfOpen() {
  const std::vector<std::string> paths = GetPlatform().ChooseFiles(FileDialog::Open, form2text::SgfOpenTitle, SgfFilter,
                                                                   s_.Preferences.Get(FolderKey).value_or(""));
  if (!paths.empty()) OpenSgfFile(paths.front(), {});
}

void Form2::OpenSgfFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  std::vector<Str> notes;
  if (paths.size() > 1) notes.push_back(form2text::SgfOneFileOnly(static_cast<long>(paths.size())));
  OpenSgfFile(paths.front(), notes);
}

void Form2::OpenSgfFile(const std::string& path, std::vector<Str> notes) {
  LeavePrintLayout();
  Platform& p = GetPlatform();
  SgfFileGames read;
  try {
    read = ReadSgfGames(path);
  } catch (const SgfFileError& e) {
    p.MsgBox(e.Message, Buttons::OK, Icon::Information, form2text::SgfOpenTitle);
    // A file that is gone leaves the list of recent files.
    if (!Files().Exists(path)) RememberFile(path, false);
    return;
  }
  notes.insert(notes.begin(), read.Notes.begin(), read.Notes.end());
  if (read.Games.size() > 1) notes.push_back(form2text::SgfFirstGameOnly(static_cast<long>(read.Games.size())));
  const sgf::ImportedGame& game = read.Games.front();
  if (game.OverLimit && p.MsgBox(form2text::SgfOverLimit(game.TotalEntries), Buttons::YesNo, Icon::Question,
                                 form2text::SgfOpenTitle) != Answer::Yes)
    return;

  // As reading a stored game: the board starts afresh, any study ends, and
  // the game is replayed with its captures up to its last move.
  ResetGame(s_);
  ShowReset();
  const int count = static_cast<int>(std::min<size_t>(game.Entries.size(), MaxMoves));
  std::copy_n(game.Entries.begin(), count, s_.MoveList.begin() + 1);
  const Replayed shown = ReplayMoves(s_, count);
  ShowReplay(shown);
  Slider1.SetValue(count);
  const Str name = FromUtf8(FileNameOf(path));
  s_.GameTitle = StorableTitle(game.Info, FileStem(path), 40);
  SetStatus(form2text::SgfOpened(name, count));
  PlayCue(0);
  RememberFile(path, true);
  if (!notes.empty())
    p.MsgBox(NotesText(form2text::SgfDroppedHeading, notes), Buttons::OK, Icon::Information, form2text::SgfOpenTitle);
}

void Form2::MenuSgfSave() {
  LeavePrintLayout();
  Platform& p = GetPlatform();
  if (s_.MoveCount < 1 || s_.MoveList[1].Colour == 0) {
    p.MsgBox(form2text::SgfNothingToSave, Buttons::OK, Icon::Information, form2text::SgfSaveTitle);
    return;
  }
  const Str title = Trim(s_.GameTitle);
  const Str suggested = SafeFileName(title.empty() ? form2text::SgfDefaultName : title);
  std::string start = s_.Preferences.Get(FolderKey).value_or("");
  if (!start.empty() && start.back() != '/') start += '/';
  const std::vector<std::string> paths =
      p.ChooseFiles(FileDialog::Save, form2text::SgfSaveTitle, SgfFilter, start + ToUtf8(suggested) + ".sgf");
  if (paths.empty()) return;
  const std::string& path = paths.front();
  const int count = std::clamp<int>(s_.MoveCount, 0, MaxMoves);
  const std::string text =
      sgf::WriteGame(std::span<const MoveEntry>(s_.MoveList).subspan(1, static_cast<size_t>(count)), title, {});
  try {
    WriteUserFile(path, text);
  } catch (const UserFileError& e) {
    p.MsgBox(UserFileErrorText(e), Buttons::OK, Icon::Information, form2text::SgfSaveTitle);
    return;
  }
  SetStatus(form2text::SgfSaved(FromUtf8(FileNameOf(path))));
  PlayCue(0);
  RememberFile(path, true);
}

}  // namespace sol
