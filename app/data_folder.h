// Where the program keeps its data files and where it finds the files it
// ships (help file, cue sounds, starter problems). A portable copy keeps
// both beside its executable; an installed one keeps the data in the user's
// folder and reads the shipped files from the system's share folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/text.h"

namespace sol {

inline const Str DataFolderTitle = u"データの保存先";

struct FolderInputs {
  // The command line after the program name.
  std::vector<std::string> arguments;
  // The folder the program was started in, for a relative --data.
  std::string workingDir;
  // Environment values; empty when unset.
  std::string solnekaHome;
  std::string xdgDataHome;
  std::string home;
  // The executable's folder, and the share folder compiled in (empty in a
  // portable build).
  std::string programDir;
  std::string installedShareDir;
  // Whether a folder holds the shipped files, and whether it may be written.
  std::function<bool(const std::string&)> holdsShippedFiles;
  std::function<bool(const std::string&)> writable;
};

// Where the data folder came from, first choice first.
enum class DataOrigin { Option, Environment, ProgramFolder, UserFolder };

struct FolderChoice {
  std::string dataDir;
  std::string shareDir;
  DataOrigin origin = DataOrigin::UserFolder;
  // The arguments left once the program's own options are taken out: the
  // SGF files to open.
  std::vector<std::string> files;
  // --self-check: report the folders and the shipped files found, then end.
  bool selfCheck = false;
  // Why the command line or the environment leaves no data folder; empty
  // when dataDir is set.
  Str error;
};

// --data DIR (or --data=DIR) > $SOLNEKA_HOME > the program's own folder
// when it holds the shipped files and may be written > $XDG_DATA_HOME/solneka
// (~/.local/share/solneka). The shipped files come from the program's own
// folder when it holds them, else from the compiled-in share folder.
FolderChoice ChooseFolders(const FolderInputs& in);

// Whether this process can create a file in `dir`: tried with a file that is
// removed again.
bool CanWriteFolder(const std::string& dir);

// Creates `dir` and its parents when missing and checks that it can be
// written. Empty on success, else the message to show.
Str PrepareDataFolder(const std::string& dir, DataOrigin origin);

// After the program started on its folders: the data folder, the shipped
// files found and the problems in the data files, one per line. `ok` tells
// whether everything was there.
std::string DescribeFolders(const GameState& s, bool& ok);

}  // namespace sol
