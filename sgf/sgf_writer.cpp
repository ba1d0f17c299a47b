#include "sgf/sgf_writer.h"

#include <cstdio>
#include <vector>

#ifndef SOLNEKA_VERSION
#error "SOLNEKA_VERSION names the program's version; the build defines it"
#endif

namespace sol::sgf {

std::string_view ProgramVersion() { return SOLNEKA_VERSION; }

std::string PointToSgf(int point) {
  const int x = (point - 1) / BoardSize, y = (point - 1) % BoardSize;
  return {static_cast<char>('a' + x), static_cast<char>('a' + y)};
}

std::string EscapeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    if (c == ']' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

namespace {

const char* SetupId(int colour) { return colour == Black ? "AB" : "AW"; }

// Set-up entries from `i` on as one node's AB and AW, each run of one colour
// in its order; a third run would repeat a property, so it starts the next
// node. Returns the index after the last entry written.
std::size_t WriteSetup(std::string& out, std::span<const MoveEntry> e, std::size_t i) {
  int runs = 0;
  int colour = 0;
  for (; i < e.size() && e[i].Colour != 0 && e[i].Number == 0; ++i) {
    if (e[i].Colour != colour) {
      if (++runs > 2) break;
      colour = e[i].Colour;
      out += SetupId(colour);
    }
    out += '[' + PointToSgf(e[i].Point) + ']';
  }
  return i;
}

bool IsSetup(const MoveEntry& e) { return e.Number == 0; }

}  // namespace

std::string WriteGame(std::span<const MoveEntry> entries, const Str& title, const std::optional<Date>& date,
                      const Str& program, std::string_view version) {
  // Only stones the board can hold are written; a stored game has no others.
  std::vector<MoveEntry> e;
  for (const MoveEntry& entry : entries) {
    if (entry.Colour == 0) break;
    if ((entry.Colour == Black || entry.Colour == White) && entry.Point >= 1 && entry.Point <= PointCount)
      e.push_back(entry);
  }

  std::string out =
      "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[" + EscapeText(ToUtf8(program)) + ":" + EscapeText(std::string(version)) + "]";
  if (!title.empty()) out += "GN[" + EscapeText(ToUtf8(title)) + "]";
  if (date) {
    char dt[32];
    std::snprintf(dt, sizeof dt, "%04d-%02d-%02d", date->year, date->month, date->day);
    out += "DT[" + std::string(dt) + "]";
  }
  std::size_t i = 0;
  if (i < e.size() && IsSetup(e[i])) i = WriteSetup(out, e, i);
  int inLine = 0;
  while (i < e.size()) {
    // A line per ten nodes keeps the file readable in a text editor.
    if (inLine++ % 10 == 0) out += '\n';
    out += ';';
    if (IsSetup(e[i])) {
      i = WriteSetup(out, e, i);
      continue;
    }
    out += (e[i].Colour == Black ? "B[" : "W[") + PointToSgf(e[i].Point) + ']';
    ++i;
  }
  out += ")\n";
  return out;
}

}  // namespace sol::sgf
