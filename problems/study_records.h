// What the learner has done in the lectures: one row per attempt at a
// problem, kept in an SQLite database in the data folder. The lectures work
// without it: a database that cannot be opened or is damaged is set aside
// and a fresh one started, and when even that fails every call here does
// nothing and reports so through Available().
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "problems/store.h"

struct sqlite3;

namespace sol {

// The database's name in the data folder.
inline constexpr const char* StudyRecordsFileName = "学習記録.db";

// How one attempt ended.
enum class StudyResult : int {
  FirstTry = 1,      // solved, every move played by the learner, no help
  AfterMistake = 2,  // solved after a wrong move, a look at the answer or a take-back
  Missed = 3,        // played into the end of a wrong sequence
};

struct StudyAttempt {
  int Category = 0;  // 1 手筋, 2 ヨセ, 3 詰碁, 4 定石
  int Problem = 0;
  std::uint64_t Fingerprint = 0;  // of the problem's set-up stones
  StudyResult Result = StudyResult::Missed;
  std::string When;  // "YYYY-MM-DD HH:MM:SS", local time
};

// The latest attempt at one problem that still has the set-up it was made on.
struct ProblemStudy {
  StudyResult Last = StudyResult::Missed;
  std::string LastWhen;
  int Attempts = 0;
};

// The counts of one sub-category (problem numbers base+1 .. base+999; for
// 定石, which has no sub-categories, base 0 and everything in it).
struct StudySummary {
  int Category = 0;
  int SubCategoryBase = 0;
  int Tried = 0;   // problems with at least one attempt
  int Solved = 0;  // of those, the last attempt solved (first try or after a mistake)
  int FirstTry = 0;
  int Missed = 0;
  std::string LastWhen;  // newest attempt; empty when none
};

// The counts per sub-category of `category` from its problems' latest
// attempts (as Latest gives them), in the order of the sub-categories.
std::vector<StudySummary> Summarize(int category, const std::map<int, ProblemStudy>& latest);

// The fingerprint of a problem's set-up stones: independent of the order of
// the records, so that rewriting a block keeps it, and different for a
// problem registered anew under the same number.
std::uint64_t SetupFingerprint(const std::vector<ProblemMoveRecord>& setup);

// The same, stone by stone in any order: a sum of one mixed hash per stone,
// so that a whole block is fingerprinted in one pass over its records.
class SetupFingerprinter {
 public:
  void Add(int colour, int point);
  std::uint64_t Value() const;

 private:
  std::uint64_t sum_ = 0;
  std::uint64_t count_ = 0;
};

class StudyRecords {
 public:
  StudyRecords() = default;
  ~StudyRecords();
  StudyRecords(const StudyRecords&) = delete;
  StudyRecords& operator=(const StudyRecords&) = delete;

  // Opens (creating it when missing) the database at `path`. A file that is
  // not such a database, or is damaged, is renamed aside (the returned notice
  // names where it went) and a fresh one is started. Returns the notice to
  // show the learner, empty when all went well. While this process leaves
  // the data folder alone (ReadOnly()), the records are only read and
  // nothing is created or set aside. `now` ("YYYY-MM-DD HH:MM:SS", as the
  // platform tells it) names a file set aside; empty: the system clock.
  std::u16string Open(const std::string& path, const std::string& now = {});
  void Close();
  bool Available() const { return db_ != nullptr; }
  // Why the last call failed, for the window to show; empty after success.
  const std::u16string& LastError() const { return error_; }

  // One transaction per attempt; an empty When is the present local time.
  // False (and LastError) when it was not stored.
  bool Record(const StudyAttempt& attempt);

  // Whether any attempt at a problem of `category` is recorded.
  bool HasAttempts(int category) const;
  // For each problem of `category` in `fingerprints`, the newest of its
  // attempts made on the set-up with the fingerprint given, and how many
  // such attempts there are. Problems without one are left out; problems
  // missing from `fingerprints` are not looked at.
  std::map<int, ProblemStudy> Latest(int category, const std::map<int, std::uint64_t>& fingerprints) const;
  // The problems to review in `category`, oldest latest attempt first: those
  // whose latest attempt was missed or solved after a mistake.
  std::vector<int> ReviewOrder(int category, const std::map<int, std::uint64_t>& fingerprints) const;
  // The records follow the problem: renumbered (those of the problem that
  // had the new number before, which it overwrote, go first), removed with
  // it, or all cleared.
  bool Renumber(int category, int oldNumber, int newNumber);
  bool Remove(int category, int problem);
  bool ClearAll();

  // Every attempt as CSV (UTF-8, CRLF line ends, a header line), oldest
  // first. Empty when the records cannot be read.
  std::string ExportCsv() const;

  // Where the database is, as given to Open.
  const std::string& Path() const { return path_; }

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
  mutable std::u16string error_;
};

}  // namespace sol
