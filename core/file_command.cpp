#include "core/file_command.h"

#include "core/file_transaction.h"
#include "core/messages.h"
#include "core/record_file.h"
#include "core/text.h"

namespace sol {

Str FileErrorText(const FileError& error) {
  if (const auto* damaged = dynamic_cast<const DamagedFile*>(&error)) {
    const std::string& path = damaged->Path;
    return FromUtf8(path.substr(path.find_last_of('/') + 1)) + msg::TooLarge;
  }
  if (dynamic_cast<const NotWritable*>(&error)) return msg::FolderNotWritable;
  return msg::NoFile;
}

FileCommand RunFileCommand(const GameState& s, std::initializer_list<StatusBar*> status,
                           const std::function<bool()>& command, std::function<void()> afterUndo) {
  auto report = [status](const Str& text) {
    for (StatusBar* bar : status)
      if (bar) bar->SetText(text);
  };
  FileTransaction change(s.DataDir, s.TempFile, std::move(afterUndo));
  try {
    if (!command()) {
      change.Cancel();
      return FileCommand::Refused;
    }
  } catch (const FileError& e) {
    change.Cancel();
    report(FileErrorText(e));
    return FileCommand::Failed;
  }
  if (!change.Commit()) {
    report(msg::NoFile);
    return FileCommand::Failed;
  }
  return FileCommand::Done;
}

}  // namespace sol
