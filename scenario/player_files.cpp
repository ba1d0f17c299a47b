// Files beyond the data files: those the player opens, saves and drops, the
// program's command line, and the file dialogs that choose them.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/charset.h"
#include "scenario/commands.h"
#include "scenario/session.h"

namespace sol {

namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Line breaks of any system compare as \n.
std::string UnifyLineBreaks(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return out;
}

// The file's text, or a failure saying why there is none to compare.
std::string FileText(Session& s, const std::string& name, std::string& path) {
  path = s.ResolvePath(name);
  std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes || fs::is_directory(path)) throw Failure("no file " + path);
  if (!IsValidUtf8(*bytes)) throw Failure(path + " is not UTF-8 text (" + std::to_string(bytes->size()) + " bytes)");
  return UnifyLineBreaks(*bytes);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (text.empty() || text.back() == '\n') lines.emplace_back();
  return lines;
}

// The first character of `utf8` that `charset` cannot hold.
std::string FirstUnencodable(const std::string& utf8, const std::string& charset) {
  for (size_t i = 0; i < utf8.size();) {
    size_t n = 1;
    while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
    const std::string c = utf8.substr(i, n);
    if (!ConvertFromUtf8(c, charset)) return c;
    i += n;
  }
  return {};
}

}  // namespace

void CmdArgument(Session& s, const Words& w) { s.AddArgument(w[1]); }

void CmdFile(Session& s, const Words& w) {
  std::string encoding;
  bool bom = false;
  for (size_t i = 3; i < w.size(); ++i) {
    if (w[i] == "bom" && !bom)
      bom = true;
    else if (encoding.empty() && w[i] != "bom")
      encoding = w[i];
    else
      throw Failure("usage: file \"NAME\" \"text\" [ENCODING] [bom]");
  }
  const std::optional<std::string> charset = CharsetName(encoding.empty() ? "utf-8" : encoding);
  if (!charset) throw Failure("unknown encoding " + encoding);
  if (bom && *charset != "UTF-8") throw Failure("a byte order mark is written only for utf-8, not " + encoding);
  if (!IsValidUtf8(w[2])) throw Failure("the text is not UTF-8");
  std::optional<std::string> bytes = ConvertFromUtf8(w[2], *charset);
  if (!bytes) throw Failure("\"" + FirstUnencodable(w[2], *charset) + "\" cannot be written in " + encoding);
  if (bom) bytes->insert(0, "\xEF\xBB\xBF");

  const fs::path path = s.ResolvePath(w[1]);
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
  out.close();
  if (!out) throw Failure("cannot write " + path.string());
}

void CmdChoose(Session& s, const Words& w) {
  std::vector<std::string> paths;
  if (w[1] == "cancel" && w.size() == 2) {
    s.Outside().choices.push_back({});
    return;
  }
  for (size_t i = 1; i < w.size(); ++i) paths.push_back(s.ResolvePath(w[i]));
  s.Outside().choices.push_back(std::move(paths));
}

void EventDrop(Session& s, Form& f, const Words& w) {
  std::vector<std::string> paths;
  for (size_t i = 2; i < w.size(); ++i) paths.push_back(s.ResolvePath(w[i]));
  f.DropFiles(paths);
}

void ExpectDialog(Session& s, const Words& w) {
  const std::string& kind = w[2];
  if (kind != "open" && kind != "save" && kind != "folder") throw Failure("unknown dialog " + kind);
  std::string expected = "dialog " + kind;
  if (w.size() > 3) expected += " " + Quote(w[3]);
  const std::vector<DialogRecord>& dialogs = s.Outside().dialogs;
  if (s.taken.dialogs >= dialogs.size()) return s.Check(false, expected, "no file dialog");
  const DialogRecord& d = dialogs[s.taken.dialogs++];
  const std::string title = Normal(d.title);
  s.Check(kind == DialogKindName(d.kind) && (w.size() <= 3 || title == w[3]), expected,
          std::string("dialog ") + DialogKindName(d.kind) + " " + Quote(title));
}

void ExpectNoDialog(Session& s, const Words&) {
  const std::vector<DialogRecord>& dialogs = s.Outside().dialogs;
  const size_t left = dialogs.size() - s.taken.dialogs;
  s.Check(left == 0, "no further file dialog",
          left ? std::string("dialog ") + DialogKindName(dialogs[s.taken.dialogs].kind) + " " +
                     Quote(Normal(dialogs[s.taken.dialogs].title)) + " not taken"
               : "");
}

void ExpectFileText(Session& s, const Words& w) {
  std::string path;
  const std::string have = FileText(s, w[2], path);
  if (have == w[3]) return s.Pass();
  // A long file is shown by its first line that differs.
  const std::vector<std::string> want = Lines(w[3]), got = Lines(have);
  size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  auto at = [&](const std::vector<std::string>& v) { return line < v.size() ? Quote(v[line]) : "no line"; };
  s.Fail(path + " line " + std::to_string(line + 1) + ": " + at(want) + " — " + at(got));
}

void ExpectFileHas(Session& s, const Words& w) {
  std::string path;
  const std::string have = FileText(s, w[2], path);
  const std::string shown = have.size() <= 200 ? Quote(have) : std::to_string(have.size()) + " bytes without it";
  s.Check(have.find(w[3]) != std::string::npos, path + " holds " + Quote(w[3]), shown);
}

void ExpectExists(Session& s, const Words& w) {
  const std::string path = s.ResolvePath(w[2]);
  std::error_code error;
  const bool present = fs::exists(path, error);
  const bool want = w[1] == "exists";
  s.Check(present == want, path + (want ? " exists" : " is missing"), present ? "it exists" : "it is missing");
}

}  // namespace sol
