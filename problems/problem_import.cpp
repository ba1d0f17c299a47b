#include "problems/problem_import.h"

#include <algorithm>

#include "core/record_file.h"
#include "problems/lecture_model.h"
#include "problems/store.h"
#include "sgf/sgf_files.h"

namespace sol {

namespace {

const Str Separator = u"：";

Str NoProblemInFile() { return u"このファイルには問題がありません。"; }
Str NoNumberLeft() { return u"この区分には空いている番号がありません。"; }
Str NoRoom(const Str& what) { return what + u"の空きが足りません。"; }

std::vector<std::string> Encoded(const std::vector<CommentRecord>& records) {
  std::vector<std::string> out;
  for (const CommentRecord& r : records) out.push_back(r.Encode());
  return out;
}

}  // namespace

ReadProblems ReadProblemFiles(const std::vector<std::string>& paths, int category) {
  ReadProblems out;
  for (const std::string& path : paths) {
    const Str name = FromUtf8(FileNameOf(path));
    sgf::Collection collection;
    try {
      collection = ReadSgfCollection(path);
    } catch (const SgfFileError& e) {
      out.Skipped.push_back(name + Separator + e.Message);
      continue;
    }
    for (const Str& note : collection.Notes) out.Notes.push_back(name + Separator + note);
    if (collection.Games.empty()) out.Skipped.push_back(name + Separator + NoProblemInFile());
    const size_t count = collection.Games.size();
    for (size_t i = 0; i < count; ++i) {
      const Str place = count > 1 ? name + u" " + Num(static_cast<long>(i + 1)) + u"問目" : name;
      const Str fallback = count > 1 ? FileStem(path) + u" " + Num(static_cast<long>(i + 1)) : FileStem(path);
      ProblemImport read = ImportProblem(collection.Games[i], category, fallback);
      if (!read.Problem) {
        out.Skipped.push_back(place + Separator + read.Refusal);
        continue;
      }
      for (const Str& note : read.Problem->Notes) out.Notes.push_back(place + Separator + note);
      out.Problems.push_back({place, std::move(*read.Problem)});
    }
  }
  return out;
}

StoredProblems StoreProblems(GameState& s, int category, int base, const std::vector<ReadProblem>& problems) {
  FindBlockEnds(s, category);
  std::vector<ProblemListRecord> list;
  std::vector<int> numbers;
  for (const auto& r : ScanProblemList(s, category)) {
    list.push_back(r.value);
    numbers.push_back(r.value.ProblemNumber);
  }
  std::sort(numbers.begin(), numbers.end());

  const BlockEnds& ends = s.BlockEnd[category];
  int listEnd = ends.ListEnd, movesEnd = ends.MovesEnd, commentsEnd = ends.CommentsEnd;
  int nextAnswer = ends.AnswersEnd + 1;
  auto fits = [category](ProblemFile f, int end, size_t more) {
    return end + static_cast<long>(more) <= BlockLast(f, category);
  };

  StoredProblems out;
  std::vector<ProblemMoveRecord> setup;
  std::vector<AnswerMoveRecord> answers;
  std::vector<CommentRecord> comments;
  for (const ReadProblem& read : problems) {
    const int number = NextFreeProblemNumber(numbers, base);
    if (number >= base + 1000 || number > 9999) {
      out.Skipped.push_back(read.Source + Separator + NoNumberLeft());
      continue;
    }
    ProblemRecords records = ToAnswerRecords(read.Problem, number, nextAnswer);
    const int answerLast = records.Answers.empty() ? nextAnswer - 1 : records.Answers.back().RecordNumber;
    Str full;
    if (!fits(ProblemFile::List, listEnd, 1))
      full = u"問題リスト";
    else if (!fits(ProblemFile::Moves, movesEnd, records.Setup.size()))
      full = u"問題手順";
    else if (answerLast > BlockLast(ProblemFile::Answers, category))
      full = u"解答手順";
    else if (!fits(ProblemFile::Comments, commentsEnd, records.Comments.size()))
      full = u"コメント";
    if (!full.empty()) {
      out.Skipped.push_back(read.Source + Separator + NoRoom(full));
      continue;
    }
    ++listEnd;
    movesEnd += static_cast<int>(records.Setup.size());
    commentsEnd += static_cast<int>(records.Comments.size());
    nextAnswer = answerLast + 1;
    list.push_back({static_cast<int16_t>(number), read.Problem.Title});
    numbers.insert(std::upper_bound(numbers.begin(), numbers.end(), number), number);
    setup.insert(setup.end(), records.Setup.begin(), records.Setup.end());
    answers.insert(answers.end(), records.Answers.begin(), records.Answers.end());
    comments.insert(comments.end(), records.Comments.begin(), records.Comments.end());
    out.Numbers.push_back(number);
  }
  if (out.Numbers.empty()) return out;

  // The room was counted above, so a refusal here means the files changed
  // under the command: it is a file error like any other.
  const std::vector<AnswerMoveRecord> planned = answers;
  if (!AppendProblemMoves(s, category, setup) || !AppendAnswers(s, category, answers) ||
      !AppendRecords(s, ProblemFile::Comments, category, Encoded(comments)) || !RewriteProblemList(s, category, list))
    throw FileError("the problem blocks had less room than counted: " + s.ProblemListFile);
  // The links were made for the records the answers were planned at.
  for (size_t i = 0; i < answers.size(); ++i)
    if (answers[i].RecordNumber != planned[i].RecordNumber)
      throw FileError("answer records not where they were planned: " + s.AnswerMovesFile);
  return out;
}

std::string StarterLibrary(const GameState& s) { return s.ShareDir + "problems/"; }

int StarterBase(const std::string& fileName) {
  if (fileName == "kihon.sgf") return 1000;
  if (fileName == "ouyou.sgf") return 2000;
  if (fileName == "juuyou.sgf") return 3000;
  return 0;
}

std::string StarterFolder(int category) {
  static const char* folders[] = {"", "tesuji", "yose", "tsumego", "joseki"};
  return category >= 1 && category <= 4 ? folders[category] : "";
}

std::vector<std::string> StarterFiles(const std::string& library, int category) {
  std::vector<std::string> files;
  const std::string folder = StarterFolder(category);
  if (folder.empty()) return files;
  for (const char* name : {"kihon.sgf", "ouyou.sgf", "juuyou.sgf"}) {
    const std::string path = library + folder + "/" + name;
    if (Files().Exists(path)) files.push_back(path);
  }
  return files;
}

bool HasNoProblemFiles(const GameState& s) {
  for (const std::string* path : {&s.ProblemListFile, &s.ProblemMovesFile, &s.AnswerMovesFile, &s.CommentFile})
    if (Files().Exists(*path) && Files().Open(*path)->Size() > 0) return false;
  return true;
}

long StoreStarterLibrary(GameState& s) {
  long stored = 0;
  for (int category = 1; category <= 4; ++category)
    for (const std::string& path : StarterFiles(StarterLibrary(s), category)) {
      const ReadProblems read = ReadProblemFiles({path}, category);
      stored +=
          static_cast<long>(StoreProblems(s, category, StarterBase(FileNameOf(path)), read.Problems).Numbers.size());
    }
  return stored;
}

}  // namespace sol
