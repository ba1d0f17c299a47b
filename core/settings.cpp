#include "core/settings.h"

#include "core/file_system.h"
#include "core/record_file.h"

namespace sol {

namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r";
  const size_t first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// A key is a plain word; anything else on the left of '=' makes the line one
// to keep but not to read.
bool IsKey(const std::string& k) {
  if (k.empty()) return false;
  for (unsigned char c : k)
    if (!(c == '_' || c == '.' || c == '-' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
          (c >= 'a' && c <= 'z')))
      return false;
  return true;
}

}  // namespace

void Settings::Load(const std::string& path) {
  path_ = path;
  lines_.clear();
  std::string text;
  try {
    if (Files().Exists(path)) text = ReadWholeFile(path);
  } catch (const FileError&) {
    text.clear();
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    Line line;
    line.raw = text.substr(start, end - start);
    if (!line.raw.empty() && line.raw.back() == '\r') line.raw.pop_back();
    const size_t eq = line.raw.find('=');
    const bool comment = !line.raw.empty() && (line.raw[0] == '#' || line.raw[0] == ';');
    if (eq != std::string::npos && !comment && line.raw.find('\0') == std::string::npos) {
      const std::string key = Trim(line.raw.substr(0, eq));
      if (IsKey(key)) {
        line.key = key;
        line.value = Trim(line.raw.substr(eq + 1));
      }
    }
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

std::optional<std::string> Settings::Get(const std::string& key) const {
  if (!IsKey(key)) return std::nullopt;
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
    if (it->key == key) return it->value;
  return std::nullopt;
}

void Settings::Set(const std::string& key, const std::string& value) {
  // A key that would not read back is never written.
  if (!IsKey(key)) return;
  std::string v = value;
  for (char& c : v)
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  v = Trim(v);
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
    if (it->key == key) {
      it->value = v;
      return;
    }
  lines_.push_back({"", key, v});
}

std::string Settings::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.key.empty() ? line.raw : line.key + "=" + line.value;
    text += '\n';
  }
  return text;
}

void Settings::Save() const {
  if (path_.empty()) return;
  ReplaceFile(path_, path_ + ".new", Text());
}

}  // namespace sol
