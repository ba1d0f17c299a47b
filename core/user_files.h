#pragma once

// Files the player names (games opened, saved or exported), wherever they
// are: not data files, so they go through no journal, but a file written is
// still written whole or not at all.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sol {

struct UserFileError : std::runtime_error {
  enum Kind { Missing, TooLarge, Unreadable, Unwritable };
  UserFileError(Kind k, std::string p, const std::string& what)
      : std::runtime_error(what + ": " + p), kind(k), path(std::move(p)) {}
  Kind kind;
  std::string path;
};

// The whole file; UserFileError when it is missing, not a regular file that
// can be read, or larger than maxBytes (which is checked before reading).
std::string ReadUserFile(const std::string& path, std::size_t maxBytes);

// Writes content as the whole file: a scratch file beside it is written and
// synced, then renamed over it, so that a failure leaves the old file as it
// was and no half-written one. UserFileError (Unwritable) on any failure.
void WriteUserFile(const std::string& path, std::string_view content);

// The regular files directly inside `folder` whose names end in `extension`
// (compared without regard to case, e.g. ".sgf"), as paths sorted by name.
// UserFileError (Unreadable, or Missing) when the folder cannot be listed.
std::vector<std::string> ListUserFiles(const std::string& folder, std::string_view extension);

// The file name of a path without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace sol
