// Data sets for tests that run whole commands over real files: games in the
// library, and problems with set-up stones, root sequences, branches, wrong
// lines and comments. Also a reader for all data files at once and a check
// of the links between the problem files.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/record_file.h"
#include "problems/store.h"
#include "records/game_files.h"
#include "tests/support/faulty_files.h"

namespace sol::testing {

// Data files by name; a file that is missing has no entry.
using FileSet = std::map<std::string, std::string>;

// The six files that hold data. The scratch file is not among them: what it
// holds never matters.
inline const std::vector<std::string>& DataFileNames() {
  static const std::vector<std::string> names = {GameListFileName,     GameMovesFileName,   ProblemListFileName,
                                                 ProblemMovesFileName, AnswerMovesFileName, CommentFileName};
  return names;
}

inline FileSet ReadDataFiles(const std::string& dir) {
  FileSet out;
  for (const std::string& name : DataFileNames()) {
    const std::string path = dir + "/" + name;
    if (std::filesystem::exists(path)) out[name] = ScratchDir::ReadRaw(path);
  }
  return out;
}

inline void WriteDataFiles(const std::string& dir, const FileSet& files) {
  for (const std::string& name : DataFileNames()) {
    const auto it = files.find(name);
    if (it == files.end())
      std::filesystem::remove(dir + "/" + name);
    else
      ScratchDir::WriteRaw(dir + "/" + name, it->second);
  }
}

// Builds data files record by record. Problems, stones, answers and comments
// are appended to their category's block in the order given; Build() ends
// every used block with its end marker.
class DataSetBuilder {
 public:
  void GameTitle(int game, const Str& title) {
    Put(list_, game + GameListRecordOffset, GameListRecord{static_cast<int16_t>(game), title}.Encode());
  }
  // Three names of up to three characters, at characters 1, 5 and 9.
  void CategoryNames(int category, const Str& names) { Put(list_, category + 1, GameListRecord{0, names}.Encode()); }
  void GameMoves(int game, const std::vector<int>& points) {
    for (size_t i = 0; i < points.size(); ++i)
      moves_ += GameMoveRecord{static_cast<int16_t>(game), static_cast<int16_t>(i + 1),
                               static_cast<int16_t>(i % 2 == 0 ? Black : White), static_cast<int16_t>(points[i])}
                    .Encode();
  }
  void Problem(int category, int number, const Str& text) {
    Append(ProblemFile::List, category, ProblemListRecord{static_cast<int16_t>(number), text}.Encode());
  }
  void Stones(int category, int problem, int colour, const std::vector<int>& points) {
    for (int p : points)
      Append(ProblemFile::Moves, category,
             ProblemMoveRecord{static_cast<int16_t>(problem), static_cast<int16_t>(colour), static_cast<int16_t>(p)}
                 .Encode());
  }
  // A sequence of moves alternating from Black (or from White when the first
  // move index is even), its head linked to `link` (99 = the problem
  // position); sign -1 marks a wrong line. Returns its last record number.
  int Sequence(int category, int problem, int firstMove, const std::vector<int>& points, int link, int sign = 1) {
    int record = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const int move = firstMove + static_cast<int>(i);
      const int colour = move % 2 == 1 ? Black : White;
      record = NextRecord(ProblemFile::Answers, category);
      Append(ProblemFile::Answers, category,
             AnswerMoveRecord{static_cast<int16_t>(problem), static_cast<int16_t>(move),
                              static_cast<int16_t>(i == 0 ? colour * sign : colour), static_cast<int16_t>(points[i]),
                              static_cast<int16_t>(record), static_cast<int16_t>(i == 0 ? link : 0)}
                 .Encode());
    }
    return record;
  }
  // The record number the next answer of the category gets.
  int NextRecord(ProblemFile f, int category) const {
    const auto it = blocks_.find({f, category});
    return BlockFirst(f, category) + (it == blocks_.end() ? 0 : static_cast<int>(it->second.size()));
  }
  void Comment(int category, int problem, int head, const Str& text) {
    Append(ProblemFile::Comments, category,
           CommentRecord{static_cast<int16_t>(problem), static_cast<int16_t>(head), text}.Encode());
  }

  FileSet Build() const {
    FileSet out;
    out[GameListFileName] = list_;
    out[GameMovesFileName] = moves_;
    for (ProblemFile f : {ProblemFile::List, ProblemFile::Moves, ProblemFile::Answers, ProblemFile::Comments}) {
      std::string content;
      for (const auto& [key, records] : blocks_) {
        if (key.first != f) continue;
        std::vector<std::string> all = records;
        all.push_back(EndMarker(f));
        for (size_t i = 0; i < all.size(); ++i) Put(content, BlockFirst(f, key.second) + static_cast<int>(i), all[i]);
      }
      out[FileName(f)] = content;
    }
    return out;
  }

  static const char* FileName(ProblemFile f) {
    switch (f) {
      case ProblemFile::List:
        return ProblemListFileName;
      case ProblemFile::Moves:
        return ProblemMovesFileName;
      case ProblemFile::Answers:
        return AnswerMovesFileName;
      case ProblemFile::Comments:
        return CommentFileName;
    }
    return "";
  }

 private:
  static void Put(std::string& content, int record, const std::string& bytes) {
    const size_t at = static_cast<size_t>(record - 1) * bytes.size();
    if (content.size() < at + bytes.size()) content.resize(at + bytes.size(), '\0');
    content.replace(at, bytes.size(), bytes);
  }
  void Append(ProblemFile f, int category, std::string bytes) { blocks_[{f, category}].push_back(std::move(bytes)); }

  std::string list_, moves_;
  std::map<std::pair<ProblemFile, int>, std::vector<std::string>> blocks_;
};

// Three games, and problems in 手筋 (1001, 1002, 2001) and ヨセ (1001, 1003).
// In 手筋, 1001 has a root sequence, a wrong line and a branch from the
// root's last move; the sequences of the three problems are interleaved and
// every sequence head but one carries a comment.
inline FileSet SampleData() {
  DataSetBuilder b;
  b.CategoryNames(1, u"初段 二段 三段");
  b.CategoryNames(2, u"基本 応用 重要");
  b.GameTitle(3, u"：三番碁（24-01-02)");
  b.GameTitle(5, u"：五番碁（24-02-03)");
  b.GameTitle(7, u"：七番碁（24-03-04)");
  b.GameMoves(3, {61, 62, 63});
  b.GameMoves(5, {100, 101});
  b.GameMoves(7, {200, 201, 202, 203});
  b.GameMoves(3, {64});

  b.Problem(1, 1001, u"隅の手筋");
  b.Problem(1, 1002, u"辺の手筋");
  b.Problem(1, 2001, u"応用の筋");
  b.Stones(1, 1001, Black, {20, 21});
  b.Stones(1, 1001, White, {40, 41});
  b.Stones(1, 1002, Black, {60, 80});
  b.Stones(1, 1002, White, {79});
  b.Stones(1, 2001, Black, {100, 121});
  b.Stones(1, 2001, White, {120});
  const int root = b.Sequence(1, 1001, 1, {59, 58, 57}, StartsAtProblem);  // 1..3
  const int side = b.Sequence(1, 1002, 1, {98, 97}, StartsAtProblem);      // 4..5
  b.Sequence(1, 1001, 1, {39, 38}, StartsAtProblem, -1);                   // 6..7
  b.Sequence(1, 1001, 4, {56, 55}, root);                                  // 8..9
  b.Sequence(1, 2001, 1, {140, 141}, StartsAtProblem);                     // 10..11
  b.Sequence(1, 2001, 1, {142}, StartsAtProblem, -1);                      // 12
  b.Sequence(1, 1002, 3, {96}, side);                                      // 13
  b.Comment(1, 1001, 1, u"根の正解");
  b.Comment(1, 1002, 4, u"辺の筋");
  b.Comment(1, 1001, 8, u"変化");
  b.Comment(1, 2001, 12, u"失敗");
  b.Comment(1, 1001, 6, u"悪手");

  b.Problem(2, 1001, u"ヨセ一");
  b.Problem(2, 1003, u"ヨセ三");
  b.Stones(2, 1001, Black, {10, 11});
  b.Stones(2, 1003, White, {150});
  const int y = b.Sequence(2, 1001, 1, {30, 31}, StartsAtProblem);  // 2001..2002
  b.Sequence(2, 1003, 1, {50, 51}, StartsAtProblem);                // 2003..2004
  b.Sequence(2, 1001, 3, {32}, y);                                  // 2005
  b.Comment(2, 1001, 2001, u"ヨセの基本");
  b.Comment(2, 1003, 2003, u"三");
  return b.Build();
}

// Many problems in 手筋 and ヨセ, each with set-up stones, a root sequence,
// a wrong line, a branch and comments; a few games.
inline FileSet LargeSampleData(int problemsPerCategory) {
  DataSetBuilder b;
  b.CategoryNames(1, u"初段 二段 三段");
  for (int g = 2; g <= 12; g += 2) {
    b.GameTitle(g, u"：対局（24-01-02)");
    b.GameMoves(g, {g, g + 20, g + 40});
  }
  for (int c = 1; c <= 2; ++c) {
    for (int i = 0; i < problemsPerCategory; ++i) {
      const int number = 1001 + i;
      b.Problem(c, number, u"問題");
      b.Stones(c, number, Black, {1 + i % 13, 20 + i % 13});
      b.Stones(c, number, White, {39 + i % 13});
    }
    for (int i = 0; i < problemsPerCategory; ++i) {
      const int number = 1001 + i;
      // Six records a problem, so record 99 is never the end of a root
      // sequence: a branch linked to it would read as starting at the
      // problem position.
      const int wrong = b.Sequence(c, number, 1, {120, 121}, StartsAtProblem, -1);
      const int root = b.Sequence(c, number, 1, {100, 101, 102}, StartsAtProblem);
      const int branch = b.Sequence(c, number, 4, {103}, root);
      b.Comment(c, number, root - 2, u"正解");
      b.Comment(c, number, wrong - 1, u"失敗");
      b.Comment(c, number, branch, u"変化");
    }
  }
  return b.Build();
}

// What is wrong with the problem files of `files`: a file that is missing
// or not whole records, a problem list out of order, an answer record that
// does not hold its own number, a branch that does not lead to an earlier
// last move of the same problem, a comment that names no sequence head of
// its problem, or records of a problem that is not listed. Empty when sound.
inline std::vector<std::string> ProblemFileFaults(const FileSet& files) {
  std::vector<std::string> faults;
  auto content = [&](ProblemFile f) -> const std::string* {
    const auto it = files.find(DataSetBuilder::FileName(f));
    if (it == files.end()) {
      faults.push_back(std::string(DataSetBuilder::FileName(f)) + " is missing");
      return nullptr;
    }
    if (it->second.size() % static_cast<size_t>(RecordLength(f)) != 0)
      faults.push_back(std::string(DataSetBuilder::FileName(f)) + " is not whole records");
    return &it->second;
  };
  for (const char* name : {GameListFileName, GameMovesFileName}) {
    const auto it = files.find(name);
    const size_t length = std::string(name) == GameListFileName ? GameListRecordLength : GameMoveRecordLength;
    if (it == files.end())
      faults.push_back(std::string(name) + " is missing");
    else if (it->second.size() % length != 0)
      faults.push_back(std::string(name) + " is not whole records");
  }
  auto used = [](const std::string& bytes, ProblemFile f, int category) {
    std::vector<std::string> out;
    const size_t length = static_cast<size_t>(RecordLength(f));
    for (int r = BlockFirst(f, category); r <= BlockLast(f, category); ++r) {
      const size_t at = static_cast<size_t>(r - 1) * length;
      if (at + length > bytes.size()) break;
      std::string rec = bytes.substr(at, length);
      if (GetInt16(rec, 0) == 0) break;
      out.push_back(std::move(rec));
    }
    return out;
  };
  const std::string* list = content(ProblemFile::List);
  const std::string* moves = content(ProblemFile::Moves);
  const std::string* answers = content(ProblemFile::Answers);
  const std::string* comments = content(ProblemFile::Comments);
  if (!list || !moves || !answers || !comments) return faults;

  for (int c = 1; c <= 4; ++c) {
    const std::string where = " (category " + std::to_string(c) + ")";
    std::set<int> listed;
    int previous = 0;
    for (const std::string& rec : used(*list, ProblemFile::List, c)) {
      const int n = ProblemListRecord::Decode(rec).ProblemNumber;
      if (n <= previous) faults.push_back("problem list out of order at " + std::to_string(n) + where);
      previous = n;
      listed.insert(n);
    }
    for (const std::string& rec : used(*moves, ProblemFile::Moves, c)) {
      const int n = ProblemMoveRecord::Decode(rec).ProblemNumber;
      if (!listed.count(n)) faults.push_back("set-up stone of unlisted problem " + std::to_string(n) + where);
    }
    const std::vector<std::string> a = used(*answers, ProblemFile::Answers, c);
    const int first = BlockFirst(ProblemFile::Answers, c);
    std::vector<AnswerMoveRecord> records;
    for (const std::string& rec : a) records.push_back(AnswerMoveRecord::Decode(rec));
    // The last record of a sequence: no later record of its problem, or the
    // next one is a head.
    auto endsSequence = [&](size_t i) {
      for (size_t j = i + 1; j < records.size(); ++j)
        if (records[j].ProblemNumber == records[i].ProblemNumber) return records[j].BranchLink > 0;
      return true;
    };
    std::map<int, int16_t> headProblem;
    for (size_t i = 0; i < records.size(); ++i) {
      const AnswerMoveRecord& r = records[i];
      const int own = first + static_cast<int>(i);
      const std::string at = " at record " + std::to_string(own) + where;
      if (r.RecordNumber != own) faults.push_back("record number " + std::to_string(r.RecordNumber) + at);
      if (own == ReservedAnswerRecord(c) && r.ProblemNumber == ReservedAnswerProblem) continue;
      if (!listed.count(r.ProblemNumber)) faults.push_back("answer of unlisted problem" + at);
      if (r.BranchLink > 0) headProblem[own] = r.ProblemNumber;
      // A branch that carries 99 would read as starting at the problem position.
      if (r.BranchLink == StartsAtProblem && r.MoveIndex != 1) faults.push_back("branch read as a root" + at);
      if (r.BranchLink <= 0 || r.BranchLink == StartsAtProblem) continue;
      const int parent = r.BranchLink - first;
      const bool ok = parent >= 0 && parent < static_cast<int>(i) &&
                      records[static_cast<size_t>(parent)].ProblemNumber == r.ProblemNumber &&
                      records[static_cast<size_t>(parent)].MoveIndex + 1 == r.MoveIndex &&
                      endsSequence(static_cast<size_t>(parent));
      if (!ok) faults.push_back("branch link " + std::to_string(r.BranchLink) + at);
    }
    for (const std::string& rec : used(*comments, ProblemFile::Comments, c)) {
      const CommentRecord k = CommentRecord::Decode(rec);
      const auto head = headProblem.find(k.AnswerRecord);
      if (head == headProblem.end() || head->second != k.ProblemNumber)
        faults.push_back("comment of " + std::to_string(k.ProblemNumber) + " on record " +
                         std::to_string(k.AnswerRecord) + where);
    }
  }
  return faults;
}

}  // namespace sol::testing
