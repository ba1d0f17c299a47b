// The starter library's SGF files read as plain trees, for the checks that
// every shipped problem says what it teaches: each root-to-leaf line with its
// leaf comment, the private target (XT) and endgame runs (YB, YW), and a
// replay of a line on the program's own capture rule.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/capture.h"
#include "core/game_state.h"
#include "sgf/sgf_game.h"
#include "sgf/sgf_tree.h"

namespace sol::starter {

struct Stone {
  int Colour = 0;
  int Point = 0;
};

struct Line {
  std::vector<Stone> Moves;
  std::string LeafComment;    // UTF-8, "" when the leaf has none
  bool FirstMoveBad = false;  // BM on the line's first move
  bool Correct() const { return LeafComment.rfind("正解", 0) == 0; }
  bool Wrong() const { return LeafComment.rfind("失敗", 0) == 0; }
};

struct Problem {
  std::string File;  // e.g. "tsumego/kihon.sgf"
  int Index = 0;     // 1-based place in the file
  std::string Title;
  std::string ToPlay;  // PL
  std::vector<Stone> Setup;
  std::optional<int> Target;                  // XT
  std::vector<Stone> BlackFirst, WhiteFirst;  // YB, YW
  std::vector<Line> Lines;
  std::string Name() const { return File + " #" + std::to_string(Index) + " " + Title; }
};

inline const char* const SubFiles[] = {"kihon.sgf", "ouyou.sgf", "juuyou.sgf"};

inline int PointOf(const std::string& v) {
  const std::optional<int> p = sgf::PointFromSgf(v);
  return p ? *p : -1;
}

inline std::vector<Stone> Stones(const sgf::GameTree& t, int node, const char* id, int colour) {
  std::vector<Stone> out;
  if (const sgf::Property* p = t.Find(node, id))
    for (const std::string& v : p->Values) out.push_back({colour, PointOf(v)});
  return out;
}

// Every line from the root to a leaf, in tree order.
inline void CollectLines(const sgf::GameTree& t, int node, Line line, std::vector<Line>& out) {
  for (const char* id : {"B", "W"})
    if (const sgf::Property* p = t.Find(node, id)) {
      if (line.Moves.empty()) line.FirstMoveBad = t.Find(node, "BM") != nullptr;
      line.Moves.push_back({id[0] == 'B' ? Black : White, PointOf(p->Values.front())});
    }
  const std::vector<int> children = t.Children(node);
  if (children.empty()) {
    line.LeafComment = t.Value(node, "C");
    out.push_back(line);
    return;
  }
  for (int c : children) CollectLines(t, c, line, out);
}

inline std::vector<Problem> Load(const std::string& file) {
  std::ifstream in(std::string(SOLNEKA_STARTER_DIR) + "/" + file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::vector<Problem> out;
  if (!in) {
    ADD_FAILURE() << file << " cannot be read";
    return out;
  }
  const sgf::Collection c = sgf::ParseCollection(bytes.str());
  for (size_t i = 0; i < c.Games.size(); ++i) {
    const sgf::GameTree& t = c.Games[i];
    Problem p;
    p.File = file;
    p.Index = static_cast<int>(i + 1);
    p.Title = t.Value(0, "GN");
    p.ToPlay = t.Value(0, "PL");
    p.Setup = Stones(t, 0, "AB", Black);
    for (const Stone& s : Stones(t, 0, "AW", White)) p.Setup.push_back(s);
    if (t.Find(0, "XT")) p.Target = PointOf(t.Value(0, "XT"));
    p.BlackFirst = Stones(t, 0, "YB", 0);
    p.WhiteFirst = Stones(t, 0, "YW", 0);
    for (int c2 : t.Children(0)) CollectLines(t, c2, {}, p.Lines);
    out.push_back(std::move(p));
  }
  return out;
}

// Every problem of a category folder ("tsumego", …), all three files.
inline std::vector<Problem> LoadCategory(const std::string& folder) {
  std::vector<Problem> all;
  for (const char* f : SubFiles)
    for (Problem& p : Load(folder + "/" + f)) all.push_back(std::move(p));
  return all;
}

struct Replay {
  BoardPoints Board{};
  bool Legal = true;
  std::string Why;
  int CapturedBlack = 0;  // Black stones taken off
  int CapturedWhite = 0;
};

// Puts the set-up on an empty board and plays `moves` on it with the
// program's capture rule. A move off the board or on a stone, or one that
// leaves its own group without a liberty, makes the replay illegal.
inline Replay Play(const Problem& p, const std::vector<Stone>& moves) {
  Replay r;
  for (const Stone& s : p.Setup) {
    if (s.Point < 1 || r.Board[s.Point] != Empty) {
      r.Legal = false;
      r.Why = "set-up stone off the board or on a stone";
      return r;
    }
    r.Board[s.Point] = static_cast<int16_t>(s.Colour);
  }
  for (size_t i = 0; i < moves.size(); ++i) {
    const Stone& m = moves[i];
    if (m.Point < 1 || r.Board[m.Point] != Empty) {
      r.Legal = false;
      r.Why = "move " + std::to_string(i + 1) + " off the board or on a stone";
      return r;
    }
    r.Board[m.Point] = static_cast<int16_t>(m.Colour);
    const Capture c = TakeOffDeadGroups(r.Board, m.Point, Opponent(static_cast<int16_t>(m.Colour)));
    (c.Colour == Black ? r.CapturedBlack : r.CapturedWhite) += c.Count;
    if (!HasLiberty(r.Board, m.Point)) {
      r.Legal = false;
      r.Why = "move " + std::to_string(i + 1) + " is suicide";
      return r;
    }
  }
  return r;
}

// The program's board holds the left 13 columns of the problem board.
inline bool InWindow(int point) { return point >= 1 && (point - 1) / BoardSize < 13; }

}  // namespace sol::starter
