#include "sgf/sgf_game.h"

#include <algorithm>
#include <string>

#include "core/capture.h"

namespace sol::sgf {

namespace {

[[noreturn]] void Refuse(const std::string& why) { throw SgfError(FromUtf8(why)); }

std::string N(long n) { return std::to_string(n); }

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u3000'; }

Str Trimmed(const Str& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsSpace(s[b])) ++b;
  while (e > b && IsSpace(s[e - 1])) --e;
  return s.substr(b, e - b);
}

Str Info(const GameTree& g, std::string_view id) { return Trimmed(FromUtf8(SimpleText(g.Value(0, id)))); }

std::string ColourName(int colour) { return colour == Black ? "黒" : "白"; }

// A value shown in a message: short, and on one line.
std::string Shown(const std::string& v) { return SimpleText(v.substr(0, 12)); }

}  // namespace

// The points of one value of a point list: a point, or a rectangle "aa:cc"
// given by two corners.
std::vector<int> ListPoints(const std::string& value) {
  const std::size_t colon = value.find(':');
  const std::optional<int> a = PointFromSgf(value.substr(0, colon));
  std::optional<int> b = a;
  if (colon != std::string::npos) b = PointFromSgf(value.substr(colon + 1));
  if (!a || !b || *a == 0 || *b == 0) Refuse("石の配置の位置「" + Shown(value) + "」が盤の外です。");
  const int x1 = (*a - 1) / BoardSize, y1 = (*a - 1) % BoardSize;
  const int x2 = (*b - 1) / BoardSize, y2 = (*b - 1) % BoardSize;
  std::vector<int> out;
  for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) out.push_back(BoardSize * x + y + 1);
  return out;
}

void CheckGoOn19(const GameTree& g) {
  if (g.Find(0, "GM")) {
    const std::string gm = SimpleText(g.Value(0, "GM"));
    if (Trimmed(FromUtf8(gm)) != u"1") Refuse("囲碁の棋譜ではありません（GM[" + Shown(gm) + "]）。");
  }
  if (g.Find(0, "SZ")) {
    const std::string sz = SimpleText(g.Value(0, "SZ"));
    const Str size = Trimmed(FromUtf8(sz));
    if (size != u"19" && size != u"19:19") Refuse("19路盤の棋譜ではありません（SZ[" + Shown(sz) + "]）。");
  }
}

std::optional<int> PointFromSgf(std::string_view value) {
  if (value.empty() || value == "tt") return 0;
  if (value.size() != 2) return std::nullopt;
  const int x = value[0] - 'a', y = value[1] - 'a';
  if (x < 0 || x >= BoardSize || y < 0 || y >= BoardSize) return std::nullopt;
  return BoardSize * x + y + 1;
}

ImportedGame ConvertGame(const GameTree& g) {
  if (g.Nodes.empty()) Refuse("棋譜が空です。");
  CheckGoOn19(g);
  ImportedGame out;
  out.Info = {Info(g, "GN"), Info(g, "PB"), Info(g, "PW"), Info(g, "BR"), Info(g, "WR"), Info(g, "DT"),
              Info(g, "RE"), Info(g, "KM"), Info(g, "HA"), Info(g, "EV"), Info(g, "PC")};

  BoardPoints board{};
  int total = 0, moves = 0, passes = 0, variations = 0, idleRemovals = 0;
  auto keep = [&](int number, int colour, int point) {
    ++total;
    if (out.Entries.size() < static_cast<std::size_t>(MaxMoves))
      out.Entries.push_back({static_cast<int16_t>(number), static_cast<int16_t>(colour), static_cast<int16_t>(point)});
  };
  for (int node = 0; node != NoNode; node = g.Nodes[node].FirstChild) {
    const bool setup = std::any_of(g.begin(node), g.end(node), IsSetup);
    if (setup && moves > 0) {
      out.Notes.push_back(
          FromUtf8("第" + N(moves) + "手の後で石の配置が変わるため（AB/AW/AE）、そこから先は取り込みませんでした。"));
      break;
    }
    variations += std::max(0, g.ChildCount(node) - 1);
    // Set-up before moves: a node should not hold both, and a stone placed
    // first would otherwise be on the board the set-up describes.
    for (const Property* p = g.begin(node); p != g.end(node); ++p) {
      if (!IsSetup(*p)) continue;
      for (const std::string& v : p->Values) {
        if (v.empty()) continue;
        for (int point : ListPoints(v)) {
          if (p->Id == "AE") {
            if (board[point] == Empty) {
              ++idleRemovals;
              continue;
            }
            board[point] = Empty;
            // Set-up entries are all there is yet, and all of them are kept.
            std::erase_if(out.Entries, [&](const MoveEntry& e) { return e.Point == point; });
            --total;
            continue;
          }
          if (board[point] != Empty) Refuse("石の配置で同じ点に石が重なっています（" + Shown(v) + "）。");
          const int colour = p->Id == "AB" ? Black : White;
          board[point] = static_cast<int16_t>(colour);
          keep(0, colour, point);
        }
      }
    }
    for (const Property* p = g.begin(node); p != g.end(node); ++p) {
      if (p->Id != "B" && p->Id != "W") continue;
      const int colour = p->Id == "B" ? Black : White;
      for (const std::string& v : p->Values) {
        const std::optional<int> point = PointFromSgf(v);
        const std::string move = "第" + N(moves + 1) + "手（" + ColourName(colour) + "）";
        if (!point) Refuse(move + "の位置「" + Shown(v) + "」が盤の外です。");
        if (*point == 0) {
          ++passes;
          continue;
        }
        if (board[*point] != Empty) Refuse(move + "の位置「" + v + "」にはもう石があります。");
        board[*point] = static_cast<int16_t>(colour);
        TakeOffDeadGroups(board, *point, Opponent(static_cast<int16_t>(colour)));
        keep(++moves, colour, *point);
      }
    }
  }
  if (idleRemovals > 0) out.Notes.push_back(u"石のない点を空ける指定（AE）は無視しました。");
  if (passes > 0) out.Notes.push_back(FromUtf8("パス " + N(passes) + " 回は記録していません。"));
  if (variations > 0) out.Notes.push_back(FromUtf8("変化 " + N(variations) + " 個は取り込んでいません（本譜のみ）。"));
  out.TotalEntries = total;
  out.OverLimit = total > MaxMoves;
  return out;
}

Str GameTitle(const GameInfo& info) {
  const Str name = Trimmed(info.Name), black = Trimmed(info.Black), white = Trimmed(info.White);
  if (!name.empty()) return name;
  if (!black.empty() && !white.empty()) return black + u" と " + white;
  return black.empty() ? white : black;
}

namespace {

int Digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'０' && c <= u'９') return c - u'０';
  return -1;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// A number of one or two digits at `i`, which then moves past it; -1 for none.
int SmallNumber(const Str& s, std::size_t& i) {
  if (i >= s.size() || Digit(s[i]) < 0) return -1;
  int v = Digit(s[i++]);
  if (i < s.size() && Digit(s[i]) >= 0) v = v * 10 + Digit(s[i++]);
  if (i < s.size() && Digit(s[i]) >= 0) return -1;
  return v;
}

bool Separator(const Str& s, std::size_t& i, char16_t unit) {
  if (i < s.size() && (s[i] == u'-' || s[i] == u'/' || s[i] == u'.' || s[i] == unit)) {
    ++i;
    return true;
  }
  return false;
}

}  // namespace

std::optional<Date> GameDate(const Str& dt) {
  for (std::size_t start = 0; start + 4 <= dt.size(); ++start) {
    if (start > 0 && Digit(dt[start - 1]) >= 0) continue;
    int year = 0;
    std::size_t i = start;
    for (; i < start + 4 && Digit(dt[i]) >= 0; ++i) year = year * 10 + Digit(dt[i]);
    if (i < start + 4 || (i < dt.size() && Digit(dt[i]) >= 0) || year == 0) continue;
    Date d{year, 1, 1};
    if (!Separator(dt, i, u'年')) return d;
    const int month = SmallNumber(dt, i);
    if (month < 1 || month > 12) return d;
    d.month = month;
    if (!Separator(dt, i, u'月')) return d;
    const int day = SmallNumber(dt, i);
    if (day >= 1 && day <= DaysIn(year, month)) d.day = day;
    return d;
  }
  return std::nullopt;
}

}  // namespace sol::sgf
