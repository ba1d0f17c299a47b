#pragma once

// The program's settings: a UTF-8 text file of `key=value` lines in the data
// folder. Lines the program does not understand (comments, keys of other
// versions, damaged lines) are kept as they are when the file is written
// again, so that nothing a player or another version wrote there is lost.
// The file is replaced whole, as every data file is.

#include <optional>
#include <string>
#include <vector>

namespace sol {

inline constexpr const char* SettingsFileName = "solneka.ini";

class Settings {
 public:
  // Reads `path`, which later writes replace. A missing or unreadable file
  // gives no settings; nothing is written until Save.
  void Load(const std::string& path);
  // Writes every line back with the values set since. FileError when the
  // file cannot be replaced; it is then as it was before.
  void Save() const;

  // The value of the last line with this key.
  std::optional<std::string> Get(const std::string& key) const;
  // Sets the value (line breaks become blanks) in place of the last line
  // with this key, or adds a line at the end. Keys are words of letters,
  // digits and . _ -; any other key is not set.
  void Set(const std::string& key, const std::string& value);

  const std::string& Path() const { return path_; }
  // The file's content as Save writes it.
  std::string Text() const;

 private:
  struct Line {
    std::string raw;  // the line as read, for lines that are not entries
    std::string key;  // empty: not an entry
    std::string value;
  };
  std::string path_;
  std::vector<Line> lines_;
};

}  // namespace sol
