// The form of every shipped problem: each file is full enough, every line
// can be played on the problem board from the right colour, every leaf says
// 正解 or 失敗 in a line the window can show, wrong turns are marked; and a
// 手筋 answer really takes its target off the board while a wrong try leaves
// it standing.
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/starter/starter_lines.h"

namespace sol::starter {
namespace {

struct Category {
  const char* Folder;
  int FirstColour;
  const char* Pl;
};

constexpr Category Tesuji{"tesuji", Black, "B"};
constexpr Category Categories[] = {Tesuji, {"yose", Black, "B"}, {"tsumego", Black, "B"}, {"joseki", White, "W"}};

int CharCount(const std::string& utf8) {
  int n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

std::string MoveText(const Line& l) {
  std::string s;
  for (const Stone& m : l.Moves) {
    const int x = (m.Point - 1) / BoardSize, y = (m.Point - 1) % BoardSize;
    s += m.Colour == Black ? " B" : " W";
    s += static_cast<char>('a' + x);
    s += static_cast<char>('a' + y);
  }
  return s;
}

void ExpectFullFiles(const Category& c) {
  std::map<std::string, int> count;
  for (const Problem& p : LoadCategory(c.Folder)) ++count[p.File];
  for (const char* f : SubFiles) {
    const std::string file = std::string(c.Folder) + "/" + f;
    EXPECT_GE(count[file], 5) << file;
  }
}

void ExpectPlayableLines(const Category& c) {
  for (const Problem& p : LoadCategory(c.Folder)) {
    EXPECT_EQ(p.ToPlay, c.Pl) << p.Name();
    for (const Stone& s : p.Setup) EXPECT_TRUE(InWindow(s.Point)) << p.Name() << ": set-up stone " << s.Point;
    for (const Line& l : p.Lines) {
      ASSERT_FALSE(l.Moves.empty()) << p.Name() << ": a leaf without a move";
      EXPECT_LE(l.Moves.size(), 30u) << p.Name() << MoveText(l);
      int colour = c.FirstColour;
      for (const Stone& m : l.Moves) {
        EXPECT_EQ(m.Colour, colour) << p.Name() << MoveText(l);
        EXPECT_TRUE(InWindow(m.Point)) << p.Name() << MoveText(l);
        colour = Opponent(static_cast<int16_t>(colour));
      }
      const Replay r = Play(p, l.Moves);
      EXPECT_TRUE(r.Legal) << p.Name() << MoveText(l) << ": " << r.Why;
    }
  }
}

void ExpectCommentedLeaves(const Category& c) {
  for (const Problem& p : LoadCategory(c.Folder)) {
    EXPECT_FALSE(p.Title.empty()) << p.Name();
    EXPECT_LE(CharCount(p.Title), 15) << p.Name();
    int correct = 0, wrong = 0;
    for (const Line& l : p.Lines) {
      correct += l.Correct();
      wrong += l.Wrong();
      EXPECT_TRUE(l.Correct() || l.Wrong()) << p.Name() << MoveText(l) << ": " << l.LeafComment;
      const std::string head = l.Correct() ? "正解\n" : "失敗\n";
      ASSERT_EQ(l.LeafComment.rfind(head, 0), 0u) << p.Name() << MoveText(l);
      const std::string text = l.LeafComment.substr(head.size());
      EXPECT_FALSE(text.empty()) << p.Name() << MoveText(l);
      EXPECT_EQ(text.find('\n'), std::string::npos) << p.Name() << MoveText(l);
      EXPECT_LE(CharCount(text), 23) << p.Name() << MoveText(l) << ": " << text;
    }
    EXPECT_GE(correct, 1) << p.Name();
    EXPECT_GE(wrong, 1) << p.Name();
  }
}

// Per leaf, the moves with whether each node carries BM, read straight from
// the tree because the lines above keep the mark of the first move only.
struct MarkedLine {
  std::vector<int> Points;
  std::vector<bool> Bad;
  bool Correct = false;
};

void Marks(const sgf::GameTree& t, int node, MarkedLine line, std::vector<MarkedLine>& out) {
  for (const char* id : {"B", "W"})
    if (const sgf::Property* p = t.Find(node, id)) {
      line.Points.push_back(PointOf(p->Values.front()));
      line.Bad.push_back(t.Find(node, "BM") != nullptr);
    }
  const std::vector<int> children = t.Children(node);
  if (children.empty()) {
    line.Correct = t.Value(node, "C").rfind("正解", 0) == 0;
    out.push_back(line);
  }
  for (int ch : children) Marks(t, ch, line, out);
}

// The move where a wrong line leaves every correct line carries BM, and no
// move of a correct line does.
void ExpectMarkedWrongTurns(const Category& c) {
  for (const char* f : SubFiles) {
    const std::string file = std::string(c.Folder) + "/" + f;
    std::ifstream in(std::string(SOLNEKA_STARTER_DIR) + "/" + file, std::ios::binary);
    if (!in) continue;  // LoadCategory reports a missing file
    std::stringstream bytes;
    bytes << in.rdbuf();
    const sgf::Collection col = sgf::ParseCollection(bytes.str());
    for (size_t g = 0; g < col.Games.size(); ++g) {
      const std::string name = file + " #" + std::to_string(g + 1);
      std::vector<MarkedLine> lines;
      Marks(col.Games[g], 0, {}, lines);
      std::set<std::vector<int>> correctPrefixes;
      for (const MarkedLine& l : lines)
        if (l.Correct)
          for (size_t i = 0; i <= l.Points.size(); ++i)
            correctPrefixes.insert(std::vector<int>(l.Points.begin(), l.Points.begin() + i));
      for (const MarkedLine& l : lines) {
        if (l.Correct) {
          for (bool b : l.Bad) EXPECT_FALSE(b) << name << ": BM on a correct line";
          continue;
        }
        size_t turn = 0;
        while (turn < l.Points.size() &&
               correctPrefixes.count(std::vector<int>(l.Points.begin(), l.Points.begin() + turn + 1)))
          ++turn;
        ASSERT_LT(turn, l.Points.size()) << name << ": a wrong line that is all correct moves";
        EXPECT_TRUE(l.Bad[turn]) << name << ": no BM on move " << turn + 1 << " of a wrong line";
      }
    }
  }
}

TEST(StarterForm, EveryFileHoldsFiveProblems) {
  for (const Category& c : Categories) ExpectFullFiles(c);
}
TEST(StarterForm, LinesArePlayableFromTheRightColour) {
  for (const Category& c : Categories) ExpectPlayableLines(c);
}
TEST(StarterForm, LeavesSayCorrectOrWrongBriefly) {
  for (const Category& c : Categories) ExpectCommentedLeaves(c);
}
TEST(StarterForm, WrongTurnsAreMarked) {
  for (const Category& c : Categories) ExpectMarkedWrongTurns(c);
}

TEST(StarterTesuji, CorrectLinesTakeTheTargetAndWrongOnesDoNot) {
  int withTarget = 0, problems = 0;
  for (const Problem& p : LoadCategory(Tesuji.Folder)) {
    ++problems;
    if (!p.Target) continue;
    ++withTarget;
    const int t = *p.Target;
    const Replay start = Play(p, {});
    ASSERT_TRUE(InWindow(t)) << p.Name();
    EXPECT_EQ(start.Board[t], White) << p.Name() << ": XT is not on a white stone";
    for (const Line& l : p.Lines) {
      const Replay r = Play(p, l.Moves);
      if (l.Correct()) {
        EXPECT_EQ(r.Board[t], Empty) << p.Name() << MoveText(l) << ": target still on the board";
      }
      if (l.Wrong()) {
        EXPECT_EQ(r.Board[t], White) << p.Name() << MoveText(l) << ": target gone after a wrong try";
      }
    }
  }
  EXPECT_GE(withTarget * 4, problems * 3) << "most 手筋 problems capture";
}

}  // namespace
}  // namespace sol::starter
