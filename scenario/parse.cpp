#include "scenario/parse.h"

#include <cstdio>
#include <cstdlib>

#include "scenario/runner.h"

namespace sol {

bool SplitScenarioLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= n) break;
    if (line[i] == '#') break;
    std::string w;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        char c = line[i];
        if (c == '\\' && i + 1 < n) {
          char e = line[i + 1];
          w += e == 'n' ? '\n' : e;
          i += 2;
          continue;
        }
        if (c == '"') {
          closed = true;
          ++i;
          break;
        }
        w += c;
        ++i;
      }
      if (!closed) {
        error = "unterminated quoted text";
        return false;
      }
    } else {
      while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w += line[i++];
    }
    words.push_back(w);
  }
  return true;
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\n')
      out += "\\n";
    else if (c == '"')
      out += "\\\"";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out + "\"";
}

std::string Normal(const Str& s) {
  std::string u = ToUtf8(s);
  std::string out;
  for (size_t i = 0; i < u.size(); ++i) {
    if (u[i] == '\r' && i + 1 < u.size() && u[i + 1] == '\n') continue;
    out += u[i];
  }
  return out;
}

bool ParseLong(const std::string& s, long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtol(s.c_str(), &end, 10);
  return *end == '\0';
}

int ParseIndex(const std::string& s) {
  long v = 0;
  if (!ParseLong(s, v)) throw Failure("not a number: " + s);
  return static_cast<int>(v);
}

bool ParseYesNo(const std::string& s) {
  if (s == "yes") return true;
  if (s == "no") return false;
  throw Failure("expected yes or no, not " + s);
}

int ParsePoint(const BoardCells& b, const std::string& w) {
  long p = 0;
  if (!ParseLong(w, p) || !b.Contains(static_cast<int>(p))) throw Failure("not a point of the board: " + w);
  return static_cast<int>(p);
}

std::vector<int> ParsePoints(const BoardCells& b, const std::string& w) {
  const size_t dots = w.find("..");
  if (dots == std::string::npos) return {ParsePoint(b, w)};
  const size_t slash = w.find('/', dots);
  const std::string to = w.substr(dots + 2, slash == std::string::npos ? std::string::npos : slash - dots - 2);
  const int from = ParsePoint(b, w.substr(0, dots));
  const int last = ParsePoint(b, to);
  long step = 1;
  if (slash != std::string::npos && (!ParseLong(w.substr(slash + 1), step) || step < 1))
    throw Failure("bad step in " + w);
  if (from > last) throw Failure("a range runs upwards: " + w);
  std::vector<int> points;
  for (long p = from; p <= last; p += step) points.push_back(static_cast<int>(p));
  return points;
}

const char* StateName(WindowState s) {
  switch (s) {
    case WindowState::Shown:
      return "shown";
    case WindowState::Hidden:
      return "hidden";
    case WindowState::Unloaded:
      return "unloaded";
  }
  return "?";
}

const char* IconName(Icon i) {
  switch (i) {
    case Icon::None:
      return "none";
    case Icon::Information:
      return "information";
    case Icon::Question:
      return "question";
  }
  return "?";
}

std::string ColourName(uint32_t c) {
  switch (c) {
    case ColourWhite:
      return "white";
    case ColourBlack:
      return "black";
    case ColourGreen:
      return "green";
    case ColourRed:
      return "red";
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06x", c);
  return buf;
}

}  // namespace sol
