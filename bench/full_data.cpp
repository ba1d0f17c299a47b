#include "bench/full_data.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>

#include "core/capture.h"
#include "core/cp932.h"
#include "core/record_file.h"
#include "core/text.h"

namespace sol::bench {

namespace {

constexpr int ProblemRows = BoardSize;
constexpr int ProblemCols = 13;
constexpr int ProblemPoints = ProblemCols * ProblemRows;  // 247
constexpr int MaxMoveIndex = 50;                          // what one lecture can play
constexpr int MaxContinuations = 10;                      // what a branch can offer
constexpr int SetupStones = 20;                           // per problem in 手筋, ヨセ, 詰碁
constexpr int GamesStored = 60;
constexpr int MovesPerGame = 400;

int16_t PointOf(int column, int row) { return static_cast<int16_t>(ProblemRows * (column - 1) + row); }
int RowOf(int point) { return (point - 1) % ProblemRows + 1; }

class Rng {
 public:
  explicit Rng(unsigned seed) : g_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(g_) < p; }
  template <typename T>
  void Shuffle(std::vector<T>& v) {
    std::shuffle(v.begin(), v.end(), g_);
  }

 private:
  std::mt19937 g_;
};

// 手筋, ヨセ and 詰碁 lectures open with Black, 定石 lectures with White.
int16_t ColourAt(int category, int moveIndex) {
  const bool odd = moveIndex % 2 == 1;
  if (category == 4) return odd ? White : Black;
  return odd ? Black : White;
}

struct Seq {
  int parent = -1;  // a sequence of the same tree; -1 starts at the problem position
  bool wrong = false;
  int start = 1;  // MoveIndex of the first move
  std::vector<int16_t> points;
  int children = 0;
  int head = 0;  // record number, given by the layout
  bool comment = false;
  int End() const { return start + static_cast<int>(points.size()) - 1; }
  int Last() const { return head + static_cast<int>(points.size()) - 1; }
};

struct Tree {
  int16_t number = 0;
  std::vector<std::pair<int16_t, int16_t>> setup;  // colour, point
  std::vector<Seq> seqs;                           // parents before children
  int roots = 0;
};

// Points a new sequence hanging from `parent` may not use: the set-up
// stones and every move on the way to it.
std::vector<char> Occupied(const Tree& t, int parent) {
  std::vector<char> used(ProblemPoints + 1, 0);
  for (const auto& [colour, point] : t.setup) used[static_cast<size_t>(point)] = 1;
  for (int s = parent; s >= 0; s = t.seqs[static_cast<size_t>(s)].parent)
    for (int16_t p : t.seqs[static_cast<size_t>(s)].points) used[static_cast<size_t>(p)] = 1;
  return used;
}

int16_t PickPoint(const std::vector<char>& used, Rng& rng, int maxRow) {
  std::vector<int16_t> free;
  for (int p = 1; p <= ProblemPoints; ++p)
    if (!used[static_cast<size_t>(p)] && RowOf(p) <= maxRow) free.push_back(static_cast<int16_t>(p));
  if (free.empty())
    for (int p = 1; p <= ProblemPoints; ++p)
      if (!used[static_cast<size_t>(p)]) free.push_back(static_cast<int16_t>(p));
  if (free.empty()) throw std::logic_error("problem board full");
  return free[static_cast<size_t>(rng.Int(0, static_cast<int>(free.size()) - 1))];
}

// Adds a sequence of up to `length` moves; returns the moves added (0 when
// the parent cannot take another continuation).
int AddSeq(Tree& t, int parent, int length, bool wrong, Rng& rng) {
  const int start = parent < 0 ? 1 : t.seqs[static_cast<size_t>(parent)].End() + 1;
  length = std::min(length, MaxMoveIndex - start + 1);
  if (length < 1) return 0;
  const int siblings = parent < 0 ? t.roots : t.seqs[static_cast<size_t>(parent)].children;
  if (siblings >= MaxContinuations) return 0;
  std::vector<char> used = Occupied(t, parent);
  // Continuations of one position must differ in their first move.
  std::vector<char> firstUsed = used;
  for (const Seq& s : t.seqs)
    if (s.parent == parent) firstUsed[static_cast<size_t>(s.points.front())] = 1;
  Seq s;
  s.parent = parent;
  s.wrong = wrong;
  s.start = start;
  s.points.push_back(PickPoint(firstUsed, rng, 12));
  used[static_cast<size_t>(s.points.back())] = 1;
  while (static_cast<int>(s.points.size()) < length) {
    s.points.push_back(PickPoint(used, rng, 12));
    used[static_cast<size_t>(s.points.back())] = 1;
  }
  if (parent < 0)
    ++t.roots;
  else
    ++t.seqs[static_cast<size_t>(parent)].children;
  t.seqs.push_back(std::move(s));
  return length;
}

// Random branches from the ends of sequences until `budget` records are used.
void Grow(Tree& t, int budget, int maxLength, int maxRoots, const std::set<int>& closed, Rng& rng) {
  int guard = 0;
  while (budget > 0) {
    if (++guard > 100000) throw std::logic_error("tree does not grow");
    int added = 0;
    if (t.roots < maxRoots && rng.Chance(0.25)) {
      added = AddSeq(t, -1, std::min(budget, rng.Int(1, 2)), rng.Chance(0.7), rng);
    } else {
      std::vector<int> open;
      for (int i = 0; i < static_cast<int>(t.seqs.size()); ++i) {
        const Seq& s = t.seqs[static_cast<size_t>(i)];
        if (!closed.count(i) && s.children < MaxContinuations && s.End() < MaxMoveIndex) open.push_back(i);
      }
      if (open.empty()) {
        added = AddSeq(t, -1, std::min(budget, 2), true, rng);
      } else {
        const int parent = open[static_cast<size_t>(rng.Int(0, static_cast<int>(open.size()) - 1))];
        added = AddSeq(t, parent, std::min(budget, rng.Int(1, maxLength)), rng.Chance(0.35), rng);
      }
    }
    budget -= added;
  }
}

void BuildSmallTree(Tree& t, int budget, int maxLength, int maxRoots, Rng& rng) {
  const int first = AddSeq(t, -1, std::min(budget, rng.Int(1, maxLength)), false, rng);
  Grow(t, budget - first, maxLength, maxRoots, {}, rng);
}

// The one large tree of a category: four lines from the problem position,
// a position with ten continuations, a chain of one-move continuations down
// to the last move a lecture can play (each with a wrong sibling), and
// random branches in between. The chain is registered last, so its links
// point far back into the answer list.
void BuildBigTree(Tree& t, int budget, Rng& rng) {
  const int deepRoot = static_cast<int>(t.seqs.size());
  budget -= AddSeq(t, -1, 3, false, rng);
  const int wideRoot = static_cast<int>(t.seqs.size());
  budget -= AddSeq(t, -1, 3, false, rng);
  budget -= AddSeq(t, -1, 2, true, rng);
  budget -= AddSeq(t, -1, 1, true, rng);
  std::set<int> closed = {deepRoot, wideRoot};
  for (int k = 0; k < MaxContinuations; ++k) {
    closed.insert(static_cast<int>(t.seqs.size()));
    budget -= AddSeq(t, wideRoot, k == MaxContinuations - 1 ? 1 : 1 + k % 3, k % 2 == 1, rng);
  }
  const int chainNodes = MaxMoveIndex - t.seqs[static_cast<size_t>(deepRoot)].End();
  const int chainRecords = 2 * chainNodes;
  if (budget < chainRecords) throw std::logic_error("large tree budget too small");
  Grow(t, budget - chainRecords, 4, 6, closed, rng);
  int parent = deepRoot;
  for (int k = 0; k < chainNodes; ++k) {
    const int node = static_cast<int>(t.seqs.size());
    AddSeq(t, parent, 1, false, rng);
    AddSeq(t, parent, 1, true, rng);
    parent = node;
  }
}

std::vector<std::pair<int16_t, int16_t>> SetupStonesFor(int count, int maxColumn, int maxRow, Rng& rng) {
  std::vector<int16_t> points;
  for (int c = 1; c <= maxColumn; ++c)
    for (int r = 1; r <= maxRow; ++r) points.push_back(PointOf(c, r));
  rng.Shuffle(points);
  std::vector<std::pair<int16_t, int16_t>> out;
  for (int i = 0; i < count; ++i)
    out.push_back({static_cast<int16_t>(i % 2 == 0 ? Black : White), points[static_cast<size_t>(i)]});
  return out;
}

// The order sequences are registered in: problem by problem in a shuffled
// order, up to three problems worked on at once, so sequences of
// neighbouring problems interleave in the file.
std::vector<std::pair<int, int>> RegistrationOrder(const std::vector<Tree>& trees, Rng& rng) {
  std::vector<int> pending;
  for (int i = 0; i < static_cast<int>(trees.size()); ++i)
    if (!trees[static_cast<size_t>(i)].seqs.empty()) pending.push_back(i);
  rng.Shuffle(pending);
  std::vector<std::pair<int, int>> order;
  std::vector<std::pair<int, int>> active;  // tree, next sequence
  size_t next = 0;
  while (next < pending.size() || !active.empty()) {
    while (active.size() < 3 && next < pending.size()) active.push_back({pending[next++], 0});
    const size_t a = static_cast<size_t>(rng.Int(0, static_cast<int>(active.size()) - 1));
    auto& [tree, seq] = active[a];
    const int n = static_cast<int>(trees[static_cast<size_t>(tree)].seqs.size());
    for (int k = rng.Int(1, 4); k > 0 && seq < n; --k) order.push_back({tree, seq++});
    if (seq >= n) active.erase(active.begin() + static_cast<long>(a));
  }
  return order;
}

// In 手筋 record 99 lies inside the answer block; a sequence head there or a
// parent ending there would read as starting at the problem position.
bool Record99Safe(const std::vector<Tree>& trees) {
  for (const Tree& t : trees)
    for (const Seq& s : t.seqs) {
      if (s.head == StartsAtProblem) return false;
      if (s.children > 0 && s.Last() == StartsAtProblem) return false;
    }
  return true;
}

const std::vector<Str>& Themes(int category) {
  static const std::vector<Str> themes[5] = {
      {},
      {u"石の下", u"ウッテガエシ", u"オイオトシ", u"ゲタ", u"シチョウ", u"両アタリ", u"ハサミツケ", u"捨て石",
       u"眼形の急所", u"ワタリ"},
      {u"先手ヨセ", u"逆ヨセ", u"ハネツギ", u"二線のサガリ", u"一線のハネ", u"後手ヨセ", u"大ヨセ", u"コウのヨセ"},
      {u"隅の曲がり四目", u"一眼と欠け眼", u"中手", u"隅のマガリ", u"ナカデ", u"セキ", u"二段コウ", u"眼あり眼なし",
       u"隅の特殊性", u"押さえとハネ"},
      {u"星・小ゲイマ掛かり", u"星・一間高掛かり", u"小目・小ゲイマ掛かり", u"小目・一間高掛かり", u"目ハズシ・小目",
       u"高目・小目", u"三々入り", u"星・両掛かり", u"小目・大ゲイマ", u"二間高掛かり"},
  };
  return themes[category];
}

Str SubCategoryName(int thousands) {
  return thousands == 1 ? Str(u"基本") : thousands == 2 ? Str(u"応用") : Str(u"重要");
}

// `serial` counts the list records of the same number (定石 only), so that
// they sort in file order as the list shows them.
Str ProblemTitle(int category, int16_t number, int serial) {
  const std::vector<Str>& themes = Themes(category);
  const Str theme = themes[static_cast<size_t>(number) % themes.size()];
  if (category == 4) return u"：" + theme + u"　変化" + Num(serial + 1);
  return u"：" + SubCategoryName(number / 1000) + u"・" + theme + u"　第" + Num(number % 1000) + u"問";
}

Str CommentText(int category, const Seq& s, int serial, bool extra) {
  static const char16_t* correct[] = {u"正解です。", u"これが本筋です。", u"好手です。", u"最善の応手です。"};
  static const char16_t* wrong[] = {u"失敗です。", u"これは悪手です。", u"無理な手です。", u"筋違いです。"};
  const Str colour = ColourAt(category, s.start) == Black ? Str(u"黒") : Str(u"白");
  Str text = (s.wrong ? wrong : correct)[serial % 4];
  text += colour + Num(s.start) + (s.wrong ? u"では眼がありません。" : u"が急所になります。");
  if (extra) text = u"補足：" + text;
  return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void Put(std::string& file, int record, const std::string& bytes) {
  const size_t at = static_cast<size_t>(record - 1) * bytes.size();
  if (file.size() < at + bytes.size()) file.resize(at + bytes.size(), '\0');
  file.replace(at, bytes.size(), bytes);
}

struct Files {
  std::string list, moves, answers, comments;
};

void WriteCategory(Files& files, int category, const FullDataOptions& options, Rng& rng) {
  const int listFirst = BlockFirst(ProblemFile::List, category);
  const int listLast = BlockLast(ProblemFile::List, category);
  const int movesFirst = BlockFirst(ProblemFile::Moves, category);
  const int movesCount = BlockLast(ProblemFile::Moves, category) - movesFirst + 1;
  const int answersFirst = BlockFirst(ProblemFile::Answers, category);
  const int answersCount = BlockLast(ProblemFile::Answers, category) - answersFirst + 1;
  const int commentsFirst = BlockFirst(ProblemFile::Comments, category);
  const int commentsCount = BlockLast(ProblemFile::Comments, category) - commentsFirst + 1;
  const int listCount = listLast - listFirst + 1;

  // The problem list, in ascending number order.
  std::vector<int16_t> numbers;
  if (category == 4) {
    // Comment keys and list lines take the first four characters for the
    // number, so 定石 uses four-digit numbers too.
    for (int i = 0; i < listCount; ++i) numbers.push_back(static_cast<int16_t>(1001 + i * 8999L / listCount));
  } else {
    for (int n = 1001; n <= 1200; ++n) numbers.push_back(static_cast<int16_t>(n));
    for (int n = 2001; n <= 2150; ++n) numbers.push_back(static_cast<int16_t>(n));
    for (int n = 3001; n <= 3150; ++n) numbers.push_back(static_cast<int16_t>(n));
  }
  if (static_cast<int>(numbers.size()) != listCount) throw std::logic_error("list block not filled");
  for (int i = 0, serial = 0; i < listCount; ++i) {
    const int16_t n = numbers[static_cast<size_t>(i)];
    serial = i > 0 && numbers[static_cast<size_t>(i - 1)] == n ? serial + 1 : 0;
    Put(files.list, listFirst + i, ProblemListRecord{n, ProblemTitle(category, n, serial)}.Encode());
  }

  // Problems with a position and answers: every problem of 手筋, ヨセ and 詰碁;
  // in 定石 as many as the set-up block holds at four stones each.
  std::vector<Tree> trees;
  std::vector<int> setupSizes;
  if (category == 4) {
    const int problems = (movesCount + 3) / 4;
    for (int i = 0; i < problems; ++i) {
      trees.push_back({});
      trees.back().number = static_cast<int16_t>(1001 + i);
      setupSizes.push_back(i == problems - 1 ? movesCount - 4 * (problems - 1) : 4);
    }
  } else {
    for (int16_t n : numbers) {
      trees.push_back({});
      trees.back().number = n;
      setupSizes.push_back(SetupStones);
    }
    if (SetupStones * static_cast<int>(trees.size()) != movesCount) throw std::logic_error("set-up block not filled");
  }
  for (size_t i = 0; i < trees.size(); ++i)
    trees[i].setup =
        category == 4 ? SetupStonesFor(setupSizes[i], 6, 6, rng) : SetupStonesFor(setupSizes[i], 10, 8, rng);

  // Answer trees: one large one, the rest share what the block has left.
  const size_t big = trees.size() / 2;
  const int bigLines = options.bigTreeLines[category];
  const int rest = answersCount - bigLines;
  const int others = static_cast<int>(trees.size()) - 1;
  std::vector<int> budgets(trees.size(), rest / others);
  budgets[big] = bigLines;
  {
    std::vector<size_t> extra;
    for (size_t i = 0; i < trees.size(); ++i)
      if (i != big) extra.push_back(i);
    rng.Shuffle(extra);
    for (int k = 0; k < rest % others; ++k) ++budgets[extra[static_cast<size_t>(k)]];
  }
  const int maxLength = category == 4 ? 4 : 3;
  for (size_t i = 0; i < trees.size(); ++i) {
    if (i == big)
      BuildBigTree(trees[i], budgets[i], rng);
    else
      BuildSmallTree(trees[i], budgets[i], maxLength, category == 4 ? 6 : 3, rng);
  }

  std::vector<std::pair<int, int>> order;
  for (int attempt = 0;; ++attempt) {
    if (attempt > 200) throw std::logic_error("no layout keeps record 99 clear");
    order = RegistrationOrder(trees, rng);
    int record = answersFirst;
    for (const auto& [t, s] : order) {
      Seq& seq = trees[static_cast<size_t>(t)].seqs[static_cast<size_t>(s)];
      seq.head = record;
      record += static_cast<int>(seq.points.size());
    }
    if (record - answersFirst != answersCount) throw std::logic_error("answer block not filled");
    if (category != 1 || Record99Safe(trees)) break;
  }

  // Set-up stones, problem by problem in the order they were first registered.
  {
    std::vector<char> written(trees.size(), 0);
    int record = movesFirst;
    for (const auto& [t, s] : order) {
      if (written[static_cast<size_t>(t)]) continue;
      written[static_cast<size_t>(t)] = 1;
      for (const auto& [colour, point] : trees[static_cast<size_t>(t)].setup)
        Put(files.moves, record++, ProblemMoveRecord{trees[static_cast<size_t>(t)].number, colour, point}.Encode());
    }
    if (record - movesFirst != movesCount) throw std::logic_error("set-up block not filled");
  }

  for (const auto& [t, s] : order) {
    const Tree& tree = trees[static_cast<size_t>(t)];
    const Seq& seq = tree.seqs[static_cast<size_t>(s)];
    for (size_t i = 0; i < seq.points.size(); ++i) {
      AnswerMoveRecord r;
      r.ProblemNumber = tree.number;
      r.MoveIndex = static_cast<int16_t>(seq.start + static_cast<int>(i));
      r.SignedColour = static_cast<int16_t>(ColourAt(category, r.MoveIndex) * (i == 0 && seq.wrong ? -1 : 1));
      r.Point = seq.points[i];
      r.RecordNumber = static_cast<int16_t>(seq.head + static_cast<int>(i));
      r.BranchLink = i > 0            ? int16_t{0}
                     : seq.parent < 0 ? StartsAtProblem
                                      : static_cast<int16_t>(tree.seqs[static_cast<size_t>(seq.parent)].Last());
      Put(files.answers, r.RecordNumber, r.Encode());
    }
  }

  // Comments on sequence heads, registered with their sequences: every head
  // of the large tree, then heads of other problems until the block is full.
  std::vector<std::pair<int, int>> heads = order;  // registration order is record order
  std::vector<std::pair<int, int>> chosen;
  for (const auto& h : heads)
    if (static_cast<size_t>(h.first) == big) chosen.push_back(h);
  {
    std::vector<std::pair<int, int>> others;
    for (const auto& h : heads)
      if (static_cast<size_t>(h.first) != big) others.push_back(h);
    rng.Shuffle(others);
    for (const auto& h : others)
      if (static_cast<int>(chosen.size()) < commentsCount) chosen.push_back(h);
  }
  std::vector<std::pair<int, int>> commentOrder;  // head record, how many before on that head
  {
    std::map<int, int> onHead;
    for (const auto& [t, s] : chosen) onHead[trees[static_cast<size_t>(t)].seqs[static_cast<size_t>(s)].head] = 1;
    // 定石 has more comment records than heads: the heads take further comments
    // in turn until the block is full.
    std::vector<int> headRecords;
    for (const auto& [r, n] : onHead) headRecords.push_back(r);
    int total = static_cast<int>(onHead.size());
    for (size_t k = 0; total < commentsCount; k = (k + 1) % headRecords.size(), ++total) ++onHead[headRecords[k]];
    for (const auto& [r, n] : onHead)
      for (int k = 0; k < n; ++k) commentOrder.push_back({r, k});
  }
  if (static_cast<int>(commentOrder.size()) != commentsCount) throw std::logic_error("comment block not filled");
  std::map<int, std::pair<int, int>> byHead;
  for (const auto& [t, s] : order) byHead[trees[static_cast<size_t>(t)].seqs[static_cast<size_t>(s)].head] = {t, s};
  int record = commentsFirst;
  for (const auto& [head, k] : commentOrder) {
    const auto [t, s] = byHead.at(head);
    const Tree& tree = trees[static_cast<size_t>(t)];
    CommentRecord c{tree.number, static_cast<int16_t>(head),
                    CommentText(category, tree.seqs[static_cast<size_t>(s)], record, k > 0)};
    Put(files.comments, record++, c.Encode());
  }
}

// Liberties of the group at `point` after a stone of `colour` would be put
// there, counting the captures it makes; only to keep the games sensible.
bool WouldLive(const GameState& s, int point, int colour) {
  auto groupLiberties = [&](int start, const std::array<int16_t, PointCount + 1>& board) {
    std::vector<char> seen(PointCount + 1, 0);
    std::vector<int> stack{start};
    seen[static_cast<size_t>(start)] = 1;
    int liberties = 0;
    std::vector<char> counted(PointCount + 1, 0);
    while (!stack.empty()) {
      const int p = stack.back();
      stack.pop_back();
      for (int d = 1; d <= 4; ++d) {
        const int q = NeighbourPoint(p, d);
        if (q == 0) continue;
        if (board[static_cast<size_t>(q)] == 0) {
          if (!counted[static_cast<size_t>(q)]) ++liberties;
          counted[static_cast<size_t>(q)] = 1;
        } else if (board[static_cast<size_t>(q)] == board[static_cast<size_t>(start)] &&
                   !seen[static_cast<size_t>(q)]) {
          seen[static_cast<size_t>(q)] = 1;
          stack.push_back(q);
        }
      }
    }
    return liberties;
  };
  std::array<int16_t, PointCount + 1> board = s.Board;
  board[static_cast<size_t>(point)] = static_cast<int16_t>(colour);
  for (int d = 1; d <= 4; ++d) {
    const int q = NeighbourPoint(point, d);
    if (q != 0 && board[static_cast<size_t>(q)] == Opponent(static_cast<int16_t>(colour)) &&
        groupLiberties(q, board) == 0)
      return true;
  }
  return groupLiberties(point, board) > 0;
}

std::vector<MoveEntry> PlayGame(Rng& rng) {
  GameState s;
  std::vector<MoveEntry> moves;
  for (int j = 1; j <= MovesPerGame; ++j) {
    const int16_t colour = j % 2 == 1 ? Black : White;
    std::vector<int> empty;
    for (int p = 1; p <= PointCount; ++p)
      if (s.Board[static_cast<size_t>(p)] == 0) empty.push_back(p);
    if (empty.empty()) throw std::logic_error("game board full");
    rng.Shuffle(empty);
    int chosen = empty.front();
    for (int p : empty)
      if (WouldLive(s, p, colour)) {
        chosen = p;
        break;
      }
    s.MoveCount = static_cast<int16_t>(j);
    s.Board[static_cast<size_t>(chosen)] = colour;
    PlaceStone(s, chosen, colour, j);
    moves.push_back({static_cast<int16_t>(j), colour, static_cast<int16_t>(chosen)});
  }
  return moves;
}

void WriteGames(const std::string& dir, Rng& rng) {
  static const char16_t* titles[] = {u"秀策流の研究", u"中国流対策", u"小林流の変化", u"三連星の布石", u"向かい小目",
                                     u"タスキ小目",   u"ミニ中国流", u"高中国流",     u"星と小目",     u"二連星"};
  std::string list;
  Put(list, 1, std::string(GameListRecordLength, '\0'));
  for (int c = 1; c <= 4; ++c) {
    std::string rec(GameListRecordLength, '\0');
    PutInt16(rec, 0, 0);
    rec.replace(2, GameListRecordLength - 2, EncodeFixed(u"基本形　応用編　重要型", GameListRecordLength - 2));
    Put(list, c + 1, rec);
  }
  for (int r = 6; r <= 10; ++r) Put(list, r, std::string(GameListRecordLength, '\0'));
  for (int g = 1; g <= GamesStored; ++g) {
    const Str line = Right(Num(100 + g), 2) + u"：第" + Num(g) + u"局　" + titles[g % 10] + u"（24-0" + Num(g % 9 + 1) +
                     u"-" + Right(Num(100 + g % 28 + 1), 2) + u")";
    std::string rec(GameListRecordLength, '\0');
    PutInt16(rec, 0, static_cast<int16_t>(g));
    rec.replace(2, GameListRecordLength - 2, EncodeFixed(Mid(line, 3, 36), GameListRecordLength - 2));
    Put(list, g + 10, rec);
  }
  std::vector<int> gameOrder(GamesStored);
  std::iota(gameOrder.begin(), gameOrder.end(), 1);
  rng.Shuffle(gameOrder);
  std::string moves;
  int record = 1;
  for (int g : gameOrder)
    for (const MoveEntry& e : PlayGame(rng)) {
      std::string rec(GameMoveRecordLength, '\0');
      PutInt16(rec, 0, static_cast<int16_t>(g));
      PutInt16(rec, 2, e.Number);
      PutInt16(rec, 4, e.Colour);
      PutInt16(rec, 6, e.Point);
      Put(moves, record++, rec);
    }
  WriteFile(dir + GameListFileName, list);
  WriteFile(dir + GameMovesFileName, moves);
}

GameState StateFor(const std::string& dir) {
  GameState s;
  SetDataDir(s, dir);
  return s;
}

}  // namespace

std::string WithSlash(const std::string& dir) { return MakeDataDir(dir); }

void WriteFullData(const std::string& dirIn, const FullDataOptions& options) {
  const std::string dir = WithSlash(dirIn);
  Rng rng(options.seed);
  Files files;
  for (int c = 1; c <= 4; ++c) WriteCategory(files, c, options, rng);
  WriteFile(dir + ProblemListFileName, files.list);
  WriteFile(dir + ProblemMovesFileName, files.moves);
  WriteFile(dir + AnswerMovesFileName, files.answers);
  WriteFile(dir + CommentFileName, files.comments);
  WriteGames(dir, rng);
}

CategoryData ReadCategory(const std::string& dir, int category) {
  const GameState s = StateFor(dir);
  return {ScanProblemList(s, category), ScanProblemMoves(s, category), ScanAnswers(s, category),
          ScanComments(s, category)};
}

std::vector<std::string> CheckCategory(const CategoryData& d, int category) {
  std::vector<std::string> faults;
  auto fault = [&](const std::string& what, int record) {
    if (faults.size() < 50)
      faults.push_back("category " + std::to_string(category) + " record " + std::to_string(record) + ": " + what);
  };
  auto full = [&](ProblemFile f, size_t used, const char* name) {
    const int size = BlockLast(f, category) - BlockFirst(f, category) + 1;
    if (static_cast<int>(used) != size)
      fault(std::string(name) + " block holds " + std::to_string(used) + " of " + std::to_string(size), 0);
  };
  full(ProblemFile::List, d.list.size(), "list");
  full(ProblemFile::Moves, d.moves.size(), "set-up");
  full(ProblemFile::Answers, d.answers.size(), "answer");
  full(ProblemFile::Comments, d.comments.size(), "comment");

  std::set<int16_t> listed;
  for (size_t i = 0; i < d.list.size(); ++i) {
    const int16_t n = d.list[i].value.ProblemNumber;
    if (i > 0 && n < d.list[i - 1].value.ProblemNumber) fault("list out of order", d.list[i].record);
    if (category != 4 && (n <= 1000 || n >= 4000 || n % 1000 == 0)) fault("number out of range", d.list[i].record);
    if (category == 4 && (n < 1000 || n > 9999)) fault("number out of range", d.list[i].record);
    if (category != 4 && listed.count(n)) fault("number listed twice", d.list[i].record);
    if (EncodedLength(d.list[i].value.ProblemText) > 40 || Len(RTrim(d.list[i].value.ProblemText)) > 30)
      fault("title too long", d.list[i].record);
    listed.insert(n);
  }
  for (const auto& m : d.moves) {
    if (!listed.count(m.value.ProblemNumber)) fault("set-up stone of an unlisted problem", m.record);
    if (m.value.Point < 1 || m.value.Point > ProblemPoints) fault("set-up stone off the board", m.record);
    if (m.value.Colour != Black && m.value.Colour != White) fault("set-up colour", m.record);
  }

  std::map<int, size_t> byRecord;
  std::map<int, int> continuations;
  for (size_t i = 0; i < d.answers.size(); ++i) {
    const auto& a = d.answers[i];
    const AnswerMoveRecord& r = a.value;
    byRecord[a.record] = i;
    if (r.RecordNumber != a.record) fault("record number field differs", a.record);
    if (!listed.count(r.ProblemNumber)) fault("answer of an unlisted problem", a.record);
    if (r.Point < 1 || r.Point > ProblemPoints) fault("answer move off the board", a.record);
    if (r.MoveIndex < 1 || r.MoveIndex > MaxMoveIndex) fault("move index", a.record);
    const int colour = std::abs(r.SignedColour);
    if (colour != ColourAt(category, r.MoveIndex)) fault("colour does not alternate", a.record);
    if (r.BranchLink == 0) {
      if (r.SignedColour < 0) fault("negative colour inside a sequence", a.record);
      const AnswerMoveRecord* before = i > 0 ? &d.answers[i - 1].value : nullptr;
      if (!before || before->ProblemNumber != r.ProblemNumber || before->MoveIndex + 1 != r.MoveIndex)
        fault("continuation record does not follow its sequence", a.record);
    } else if (r.BranchLink == StartsAtProblem) {
      if (r.MoveIndex != 1) fault("sequence from the problem position does not start at move 1", a.record);
      if (a.record == StartsAtProblem) fault("head at record 99", a.record);
    } else {
      const auto p = byRecord.find(r.BranchLink);
      if (p == byRecord.end() || p->first >= a.record) {
        fault("branch link names no earlier record", a.record);
        continue;
      }
      const AnswerMoveRecord& parent = d.answers[p->second].value;
      if (parent.ProblemNumber != r.ProblemNumber) fault("branch link into another problem", a.record);
      if (parent.MoveIndex + 1 != r.MoveIndex) fault("move index does not go on from the parent", a.record);
      // The parent must end its sequence: the next record of its problem is a head.
      bool last = true;
      for (size_t k = p->second + 1; k < d.answers.size(); ++k)
        if (d.answers[k].value.ProblemNumber == parent.ProblemNumber) {
          last = d.answers[k].value.BranchLink != 0;
          break;
        }
      if (!last) fault("branch from inside a sequence", a.record);
      if (++continuations[r.BranchLink] > MaxContinuations) fault("more than ten continuations", a.record);
    }
  }
  std::map<int, int> perHead;
  for (const auto& c : d.comments) {
    const auto h = byRecord.find(c.value.AnswerRecord);
    if (h == byRecord.end() || d.answers[h->second].value.BranchLink <= 0 ||
        d.answers[h->second].value.ProblemNumber != c.value.ProblemNumber)
      fault("comment on no sequence head of its problem", c.record);
    if (category != 4 && ++perHead[c.value.AnswerRecord] > 1) fault("second comment on a head", c.record);
    if (EncodedLength(RTrim(c.value.CommentText)) > 46) fault("comment too long", c.record);
  }
  return faults;
}

std::vector<std::string> CheckGames(const std::string& dirIn) {
  const std::string dir = WithSlash(dirIn);
  std::vector<std::string> faults;
  const std::string list = ReadWholeFile(dir + GameListFileName);
  const std::string moves = ReadWholeFile(dir + GameMovesFileName);
  if (list.size() != static_cast<size_t>(70 * GameListRecordLength)) faults.push_back("list file is not 70 records");
  for (int g = 1; g <= GamesStored; ++g)
    if (GetInt16(std::string_view(list).substr(static_cast<size_t>(g + 9) * GameListRecordLength), 0) != g)
      faults.push_back("game " + std::to_string(g) + " not listed in record " + std::to_string(g + 10));
  if (moves.size() != static_cast<size_t>(GamesStored * MovesPerGame * GameMoveRecordLength))
    faults.push_back("moves file is not 24000 records");
  std::map<int, GameState> games;
  std::map<int, int> counts;
  for (size_t at = 0; at + GameMoveRecordLength <= moves.size(); at += GameMoveRecordLength) {
    const std::string_view rec = std::string_view(moves).substr(at, GameMoveRecordLength);
    const int g = GetInt16(rec, 0), number = GetInt16(rec, 2), colour = GetInt16(rec, 4), point = GetInt16(rec, 6);
    GameState& s = games[g];
    const int j = ++counts[g];
    if (number != j || colour != (j % 2 == 1 ? Black : White) || point < 1 || point > PointCount ||
        s.Board[static_cast<size_t>(point)] != 0) {
      if (faults.size() < 50)
        faults.push_back("game " + std::to_string(g) + " move " + std::to_string(j) + " is not legal");
      continue;
    }
    s.MoveCount = static_cast<int16_t>(j);
    s.Board[static_cast<size_t>(point)] = static_cast<int16_t>(colour);
    PlaceStone(s, point, colour, number);
  }
  for (const auto& [g, n] : counts)
    if (n != MovesPerGame) faults.push_back("game " + std::to_string(g) + " has " + std::to_string(n) + " moves");
  return faults;
}

TreeLandmarks FindLandmarks(const CategoryData& d) {
  std::map<int16_t, int> lineCount;
  for (const auto& a : d.answers) ++lineCount[a.value.ProblemNumber];
  TreeLandmarks m;
  for (const auto& [n, count] : lineCount)
    if (count > m.lines) {
      m.problem = n;
      m.lines = count;
    }
  std::vector<AnswerMoveRecord> lines;
  for (const auto& a : d.answers)
    if (a.value.ProblemNumber == m.problem) lines.push_back(a.value);
  const int n = static_cast<int>(lines.size());
  std::map<int, int> lineOf;
  for (int i = 0; i < n; ++i) lineOf[lines[static_cast<size_t>(i)].RecordNumber] = i;
  auto isHead = [&](int i) { return i < n && lines[static_cast<size_t>(i)].BranchLink > 0; };
  auto headOf = [&](int i) {
    while (i > 0 && !isHead(i)) --i;
    return i;
  };
  auto lastOf = [&](int i) {
    while (i + 1 < n && !isHead(i + 1)) ++i;
    return i;
  };
  std::map<int, std::vector<int>> children;  // parent line -> child heads
  for (int i = 0; i < n; ++i) {
    const int link = lines[static_cast<size_t>(i)].BranchLink;
    if (link > 0 && link != StartsAtProblem) children[lineOf.at(link)].push_back(i);
  }
  for (int i = 0; i < n; ++i) {
    if (!isHead(i)) continue;
    int depth = 1;
    for (int h = i; lines[static_cast<size_t>(h)].BranchLink != StartsAtProblem; ++depth)
      h = headOf(lineOf.at(lines[static_cast<size_t>(h)].BranchLink));
    if (depth >= m.deepestChain) {
      m.deepestChain = depth;
      m.deepestHead = i;
    }
  }
  for (const auto& [parent, kids] : children)
    if (static_cast<int>(kids.size()) == MaxContinuations) {
      m.wideParent = parent;
      m.wideChildren = kids;
      break;
    }
  if (m.wideParent >= 0) {
    for (int i = m.wideParent;;) {
      m.pathToWide.push_back(i);
      if (isHead(i)) {
        if (lines[static_cast<size_t>(i)].BranchLink == StartsAtProblem) break;
        i = lineOf.at(lines[static_cast<size_t>(i)].BranchLink);
      } else {
        --i;
      }
    }
    std::reverse(m.pathToWide.begin(), m.pathToWide.end());
  }
  std::set<int> commented;
  for (const auto& c : d.comments)
    if (c.value.ProblemNumber == m.problem) commented.insert(c.value.AnswerRecord);
  for (int i = 0; i < n; ++i)
    if (isHead(i) && commented.count(lines[static_cast<size_t>(i)].RecordNumber) && !children.count(lastOf(i)))
      m.leafHead = i;
  // The sequence from the problem position with the most records below it.
  int most = 0;
  for (int i = 0; i < n; ++i) {
    if (!isHead(i) || lines[static_cast<size_t>(i)].BranchLink != StartsAtProblem) continue;
    int records = 0;
    std::vector<int> work{i};
    while (!work.empty()) {
      const int h = work.back();
      work.pop_back();
      const int last = lastOf(h);
      records += last - h + 1;
      if (children.count(last))
        for (int k : children.at(last)) work.push_back(k);
    }
    if (records > most) {
      most = records;
      m.biggestTail = i;
    }
  }
  return m;
}

}  // namespace sol::bench
