// The largest data set the file formats allow, for timing the program on
// full files: every block of the four problem files filled to its last
// record (定石 to record 32767), sixty games of 400 moves each.
//
// Two blocks cannot be both full and tidy: a problem number has four digits,
// so the 31,267 list records of 定石 repeat each of the numbers 1001..9999
// three or four times; and 定石 has more comment records (31,267) than answer records
// (26,767), so after every sequence head has one comment, the rest are further
// comments on the same heads. Everything else follows the rules the program
// keeps: ascending list, answer records that carry their own record number,
// branch links to the last record of an earlier sequence of the same problem
// with the move index going on, wrong lines with a negative first colour,
// comments on sequence heads, no record 99 that could be mistaken for the
// problem position, legal game moves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "problems/store.h"

namespace sol::bench {

struct FullDataOptions {
  unsigned seed = 20240501;
  // Answer records of the one large tree each category gets.
  int bigTreeLines[5] = {0, 400, 400, 400, 1200};
};

// Writes 棋譜一覧.dat, 棋譜手順.dat and the four problem files into dir
// (which must exist), replacing what is there.
void WriteFullData(const std::string& dir, const FullDataOptions& options = {});

// The problems of a category as the program stores them, read back from the
// files in dir (a directory with a trailing separator or without).
struct CategoryData {
  std::vector<Numbered<ProblemListRecord>> list;
  std::vector<Numbered<ProblemMoveRecord>> moves;
  std::vector<Numbered<AnswerMoveRecord>> answers;
  std::vector<Numbered<CommentRecord>> comments;
};
CategoryData ReadCategory(const std::string& dir, int category);

// Rule breaks in the stored data of a category, one text per fault; empty
// when the data is as the program keeps it (the two relaxations of 定石 above
// are not faults).
std::vector<std::string> CheckCategory(const CategoryData& data, int category);
std::vector<std::string> CheckGames(const std::string& dir);

// Landmarks of the largest answer tree of a category, as line indexes into
// that problem's answer list (the lines the problem window shows, in file
// order).
struct TreeLandmarks {
  int16_t problem = 0;
  int lines = 0;
  // The head of the sequence whose chain of parents back to the problem
  // position is longest, and that chain's length in sequences.
  int deepestHead = -1;
  int deepestChain = 0;
  // The last line of a sequence with ten continuations, and those
  // continuations' heads.
  int wideParent = -1;
  std::vector<int> wideChildren;
  // The lines from the problem position to wideParent, in move order.
  std::vector<int> pathToWide;
  // A sequence head with a comment and no further sequence below its
  // sequence (its removal takes only itself), and a line of the answer
  // list whose tail takes the most sequences with it.
  int leafHead = -1;
  int biggestTail = -1;
};
TreeLandmarks FindLandmarks(const CategoryData& data);

// The data directory with exactly one trailing separator.
std::string WithSlash(const std::string& dir);

}  // namespace sol::bench
