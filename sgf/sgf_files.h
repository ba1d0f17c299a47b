#pragma once

// SGF files as the windows meet them: a named file read whole and parsed,
// its failures in the player's words, and the names and texts the windows
// make from files and titles.

#include <string>
#include <vector>

#include "core/text.h"
#include "core/user_files.h"
#include "sgf/sgf_tree.h"

namespace sol {

// The files the dialogs offer.
inline const Str SgfFilter = u"SGF棋譜 (*.sgf)";

// A file that cannot be taken at all; the message is for the player.
struct SgfFileError {
  Str Message;
};

// Reads and parses the whole file. SgfFileError when the file is missing,
// unreadable, too large or no SGF.
sgf::Collection ReadSgfCollection(const std::string& path);

// The player's words for a failed read or write of a named file.
Str UserFileErrorText(const UserFileError& e);

// Text made storable in a record: line breaks and control characters become
// blanks and characters the stored code page lacks become 〓, then it is cut
// at a character to `maxChars`.
Str StorableText(const Str& raw, int maxChars);

// `name` with the characters file systems refuse replaced by '_'.
Str SafeFileName(Str name);

// One box's text for what a read left out: the heading, then a line per
// note (the first twelve, and how many more).
Str NotesText(const Str& heading, const std::vector<Str>& notes);

// The file name without folder or ".sgf", as a title.
Str FileStem(const std::string& path);

}  // namespace sol
