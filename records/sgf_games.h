// SGF files as the windows take them in and give them out: every game of a
// file read and converted, what was dropped said in the player's words, and
// the library's own title line and file name of a game.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sgf/sgf_files.h"
#include "sgf/sgf_game.h"
#include "ui/controls.h"
#include "ui/platform.h"

namespace sol {

struct SgfFileGames {
  std::vector<sgf::ImportedGame> Games;
  // What was dropped and why, one line each: how the file was read, and
  // each game refused (named by its place in the file when it holds several).
  std::vector<Str> Notes;
};

// Reads and converts every game of the file. SgfFileError when the file is
// missing, unreadable, too large or no SGF, or holds no game to take.
SgfFileGames ReadSgfGames(const std::string& path);

// The title a game gets: its name, or its players, or else `fallback`, made
// storable: line breaks and control characters become blanks, characters
// the stored code page lacks become 〓, and it is cut at a character to
// `maxChars`.
Str StorableTitle(const sgf::GameInfo& info, const Str& fallback, int maxChars);

// The library line of game n: the number as two digits, the title and the
// date suffix, as 記録 stores it; the date is the game's, else `today`.
Str LibraryLine(int n, const sgf::GameInfo& info, const Str& fallback, const Date& today);

// The title and the date of a stored library line, for writing it out.
Str StoredTitle(const Str& line);
std::optional<Date> StoredDate(const Str& line);

// A file name for a stored game: its number and title, with the characters
// file systems refuse replaced, and ".sgf".
std::string ExportFileName(const Str& line);

}  // namespace sol
