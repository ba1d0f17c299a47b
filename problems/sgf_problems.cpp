#include "problems/sgf_problems.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/capture.h"
#include "core/cp932.h"
#include "core/game_state.h"
#include "problems/answer_tree.h"
#include "sgf/sgf_files.h"
#include "sgf/sgf_game.h"
#include "sgf/sgf_writer.h"

namespace sol {

namespace {

using sgf::GameTree;

constexpr int WindowColumns = 13;

[[noreturn]] void Refuse(const Str& why) { throw sgf::SgfError(why); }

Str ColourName(int colour) { return colour == Black ? u"黒" : u"白"; }
Str MoveName(int number, int colour) { return u"第" + Num(number) + u"手（" + ColourName(colour) + u"）"; }

// ---------------------------------------------------------------------------
// The marks of correct and wrong lines

enum class Mark { None, Correct, Wrong };

struct MarkWord {
  std::u16string_view Text;
  Mark Kind;
  bool AnyCase;
};

// 不正解 comes before 正解, which it holds.
constexpr MarkWord MarkWords[] = {
    {u"不正解", Mark::Wrong, false},  {u"正解", Mark::Correct, false},   {u"失敗", Mark::Wrong, false},
    {u"RIGHT", Mark::Correct, false}, {u"Correct", Mark::Correct, true}, {u"Incorrect", Mark::Wrong, true},
    {u"Wrong", Mark::Wrong, true},
};

bool IsWordCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}
char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The mark word standing whole at text[i]: its length and kind, 0 for none.
std::pair<size_t, Mark> MarkWordAt(const Str& text, size_t i) {
  for (const MarkWord& w : MarkWords) {
    const size_t end = i + w.Text.size();
    if (end > text.size()) continue;
    bool same = true;
    for (size_t k = 0; k < w.Text.size() && same; ++k)
      same = w.AnyCase ? Lower(text[i + k]) == Lower(w.Text[k]) : text[i + k] == w.Text[k];
    if (!same) continue;
    if (w.Text[0] < 0x80 &&
        ((i > 0 && IsWordCharacter(text[i - 1])) || (end < text.size() && IsWordCharacter(text[end]))))
      continue;
    if (w.Text == u"正解" && i > 0 && text[i - 1] == u'不') continue;
    return {w.Text.size(), w.Kind};
  }
  return {0, Mark::None};
}

// A comment that names both ("失敗。正解は…") says first what the line is.
Mark FirstMark(const Str& text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (const auto [length, kind] = MarkWordAt(text, i); length > 0) return kind;
  return Mark::None;
}

// What may stand around a mark word: blanks, punctuation, and control
// characters, which are stored as blanks.
bool IsFiller(char16_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return true;
  return std::u16string_view(u" \t\r\u3000：:！!。．.、，,").find(c) != std::u16string_view::npos;
}

// The comment as a sequence's comment: the mark words that open it (at the
// start of its first lines with text) and lines of nothing but marks are
// dropped, the rest joined with blanks. What it gives never starts with a
// mark word, so a stored comment written out and read again is the same.
Str WithoutMarks(const Str& comment) {
  Str out;
  size_t begin = 0;
  while (begin <= comment.size()) {
    size_t end = comment.find(u'\n', begin);
    if (end == Str::npos) end = comment.size();
    const Str line = comment.substr(begin, end - begin);
    begin = end + 1;
    size_t i = 0, marks = 0;
    for (;;) {
      size_t j = i;
      while (j < line.size() && IsFiller(line[j])) ++j;
      const size_t length = MarkWordAt(line, j).first;
      if (length == 0) break;
      i = j + length;
      ++marks;
    }
    if (marks > 0)
      while (i < line.size() && IsFiller(line[i])) ++i;
    Str rest;
    if (out.empty())
      rest = line.substr(marks > 0 ? i : 0);
    else if (marks == 0 || i < line.size())
      rest = line;
    rest = Trim(rest);
    if (rest.empty()) continue;
    if (!out.empty()) out += u' ';
    out += rest;
  }
  return Trim(out);
}

// Text cut at a character to what a record field of `bytes` holds.
Str CutToBytes(Str text, int bytes) {
  while (!text.empty() && EncodedLength(text) > bytes) text.pop_back();
  return text;
}

Str NodeComment(const GameTree& t, int node) { return FromUtf8(t.Value(node, "C")); }

// ---------------------------------------------------------------------------
// Board helpers

// The eight ways to turn and mirror the board; 0 leaves it as it is.
int Turned(int point, int symmetry) {
  const int x = (point - 1) / BoardSize, y = (point - 1) % BoardSize, last = BoardSize - 1;
  int column = symmetry >= 4 ? y : x, row = symmetry >= 4 ? x : y;
  if (symmetry & 1) column = last - column;
  if (symmetry & 2) row = last - row;
  return BoardSize * column + row + 1;
}

bool InWindow(int point) { return (point - 1) / BoardSize < WindowColumns; }

// ---------------------------------------------------------------------------
// Reading the tree

struct NodeMove {
  bool Has = false;
  int Colour = 0;
  int Point = 0;
};

NodeMove MoveOf(const GameTree& t, int node, int number) {
  const sgf::Property* b = t.Find(node, "B");
  const sgf::Property* w = t.Find(node, "W");
  if (!b && !w) return {};
  if (b && w) Refuse(u"第" + Num(number) + u"手の局面に黒と白の両方の手があります。");
  const int colour = b ? Black : White;
  const std::string value = (b ? b : w)->Values.empty() ? std::string() : (b ? b : w)->Values.front();
  const std::optional<int> point = sgf::PointFromSgf(value);
  if (!point) Refuse(MoveName(number, colour) + u"の位置が盤の外です。");
  if (*point == 0) Refuse(MoveName(number, colour) + u"がパスです。パスのある手順は取り込めません。");
  return {true, colour, *point};
}

bool HasSetup(const GameTree& t, int node) { return std::any_of(t.begin(node), t.end(node), sgf::IsSetup); }

// A piece of the answer tree between two places where it branches.
struct Piece {
  std::vector<int> Nodes;  // every node of the piece, moves and others, in order
  std::vector<ImportedMove> Moves;
  int Parent = -1;
  int Last = 0;  // the node it ends at: a leaf, or where the tree branches
  int Branches = 0;
  bool BadMove = false;  // BM on a node of the line down to here
};

struct Position {
  std::vector<ImportedStone> Setup;
  BoardPoints Board{};
  int Top = 0;            // the node the answer tree starts below
  bool TopMoves = false;  // the root holds the first move itself
};

void AddSetup(const GameTree& t, int node, Position& at) {
  for (const sgf::Property* p = t.begin(node); p != t.end(node); ++p) {
    if (!sgf::IsSetup(*p)) continue;
    for (const std::string& v : p->Values) {
      if (v.empty()) continue;
      for (int point : sgf::ListPoints(v)) {
        if (p->Id == "AE") {
          at.Board[point] = Empty;
          std::erase_if(at.Setup, [point](const ImportedStone& s) { return s.Point == point; });
          continue;
        }
        if (at.Board[point] != Empty) Refuse(u"石の配置で同じ点に石が重なっています。");
        const int colour = p->Id == "AB" ? Black : White;
        at.Board[point] = static_cast<int16_t>(colour);
        at.Setup.push_back({colour, point});
      }
    }
  }
}

// The root's set-up, and that of nodes without a move right below it
// before the tree branches.
Position ProblemPosition(const GameTree& t) {
  Position at;
  AddSetup(t, 0, at);
  at.TopMoves = MoveOf(t, 0, 1).Has;
  while (!at.TopMoves && t.ChildCount(at.Top) == 1) {
    const int next = t.Nodes[at.Top].FirstChild;
    if (MoveOf(t, next, 1).Has) break;
    at.Top = next;
    AddSetup(t, next, at);
  }
  if (static_cast<int>(at.Setup.size()) > MaxSetupStones)
    Refuse(u"配置の石が" + Num(static_cast<long>(at.Setup.size())) + u"個あります（" + Num(MaxSetupStones) +
           u"個まで）。");
  return at;
}

// A piece followed by one piece only (the other branches had no move) is
// one sequence with it: the lecture offers no choice there.
std::vector<Piece> JoinedSingleBranches(std::vector<Piece> pieces) {
  std::vector<int> children(pieces.size(), 0);
  for (const Piece& p : pieces)
    if (p.Parent >= 0) ++children[static_cast<size_t>(p.Parent)];
  std::vector<Piece> out;
  std::vector<int> index(pieces.size(), -1);  // old piece → new piece holding its moves
  for (size_t i = 0; i < pieces.size(); ++i) {
    Piece& p = pieces[i];
    const int parent = p.Parent < 0 ? -1 : index[static_cast<size_t>(p.Parent)];
    if (p.Parent >= 0 && children[static_cast<size_t>(p.Parent)] == 1) {
      Piece& into = out[static_cast<size_t>(parent)];
      into.Nodes.insert(into.Nodes.end(), p.Nodes.begin(), p.Nodes.end());
      into.Moves.insert(into.Moves.end(), p.Moves.begin(), p.Moves.end());
      into.Last = p.Last;
      into.BadMove = p.BadMove;
      if (static_cast<int>(into.Moves.size()) > MaxSequenceMoves)
        Refuse(u"分かれ目のない手順が" + Num(MaxSequenceMoves) + u"手を超えています。");
      index[i] = parent;
      continue;
    }
    p.Parent = parent;
    index[i] = static_cast<int>(out.size());
    out.push_back(std::move(p));
  }
  return out;
}

Str TooManyBranches(int count) {
  return u"ひとつの局面から" + Num(count) + u"通りの手順に分かれています（" + Num(AnswerTree::MaxCandidates) +
         u"通りまで）。";
}

// Cuts the tree into pieces, parents before their branches, the branches
// of one node in file order. A piece without a move hands its branches to
// its parent.
std::vector<Piece> Pieces(const GameTree& t, const Position& at, int category) {
  const int room = BlockLast(ProblemFile::Answers, category) - BlockFirst(ProblemFile::Answers, category) + 1;
  std::vector<Piece> pieces;
  std::vector<std::pair<int, int>> stack;  // a piece's first node and its parent piece
  auto pushBranches = [&](int node, int parent) {
    const std::vector<int> children = t.Children(node);
    for (auto c = children.rbegin(); c != children.rend(); ++c) stack.emplace_back(*c, parent);
  };
  if (at.TopMoves)
    stack.emplace_back(at.Top, -1);
  else
    pushBranches(at.Top, -1);
  long moves = 0;
  while (!stack.empty()) {
    auto [node, parent] = stack.back();
    stack.pop_back();
    Piece piece;
    piece.Parent = parent;
    piece.BadMove = parent >= 0 && pieces[static_cast<size_t>(parent)].BadMove;
    int moveIndex = parent >= 0 ? pieces[static_cast<size_t>(parent)].Moves.back().MoveIndex : 0;
    for (;;) {
      if (node != 0 && HasSetup(t, node))
        Refuse(u"第" + Num(moveIndex) + u"手の後で石の配置（AB・AW・AE）が変わります。取り込めません。");
      const NodeMove m = MoveOf(t, node, moveIndex + 1);
      if (m.Has) {
        piece.Moves.push_back({m.Colour, m.Point, ++moveIndex});
        if (static_cast<int>(piece.Moves.size()) > MaxSequenceMoves)
          Refuse(u"分かれ目のない手順が" + Num(MaxSequenceMoves) + u"手を超えています。");
        if (++moves > room) Refuse(u"解答の手が" + Num(room) + u"手を超えていて、この講座の解答手順に入りません。");
      }
      piece.BadMove = piece.BadMove || t.Find(node, "BM");
      piece.Nodes.push_back(node);
      if (t.ChildCount(node) != 1) break;
      node = t.Nodes[node].FirstChild;
    }
    piece.Last = node;
    if (piece.Moves.empty()) {
      pushBranches(node, parent);
      continue;
    }
    pieces.push_back(std::move(piece));
    pushBranches(node, static_cast<int>(pieces.size()) - 1);
  }
  if (pieces.empty()) Refuse(u"解答の手順がありません。");
  pieces = JoinedSingleBranches(std::move(pieces));
  std::unordered_map<int, int> branches;
  for (const Piece& p : pieces) ++branches[p.Parent];
  for (auto [parent, count] : branches)
    if (count > AnswerTree::MaxCandidates) Refuse(TooManyBranches(count));
  for (auto [parent, count] : branches)
    if (parent >= 0) pieces[static_cast<size_t>(parent)].Branches = count;
  return pieces;
}

// Whether each piece starts a wrong line: every line through it is wrong,
// and the piece it follows still has a correct one.
std::vector<bool> WrongStarts(const GameTree& t, const std::vector<Piece>& pieces) {
  std::vector<Mark> marks(pieces.size(), Mark::None);
  bool marksCorrect = false;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].Branches > 0) continue;
    const int leaf = pieces[i].Last;
    Mark m = FirstMark(NodeComment(t, leaf));
    if (m == Mark::None && t.Find(leaf, "TE")) m = Mark::Correct;
    if (m == Mark::None && (t.Find(leaf, "TR") || t.Find(leaf, "WV") || pieces[i].BadMove)) m = Mark::Wrong;
    marks[i] = m;
    marksCorrect = marksCorrect || m == Mark::Correct;
  }
  std::vector<bool> allWrong(pieces.size(), true);
  for (size_t i = pieces.size(); i-- > 0;) {
    if (pieces[i].Branches == 0) allWrong[i] = marks[i] == Mark::Wrong || (marksCorrect && marks[i] != Mark::Correct);
    if (pieces[i].Parent >= 0 && !allWrong[i]) allWrong[static_cast<size_t>(pieces[i].Parent)] = false;
  }
  std::vector<bool> starts(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i)
    starts[i] = allWrong[i] && (pieces[i].Parent < 0 || !allWrong[static_cast<size_t>(pieces[i].Parent)]);
  return starts;
}

// The comment of the piece's last node, else the nearest one above it in the piece.
Str PieceComment(const GameTree& t, const Piece& piece, bool& cut) {
  for (auto n = piece.Nodes.rbegin(); n != piece.Nodes.rend(); ++n) {
    const Str text = WithoutMarks(NodeComment(t, *n));
    if (text.empty()) continue;
    const Str stored = StorableText(text, CommentRecord::TextWidth);
    const Str kept = CutToBytes(stored, CommentRecord::TextWidth);
    cut = cut || kept.size() < text.size();
    return Trim(kept);
  }
  return {};
}

Str ProblemTitle(const GameTree& t, const Str& fallback) {
  Str raw = Trim(FromUtf8(sgf::SimpleText(t.Value(0, "GN"))));
  if (raw.empty()) {
    const Str comment = NodeComment(t, 0);
    size_t begin = 0;
    while (raw.empty() && begin < comment.size()) {
      size_t end = comment.find(u'\n', begin);
      if (end == Str::npos) end = comment.size();
      raw = Trim(comment.substr(begin, end - begin));
      begin = end + 1;
    }
  }
  if (raw.empty()) raw = fallback;
  return Trim(CutToBytes(StorableText(raw, ProblemListRecord::TitleChars), ProblemListRecord::TextWidth));
}

int FirstColour(const GameTree& t, const std::vector<Piece>& pieces) {
  const Str pl = Trim(FromUtf8(sgf::SimpleText(t.Value(0, "PL"))));
  if (!pl.empty() && (pl[0] == u'B' || pl[0] == u'b')) return Black;
  if (!pl.empty() && (pl[0] == u'W' || pl[0] == u'w')) return White;
  return pieces.front().Moves.front().Colour;
}

void CheckColours(const std::vector<Piece>& pieces, int first) {
  for (const Piece& p : pieces) {
    int expected = p.Parent < 0
                       ? first
                       : Opponent(static_cast<int16_t>(pieces[static_cast<size_t>(p.Parent)].Moves.back().Colour));
    for (const ImportedMove& m : p.Moves) {
      if (m.Colour != expected) {
        if (m.MoveIndex == 1) Refuse(MoveName(1, m.Colour) + u"が手番（" + ColourName(expected) + u"）と違います。");
        Refuse(MoveName(m.MoveIndex, m.Colour) + u"が続けて打たれています。手順は黒白交互でなければ取り込めません。");
      }
      expected = Opponent(static_cast<int16_t>(expected));
    }
  }
}

// Plays every line on the problem board with the program's capture rule.
void CheckLines(const std::vector<Piece>& pieces, const BoardPoints& start) {
  std::unordered_map<size_t, BoardPoints> ends;  // boards after pieces that branch
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    BoardPoints board = p.Parent < 0 ? start : ends.at(static_cast<size_t>(p.Parent));
    for (const ImportedMove& m : p.Moves) {
      if (board[m.Point] != Empty) Refuse(MoveName(m.MoveIndex, m.Colour) + u"が石の上に打たれています。");
      board[m.Point] = static_cast<int16_t>(m.Colour);
      TakeOffDeadGroups(board, m.Point, Opponent(static_cast<int16_t>(m.Colour)));
      if (!HasLiberty(board, m.Point)) Refuse(MoveName(m.MoveIndex, m.Colour) + u"は着手禁止点（自殺手）です。");
    }
    if (p.Branches > 0) ends.emplace(i, board);
  }
}

ImportedProblem Convert(const GameTree& t, int category, const Str& fallbackTitle) {
  if (t.Nodes.empty()) Refuse(u"問題が空です。");
  sgf::CheckGoOn19(t);
  Position at = ProblemPosition(t);
  std::vector<Piece> pieces = Pieces(t, at, category);
  const int first = FirstColour(t, pieces);
  CheckColours(pieces, first);

  ImportedProblem out;
  out.Title = ProblemTitle(t, fallbackTitle);
  const int wanted = category == 4 ? White : Black;
  out.ColoursSwapped = first != wanted;
  if (out.ColoursSwapped)
    out.Notes.push_back(u"黒と白を入れ替えました（この講座は" + ColourName(wanted) + u"から打ちます）。");

  std::vector<int> points;
  for (const ImportedStone& s : at.Setup) points.push_back(s.Point);
  for (const Piece& p : pieces)
    for (const ImportedMove& m : p.Moves) points.push_back(m.Point);
  int symmetry = 0;
  while (symmetry < 8 &&
         !std::all_of(points.begin(), points.end(), [symmetry](int p) { return InWindow(Turned(p, symmetry)); }))
    ++symmetry;
  if (symmetry == 8) Refuse(u"盤の向きをどう変えても、石が問題の盤（左の13路）に収まりません。");
  if (symmetry > 0) out.Notes.push_back(u"盤の向きを変えて、問題の盤（左の13路）に収めました。");
  out.Symmetry = symmetry;

  auto colour = [&](int c) { return out.ColoursSwapped ? Opponent(static_cast<int16_t>(c)) : c; };
  BoardPoints board{};
  for (const ImportedStone& s : at.Setup) {
    out.Setup.push_back({colour(s.Colour), Turned(s.Point, symmetry)});
    board[out.Setup.back().Point] = static_cast<int16_t>(out.Setup.back().Colour);
  }
  for (Piece& p : pieces)
    for (ImportedMove& m : p.Moves) m = {colour(m.Colour), Turned(m.Point, symmetry), m.MoveIndex};
  CheckLines(pieces, board);

  const std::vector<bool> wrong = WrongStarts(t, pieces);
  bool cut = false;
  for (size_t i = 0; i < pieces.size(); ++i)
    out.Sequences.push_back({pieces[i].Moves, wrong[i], pieces[i].Parent, PieceComment(t, pieces[i], cut)});
  if (cut) out.Notes.push_back(u"長いコメントを、記録できる長さ（全角23文字）で切りました。");
  return out;
}

// ---------------------------------------------------------------------------
// Writing

struct OutNode {
  int Colour = 0;
  int Point = 0;
  bool BadMove = false;
  bool WrongLine = false;
  Str Comment;
  std::vector<int> Children;
};

std::string NodeText(const OutNode& n) {
  std::string text = std::string(n.Colour == Black ? "B[" : "W[") + sgf::PointToSgf(n.Point) + "]";
  if (n.BadMove) text += "BM[1]";
  Str comment = n.Comment;
  if (n.Children.empty()) comment = (n.WrongLine ? u"失敗" : u"正解 RIGHT") + (comment.empty() ? u"" : u"\n" + comment);
  if (!comment.empty()) text += "C[" + sgf::EscapeText(ToUtf8(comment)) + "]";
  return text;
}

std::string StoneList(std::span<const ProblemMoveRecord> setup, int colour) {
  std::string out;
  for (const ProblemMoveRecord& r : setup)
    if (r.Colour == colour && r.Point >= 1 && r.Point <= PointCount) out += "[" + sgf::PointToSgf(r.Point) + "]";
  return out;
}

}  // namespace

ProblemImport ImportProblem(const sgf::GameTree& tree, int category, const Str& fallbackTitle) {
  try {
    return {Convert(tree, category, fallbackTitle), {}};
  } catch (const sgf::SgfError& e) {
    return {std::nullopt, e.Message()};
  }
}

ProblemRecords ToAnswerRecords(const ImportedProblem& problem, int number, int firstRecordNumber) {
  ProblemRecords out;
  const auto n16 = static_cast<int16_t>(number);
  for (const ImportedStone& s : problem.Setup)
    out.Setup.push_back({n16, static_cast<int16_t>(s.Colour), static_cast<int16_t>(s.Point)});
  int next = firstRecordNumber;
  std::vector<int> lastRecord;
  for (const ImportedSequence& seq : problem.Sequences) {
    const int head = next == StartsAtProblem ? next + 1 : next;
    for (size_t j = 0; j < seq.Moves.size(); ++j) {
      if (next == StartsAtProblem) ++next;
      const ImportedMove& m = seq.Moves[j];
      const int sign = j == 0 && seq.Wrong ? -1 : 1;
      const int link = j > 0 ? 0 : seq.Parent < 0 ? StartsAtProblem : lastRecord[static_cast<size_t>(seq.Parent)];
      out.Answers.push_back({n16, static_cast<int16_t>(m.MoveIndex), static_cast<int16_t>(sign * m.Colour),
                             static_cast<int16_t>(m.Point), static_cast<int16_t>(next), static_cast<int16_t>(link)});
      ++next;
    }
    lastRecord.push_back(next - 1);
    if (!seq.Comment.empty()) out.Comments.push_back({n16, static_cast<int16_t>(head), seq.Comment});
  }
  return out;
}

ExportedProblem ExportProblem(const Str& title, std::span<const ProblemMoveRecord> setup,
                              std::span<const AnswerMoveRecord> answers, std::span<const CommentRecord> comments) {
  // The sequences: a head (linked to the position or to a move) and the
  // records that continue it.
  struct Run {
    size_t Begin, End;
  };
  std::vector<Run> runs;
  for (size_t i = 0; i < answers.size(); ++i)
    if (i == 0 || answers[i].BranchLink != 0)
      runs.push_back({i, i + 1});
    else
      runs.back().End = i + 1;
  std::unordered_map<int, Str> commentOf;
  for (const CommentRecord& c : comments) commentOf.emplace(c.AnswerRecord, Trim(c.CommentText));

  std::vector<OutNode> nodes(1);
  std::unordered_map<int, int> nodeOf;  // record number → node
  // A sequence with a record no board holds is damaged: it is left out.
  std::vector<bool> placed(runs.size(), false);
  for (size_t r = 0; r < runs.size(); ++r)
    for (size_t i = runs[r].Begin; i < runs[r].End; ++i) {
      const int colour = std::abs(answers[i].SignedColour);
      if (answers[i].Point < 1 || answers[i].Point > PointCount || (colour != Black && colour != White))
        placed[r] = true;
    }
  const auto damaged = static_cast<int>(std::count(placed.begin(), placed.end(), true));
  // A link may point at a record further down; passes go on while one lands.
  for (bool progress = true; progress;) {
    progress = false;
    for (size_t r = 0; r < runs.size(); ++r) {
      if (placed[r]) continue;
      const AnswerMoveRecord& head = answers[runs[r].Begin];
      int parent = 0;
      if (head.BranchLink != StartsAtProblem && !(runs[r].Begin == 0 && head.BranchLink == 0)) {
        const auto found = nodeOf.find(head.BranchLink);
        if (found == nodeOf.end()) continue;
        parent = found->second;
      }
      placed[r] = progress = true;
      bool wrong = nodes[static_cast<size_t>(parent)].WrongLine || head.SignedColour < 0;
      for (size_t i = runs[r].Begin; i < runs[r].End; ++i) {
        const AnswerMoveRecord& a = answers[i];
        OutNode n;
        n.Colour = std::abs(a.SignedColour);
        n.Point = a.Point;
        n.BadMove = i == runs[r].Begin && a.SignedColour < 0;
        n.WrongLine = wrong;
        nodes[static_cast<size_t>(parent)].Children.push_back(static_cast<int>(nodes.size()));
        parent = static_cast<int>(nodes.size());
        nodeOf.emplace(a.RecordNumber, parent);
        nodes.push_back(std::move(n));
      }
      if (const auto c = commentOf.find(head.RecordNumber); c != commentOf.end())
        nodes[static_cast<size_t>(parent)].Comment = c->second;
    }
  }
  ExportedProblem out;
  out.DroppedSequences = damaged + static_cast<int>(std::count(placed.begin(), placed.end(), false));
  const int firstColour = answers.empty() ? Black : std::abs(answers.front().SignedColour);

  std::string& sgf = out.Sgf;
  sgf = "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[" + sgf::EscapeText(ToUtf8(u"ソルネカ")) + ":" +
        sgf::EscapeText(std::string(sgf::ProgramVersion())) + "]";
  if (!Trim(title).empty()) sgf += "GN[" + sgf::EscapeText(ToUtf8(Trim(title))) + "]";
  sgf += firstColour == White ? "PL[W]" : "PL[B]";
  sgf += "VW[aa:" + std::string(1, static_cast<char>('a' + WindowColumns - 1)) + "s]";
  if (const std::string b = StoneList(setup, Black); !b.empty()) sgf += "AB" + b;
  if (const std::string w = StoneList(setup, White); !w.empty()) sgf += "AW" + w;
  sgf += "\n";

  // Depth-first without recursion: a long line is as deep as it is long.
  struct Frame {
    int Node;
    size_t Next;
    bool Bracketed;
  };
  std::vector<Frame> stack{{0, 0, false}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    const std::vector<int>& children = nodes[static_cast<size_t>(f.Node)].Children;
    if (f.Next < children.size()) {
      const int child = children[f.Next++];
      const bool bracket = children.size() > 1;
      // Each variation on a line of its own.
      if (bracket && sgf.back() != '\n') sgf += "\n";
      sgf += std::string(bracket ? "(;" : ";") + NodeText(nodes[static_cast<size_t>(child)]);
      stack.push_back({child, 0, bracket});
      continue;
    }
    if (f.Bracketed) sgf += ")";
    stack.pop_back();
  }
  sgf += ")\n";
  return out;
}

}  // namespace sol
