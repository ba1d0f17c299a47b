// A small, well-formed set of the seven data files: three stored games and,
// in every problem category, three problems with set-up stones, correct and
// wrong answer sequences with continuations, and comments. The fuzz targets
// damage one file of it at a time; the monkey test starts from it.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "problems/store.h"
#include "records/game_files.h"

namespace sol::sample {

inline std::string Moves(const std::vector<GameMoveRecord>& records) {
  std::string out;
  for (const GameMoveRecord& r : records) out += r.Encode();
  return out;
}

// Games 1 (the adjourned one), 2 and 3, their moves interleaved. Game 3
// takes the white stone on 181 with its seventh move.
inline std::vector<GameMoveRecord> GameMoves() {
  return {
      {1, 1, Black, 61},  {1, 2, White, 301}, {2, 1, Black, 73},  {1, 3, Black, 289}, {2, 2, White, 289},
      {3, 1, Black, 180}, {3, 2, White, 181}, {3, 3, Black, 182}, {2, 3, Black, 60},  {3, 4, White, 1},
      {3, 5, Black, 162}, {3, 6, White, 19},  {3, 7, Black, 200}, {2, 4, White, 61},  {3, 8, White, 2},
  };
}

inline std::string GameMovesFile() { return Moves(GameMoves()); }

inline std::string GameListFile() {
  std::string file(10 * GameListRecord::Length, '\0');
  for (int c = 1; c <= 4; ++c) {
    GameListRecord names{0, u"初級 中級 上級"};
    file.replace(static_cast<size_t>(c) * GameListRecord::Length, GameListRecord::Length, names.Encode());
  }
  file += GameListRecord{1, u"：打掛け（24-01-01)"}.Encode();
  file += GameListRecord{2, u"：第一局（24-02-03)"}.Encode();
  file += GameListRecord{3, u"：石を取る（24-03-04)"}.Encode();
  return file;
}

// Bytes of a problem file with `records` placed at the start of each
// category's block (the same records in every category).
inline std::string InEveryBlock(ProblemFile f, const std::vector<std::string>& records) {
  std::string file;
  const size_t length = static_cast<size_t>(RecordLength(f));
  for (int c = 1; c <= 4; ++c) {
    file.resize(static_cast<size_t>(BlockFirst(f, c) - 1) * length, '\0');
    for (const std::string& r : records) file += r;
  }
  return file;
}

inline std::string ProblemListFile() {
  return InEveryBlock(ProblemFile::List,
                      {ProblemListRecord{1001, u"白一子を取る"}.Encode(), ProblemListRecord{1002, u"二問目"}.Encode(),
                       ProblemListRecord{2001, u"応用の問題"}.Encode()});
}

// Problem 1001: a white stone on 100 with black on three sides of it.
inline std::string ProblemMovesFile() {
  std::vector<std::string> r;
  for (ProblemMoveRecord m : std::vector<ProblemMoveRecord>{{1001, White, 100},
                                                            {1001, Black, 99},
                                                            {1001, Black, 101},
                                                            {1001, Black, 81},
                                                            {1002, Black, 41},
                                                            {1002, White, 42},
                                                            {2001, White, 200}})
    r.push_back(m.Encode());
  return InEveryBlock(ProblemFile::Moves, r);
}

// The answers of a category's block, with their record numbers: for 1001 a
// correct sequence from the problem position that captures, a wrong one, and
// a correct and a wrong continuation of the first; one sequence for 1002.
inline std::vector<AnswerMoveRecord> Answers(int category) {
  const int b = BlockFirst(ProblemFile::Answers, category);
  const int16_t first = category == 4 ? White : Black;
  const int16_t second = Opponent(first);
  auto n = [](int v) { return static_cast<int16_t>(v); };
  return {
      {1001, 1, first, 119, n(b), StartsAtProblem},
      {1001, 2, second, 138, n(b + 1), 0},
      {1001, 3, first, 60, n(b + 2), 0},
      {1001, 1, n(-first), 138, n(b + 3), StartsAtProblem},
      {1001, 2, second, 119, n(b + 4), 0},
      {1002, 1, first, 60, n(b + 5), StartsAtProblem},
      {1001, 4, second, 61, n(b + 6), n(b + 2)},
      {1001, 5, first, 62, n(b + 7), 0},
      {1001, 4, n(-second), 80, n(b + 8), n(b + 2)},
  };
}

inline std::string AnswerMovesFile() {
  std::string file;
  for (int c = 1; c <= 4; ++c) {
    file.resize(static_cast<size_t>(BlockFirst(ProblemFile::Answers, c) - 1) * AnswerMoveRecord::Length, '\0');
    for (const AnswerMoveRecord& a : Answers(c)) file += a.Encode();
  }
  return file;
}

inline std::string CommentFile() {
  std::string file;
  for (int c = 1; c <= 4; ++c) {
    const int b = BlockFirst(ProblemFile::Answers, c);
    file.resize(static_cast<size_t>(BlockFirst(ProblemFile::Comments, c) - 1) * CommentRecord::Length, '\0');
    file += CommentRecord{1001, static_cast<int16_t>(b), u"石を取る正解です"}.Encode();
    file += CommentRecord{1001, static_cast<int16_t>(b + 3), u"取られてしまう"}.Encode();
    file += CommentRecord{1001, static_cast<int16_t>(b + 6), u"続きの正解"}.Encode();
    file += CommentRecord{1002, static_cast<int16_t>(b + 5), u"二問目の答え"}.Encode();
  }
  return file;
}

struct NamedFile {
  const char* name;
  std::string (*content)();
};

inline const std::vector<NamedFile>& Files() {
  static const std::vector<NamedFile> files = {
      {GameListFileName, GameListFile},       {GameMovesFileName, GameMovesFile},
      {ProblemListFileName, ProblemListFile}, {ProblemMovesFileName, ProblemMovesFile},
      {AnswerMovesFileName, AnswerMovesFile}, {CommentFileName, CommentFile},
  };
  return files;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the whole set into `dir` (which ends in a separator) and removes a
// scratch file left there.
inline void WriteAll(const std::string& dir) {
  static const std::vector<std::string> contents = [] {
    std::vector<std::string> v;
    for (const NamedFile& f : Files()) v.push_back(f.content());
    return v;
  }();
  for (size_t i = 0; i < Files().size(); ++i) WriteFile(dir + Files()[i].name, contents[i]);
  std::remove((dir + TempFileName).c_str());
}

// A fresh directory for data files, on a memory file system when there is
// one; with a trailing separator.
inline std::string MakeDataDir(const char* tag) {
  std::string base = "/dev/shm";
  struct stat st;
  if (const char* t = std::getenv("TMPDIR"); t && *t)
    base = t;
  else if (stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || access(base.c_str(), W_OK) != 0)
    base = "/tmp";
  std::string pattern = base + "/solneka-" + tag + "-XXXXXX";
  if (!mkdtemp(pattern.data())) return {};
  return pattern + "/";
}

inline void RemoveDataDir(const std::string& dir) {
  if (dir.empty()) return;
  const std::string cmd = "rm -rf '" + dir + "'";
  if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", dir.c_str());
}

}  // namespace sol::sample
