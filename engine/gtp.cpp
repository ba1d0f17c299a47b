#include "engine/gtp.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sol::gtp {

namespace {

constexpr int Size = 19;
constexpr std::string_view Columns = "ABCDEFGHJKLMNOPQRST";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\n'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool BlankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string Vertex(int point) {
  if (point < 1 || point > Size * Size) return "pass";
  const int x = (point - 1) / Size, y = (point - 1) % Size;
  return std::string(1, Columns[static_cast<std::size_t>(x)]) + std::to_string(Size - y);
}

std::optional<int> PointOfVertex(std::string_view v) {
  if (v.size() < 2 || v.size() > 3) return std::nullopt;
  const std::size_t x = Columns.find(Upper(v[0]));
  if (x == std::string_view::npos) return std::nullopt;
  int row = 0;
  const auto [end, error] = std::from_chars(v.data() + 1, v.data() + v.size(), row);
  if (error != std::errc() || end != v.data() + v.size() || v[1] == '0' || row < 1 || row > Size) return std::nullopt;
  return Size * static_cast<int>(x) + (Size - row) + 1;
}

std::optional<Move> ParseMove(std::string_view text) {
  text = Trimmed(text);
  if (SameWord(text, "pass")) return Move{Move::Kind::Pass, 0};
  if (SameWord(text, "resign")) return Move{Move::Kind::Resign, 0};
  if (const std::optional<int> p = PointOfVertex(text)) return Move{Move::Kind::Play, *p};
  return std::nullopt;
}

std::optional<std::vector<int>> ParseVertices(std::string_view text) {
  std::vector<int> points;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::size_t j = i;
    while (j < text.size() && !IsBlank(text[j])) ++j;
    if (j == i) break;
    const std::optional<int> p = PointOfVertex(text.substr(i, j - i));
    if (!p) return std::nullopt;
    points.push_back(*p);
    i = j;
  }
  return points;
}

std::string Number(double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : "0";
}

std::optional<Score> ParseScore(std::string_view text) {
  text = Trimmed(text);
  if (text == "0") return Score{};
  if (text.size() < 3 || text[1] != '+') return std::nullopt;
  Score s;
  const char who = Upper(text[0]);
  if (who != 'B' && who != 'W') return std::nullopt;
  s.winner = who == 'B' ? 1 : 2;
  const std::string_view number = text.substr(2);
  if (SameWord(number, "R") || SameWord(number, "Resign")) return s;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), s.points);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(s.points)) return std::nullopt;
  return s;
}

std::string Command(int id, std::string_view text) {
  std::string line = std::to_string(id) + " ";
  // A line break inside would start another command.
  for (char c : text) line += c == '\n' || c == '\r' ? ' ' : c;
  return line + "\n";
}

void ReplyReader::Feed(std::string_view bytes) {
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\t')
      buffer_ += ' ';
    else if (u >= 0x20 && u != 0x7F)
      buffer_ += c;
    else if (c == '\n')
      buffer_ += c;
  }
}

std::optional<Reply> ReplyReader::Next() {
  if (!fault_.empty()) return std::nullopt;
  // Blank lines between replies are nothing.
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = buffer_.find('\n', start);
    if (end == std::string::npos || !BlankLine(std::string_view(buffer_).substr(start, end - start))) break;
    start = end + 1;
  }
  buffer_.erase(0, start);
  if (buffer_.empty()) return std::nullopt;
  if (buffer_[0] != '=' && buffer_[0] != '?') {
    const std::size_t end = buffer_.find('\n');
    if (end != std::string::npos || buffer_.size() > MaxReplyBytes)
      fault_ = "not a reply: " + buffer_.substr(0, std::min<std::size_t>(end, 60));
    return std::nullopt;
  }
  // The reply ends at its first blank line.
  std::size_t lineStart = 0, endOfText = std::string::npos, next = 0;
  for (;;) {
    const std::size_t end = buffer_.find('\n', lineStart);
    if (end == std::string::npos) break;
    if (lineStart > 0 && BlankLine(std::string_view(buffer_).substr(lineStart, end - lineStart))) {
      endOfText = lineStart - 1;
      next = end + 1;
      break;
    }
    lineStart = end + 1;
  }
  if (endOfText == std::string::npos) {
    if (buffer_.size() > MaxReplyBytes) fault_ = "a reply longer than " + std::to_string(MaxReplyBytes) + " bytes";
    return std::nullopt;
  }
  Reply r;
  r.success = buffer_[0] == '=';
  std::size_t i = 1;
  int id = 0;
  bool digits = false;
  while (i < endOfText && buffer_[i] >= '0' && buffer_[i] <= '9') {
    if (id < 100'000'000) id = id * 10 + (buffer_[i] - '0');
    digits = true;
    ++i;
  }
  if (digits) r.id = id;
  std::string text = buffer_.substr(i, endOfText - i);
  // The text after the mark: one blank, and no trailing blanks on any line.
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = text.find('\n', from);
    std::string_view line = std::string_view(text).substr(from, end == std::string::npos ? end : end - from);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    out += line;
    if (end == std::string::npos) break;
    out += '\n';
    from = end + 1;
  }
  r.text = out;
  buffer_.erase(0, next);
  return r;
}

void ReplyReader::Clear() {
  buffer_.clear();
  fault_.clear();
}

}  // namespace sol::gtp
