#include "sgf/sgf_tree.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "core/charset.h"

namespace sol::sgf {

SgfError::SgfError(Str message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

std::vector<int> GameTree::Children(int node) const {
  std::vector<int> out;
  for (int c = Nodes[node].FirstChild; c != NoNode; c = Nodes[c].NextSibling) out.push_back(c);
  return out;
}

int GameTree::ChildCount(int node) const {
  int n = 0;
  for (int c = Nodes[node].FirstChild; c != NoNode; c = Nodes[c].NextSibling) ++n;
  return n;
}

const Property* GameTree::Find(int node, std::string_view id) const {
  for (const Property* p = begin(node); p != end(node); ++p)
    if (p->Id == id) return p;
  return nullptr;
}

std::string GameTree::Value(int node, std::string_view id) const {
  const Property* p = Find(node, id);
  return p && !p->Values.empty() ? p->Values.front() : std::string();
}

std::string SimpleText(std::string_view value) {
  std::string out(value);
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

namespace {

constexpr std::string_view Unreadable = "SGFファイルとして読めません：";

[[noreturn]] void Fail(const std::string& why) { throw SgfError(FromUtf8(std::string(Unreadable) + why)); }

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
// Any ASCII control character or blank separates tokens.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string Count(std::size_t n) { return std::to_string(n); }

// The first CA label in the raw bytes. The file is not decoded yet, so this
// looks only for the ASCII shape CA[label]; a program that writes CA writes
// it in the first game's root, ahead of any text.
std::string FindCharsetLabel(std::string_view b) {
  for (std::size_t p = b.find("CA"); p != std::string_view::npos; p = b.find("CA", p + 2)) {
    if (p > 0 && IsUpper(b[p - 1])) continue;
    std::size_t q = p + 2;
    while (q < b.size() && IsBlank(b[q])) ++q;
    if (q >= b.size() || b[q] != '[') continue;
    // Labels are short; looking no further keeps a file of unclosed "CA["
    // from costing a scan to its end each.
    const std::string_view rest = b.substr(q + 1, 41);
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) continue;
    const std::string_view label = rest.substr(0, close);
    if (std::all_of(label.begin(), label.end(), [](char c) { return c > 0x20 && c < 0x7F && c != '\\'; }))
      return std::string(label);
  }
  return {};
}

// How the player knows the encodings.
std::string DisplayName(const std::string& encoding) {
  if (encoding == "CP932") return "Shift_JIS";
  if (encoding == "ISO-8859-1") return "Latin-1";
  return encoding;
}

std::optional<std::string> Decode(std::string_view bytes, const std::string& encoding) {
  if (encoding == "UTF-8") return IsValidUtf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt;
  return ConvertToUtf8(bytes, encoding);
}

// The whole file as UTF-8, in its declared encoding when that reads, else in
// the first of the usual ones that does; Latin-1 always does.
std::string DecodeFile(std::string_view bytes, Collection& c) {
  bool bom = false;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    bom = true;
  }
  c.DeclaredCharset = FindCharsetLabel(bytes);
  const std::optional<std::string> declared = CharsetName(c.DeclaredCharset);
  std::vector<std::string> tries;
  if (bom) tries.push_back("UTF-8");
  if (declared) tries.push_back(*declared);
  for (const char* e : {"UTF-8", "CP932", "GB18030", "ISO-8859-1"})
    if (std::find(tries.begin(), tries.end(), e) == tries.end()) tries.push_back(e);
  for (const std::string& e : tries) {
    std::optional<std::string> text = Decode(bytes, e);
    if (!text) continue;
    c.Encoding = e;
    const std::string label = "CA[" + c.DeclaredCharset + "]";
    if (!c.DeclaredCharset.empty() && (!declared || *declared != e)) {
      c.CharsetIgnored = true;
      c.Notes.push_back(FromUtf8("文字コードの指定 " + label +
                                 (declared ? " が内容と合わないため" : " は使えないため") + "、" + DisplayName(e) +
                                 "として読みました。"));
    } else if (c.DeclaredCharset.empty() && e != "UTF-8") {
      c.Notes.push_back(FromUtf8("文字コードの指定がないため、" + DisplayName(e) + "として読みました。"));
    }
    return std::move(*text);
  }
  Fail("文字コードが分かりません。");  // not reached: Latin-1 reads any bytes
}

class Parser {
 public:
  Parser(const std::string& text, Collection& c) : t_(text), c_(c) {}

  void Run() {
    for (std::size_t start = GameStart(0); start != std::string::npos; start = GameStart(i_)) {
      i_ = start;
      Game();
    }
    if (c_.Games.empty()) Fail("棋譜が見つかりません（「(;」がありません）。");
  }

 private:
  // The next '(' that a node follows, skipping whatever comes before it.
  std::size_t GameStart(std::size_t from) const {
    for (std::size_t p = t_.find('(', from); p != std::string::npos; p = t_.find('(', p + 1)) {
      std::size_t q = p + 1;
      while (q < t_.size() && IsBlank(t_[q])) ++q;
      if (q < t_.size() && t_[q] == ';') return p;
    }
    return std::string::npos;
  }

  [[noreturn]] void FailHere(const std::string& why) const {
    const std::size_t line = 1 + std::count(t_.begin(), t_.begin() + std::min(i_, t_.size()), '\n');
    Fail(why + "（" + Count(line) + "行目）");
  }
  [[noreturn]] void Truncated() const { Fail("ファイルが途中で終わっています。"); }

  void SkipBlanks() {
    while (i_ < t_.size() && IsBlank(t_[i_])) ++i_;
  }

  void Game() {
    GameTree& g = c_.Games.emplace_back();
    // The node each open '(' hangs its variation from; the outermost has none.
    std::vector<int> open;
    std::vector<int> lastChild;
    int current = NoNode;
    while (true) {
      SkipBlanks();
      if (i_ >= t_.size()) Truncated();
      const char ch = t_[i_];
      if (ch == '(') {
        if (!open.empty() && current == NoNode) FailHere("「(」の前に局面がありません。");
        if (open.size() >= MaxNestingDepth)
          FailHere("変化の入れ子が深すぎます（" + Count(MaxNestingDepth) + "段まで読めます）。");
        open.push_back(current);
        ++i_;
        SkipBlanks();
        if (i_ >= t_.size()) Truncated();
        if (t_[i_] != ';') FailHere("「(」の後に「;」がありません。");
      } else if (ch == ')') {
        current = open.back();
        open.pop_back();
        ++i_;
        if (open.empty()) return;
      } else if (ch == ';') {
        if (current == NoNode && !g.Nodes.empty()) FailHere("「;」の位置が正しくありません。");
        if (NodeCount() >= MaxNodes) Fail("局面が多すぎます（" + Count(MaxNodes) + "まで読めます）。");
        ++nodes_;
        const int id = static_cast<int>(g.Nodes.size());
        Node& n = g.Nodes.emplace_back();
        lastChild.push_back(NoNode);
        n.Parent = current;
        if (current != NoNode) {
          if (lastChild[current] == NoNode)
            g.Nodes[current].FirstChild = id;
          else
            g.Nodes[lastChild[current]].NextSibling = id;
          lastChild[current] = id;
        }
        ++i_;
        n.PropertyBegin = g.Properties.size();
        Properties(g);
        g.Nodes[id].PropertyEnd = g.Properties.size();
        current = id;
      } else {
        FailHere("予期しない文字「" + std::string(1, ch) + "」があります。");
      }
    }
  }

  std::size_t NodeCount() const { return nodes_; }

  void Properties(GameTree& g) {
    while (true) {
      SkipBlanks();
      if (i_ >= t_.size() || !(IsUpper(t_[i_]) || IsLower(t_[i_]))) return;
      const std::size_t nameStart = i_;
      std::string id;
      while (i_ < t_.size() && (IsUpper(t_[i_]) || IsLower(t_[i_]))) {
        if (IsUpper(t_[i_])) id += t_[i_];
        ++i_;
      }
      const std::string name = t_.substr(nameStart, std::min<std::size_t>(i_ - nameStart, 20));
      if (id.empty()) FailHere("プロパティ名「" + name + "」が読めません。");
      SkipBlanks();
      if (i_ >= t_.size()) Truncated();
      if (t_[i_] != '[') FailHere("プロパティ「" + name + "」に値がありません。");
      if (++properties_ > MaxProperties) Fail("プロパティが多すぎます（" + Count(MaxProperties) + "個まで読めます）。");
      Property& p = g.Properties.emplace_back();
      p.Id = std::move(id);
      while (i_ < t_.size() && t_[i_] == '[') {
        ++i_;
        p.Values.push_back(Value());
        SkipBlanks();
      }
    }
  }

  // One value from just after its '[' through its ']'.
  std::string Value() {
    std::string v;
    while (true) {
      if (i_ >= t_.size()) Truncated();
      // Plain runs are copied whole; only escapes and line breaks need a look.
      const std::size_t stop = t_.find_first_of("]\\\r\n\t\v\f", i_);
      const std::size_t runEnd = stop == std::string::npos ? t_.size() : stop;
      v.append(t_, i_, runEnd - i_);
      i_ = runEnd;
      if (v.size() > MaxValueBytes) Fail("値が長すぎます（" + Count(MaxValueBytes / 1024) + "KBまで読めます）。");
      if (i_ >= t_.size()) Truncated();
      const char ch = t_[i_++];
      if (ch == ']') return v;
      if (ch == '\\') {
        if (i_ >= t_.size()) Truncated();
        const char next = t_[i_++];
        if (next == '\r' || next == '\n')
          SkipLineBreakPair(next);  // a soft line break: nothing
        else
          v += next == '\t' || next == '\v' || next == '\f' ? ' ' : next;  // escaped or not, a blank
      } else if (ch == '\r' || ch == '\n') {
        SkipLineBreakPair(ch);
        v += '\n';
      } else {
        v += ' ';
      }
    }
  }

  // CR LF and LF CR are one line break.
  void SkipLineBreakPair(char first) {
    if (i_ < t_.size() && (t_[i_] == '\r' || t_[i_] == '\n') && t_[i_] != first) ++i_;
  }

  const std::string& t_;
  Collection& c_;
  std::size_t i_ = 0;
  std::size_t nodes_ = 0;
  std::size_t properties_ = 0;
};

}  // namespace

Collection ParseCollection(std::string_view bytes) {
  if (bytes.size() > MaxFileBytes)
    throw SgfError(
        FromUtf8("SGFファイルが大きすぎます（" + Count(MaxFileBytes / (1024 * 1024)) + "MBまで読めます）。"));
  if (!bytes.empty() && std::memchr(bytes.data(), 0, bytes.size()) != nullptr)
    Fail("NUL文字が含まれています（テキストのファイルではありません）。");
  Collection c;
  const std::string text = DecodeFile(bytes, c);
  Parser(text, c).Run();
  return c;
}

}  // namespace sol::sgf
