// Problem collections taken in from SGF files: each file read and every
// problem in it converted, then all of them stored in one category under
// free numbers of one sub-category. What was skipped is said per problem.
#pragma once

#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/text.h"
#include "problems/sgf_problems.h"

namespace sol {

struct ReadProblem {
  Str Source;  // the file name, and the problem's place when the file holds several
  ImportedProblem Problem;
};

struct ReadProblems {
  std::vector<ReadProblem> Problems;
  std::vector<Str> Skipped;  // "source：reason", one per file or problem left out
  std::vector<Str> Notes;    // how files were read and problems turned, for the summary
};

// Reads every file and converts every game in it for `category`.
ReadProblems ReadProblemFiles(const std::vector<std::string>& paths, int category);

struct StoredProblems {
  std::vector<int> Numbers;  // the numbers the problems were stored under, in file order
  std::vector<Str> Skipped;  // problems that did not fit, with the reason
};

// Stores the problems in the category's blocks, each under the next free
// number above `base` (1000, 2000 or 3000). A problem that does not fit the
// blocks or the sub-category is skipped whole. All four files are written
// once; the caller runs this inside one file command, so that a failure
// puts every file back. FileError on a file error.
StoredProblems StoreProblems(GameState& s, int category, int base, const std::vector<ReadProblem>& problems);

// The starter library that comes with the program: in its share folder
// (beside it when portable), in the folder "problems", one folder per
// category.
std::string StarterLibrary(const GameState& s);
// The sub-category base of a starter file: kihon 1000, ouyou 2000, juuyou
// 3000; 0 for a file of another name.
int StarterBase(const std::string& fileName);
// The folder of a category's starter files under the starter library.
std::string StarterFolder(int category);
// The starter files of a category, in sub-category order, that exist under
// `library` (a folder ending in '/').
std::vector<std::string> StarterFiles(const std::string& library, int category);

// Whether the data folder holds no problems yet: none of the four problem
// files, or only empty ones.
bool HasNoProblemFiles(const GameState& s);
// Fills every category from the starter library, each file into its own
// sub-category; returns how many problems were stored. FileError.
long StoreStarterLibrary(GameState& s);

}  // namespace sol
