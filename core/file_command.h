// Running a command that changes the data files.
//
// Storage code throws FileError and returns "does not fit" as a value; it
// never writes to a window. A writing command runs through RunFileCommand,
// which opens the transaction, runs the command, shows a file error in the
// window's status bar and commits, so that every command fails the same way:
// its files all as before, and the player told why.
#pragma once

#include <functional>
#include <initializer_list>

#include "core/file_system.h"
#include "core/game_state.h"

namespace sol {

// What the status bar says when a file operation fails: the damaged file by
// name, the folder that cannot be written, or "ファイルがありません".
Str FileErrorText(const FileError& error);

enum class FileCommand {
  Done,     // the change is stored
  Refused,  // the command declined (it has told the player why); nothing changed
  Failed,   // a file error; nothing changed and the status bars say so
};

// Runs `command` in one FileTransaction over the data folder of `s`.
// `command` returns false to refuse: what it wrote is put back. A FileError
// it throws, or a commit that fails, puts the files back and shows the
// error's text in every status bar of `status`. `afterUndo` runs once the
// files have been put back, as for FileTransaction.
FileCommand RunFileCommand(const GameState& s, std::initializer_list<StatusBar*> status,
                           const std::function<bool()>& command, std::function<void()> afterUndo = {});

}  // namespace sol
