#include "problems/study_records.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "core/file_system.h"
#include "core/text.h"

namespace sol {

namespace {

// 'SOLK': marks the file as ours for anyone who looks at it with SQLite.
constexpr int ApplicationId = 0x534F4C4B;
constexpr int SchemaVersion = 1;
constexpr int BusyTimeoutMs = 2000;

const char* const Schema =
    "CREATE TABLE attempt(id INTEGER PRIMARY KEY, category INTEGER, problem INTEGER, fingerprint INTEGER,"
    " result INTEGER, at TEXT);";
// Covers every query by problem: the rows of a category come out in problem
// order and, within a problem, oldest first, without touching the table.
const char* const Index =
    "CREATE INDEX IF NOT EXISTS attempt_by_problem ON attempt(category, problem, id, fingerprint, result, at);";
const char* const ExpectedColumns[] = {"id", "category", "problem", "fingerprint", "result", "at"};

Str FileNameOf(const std::string& path) { return FromUtf8(std::filesystem::path(path).filename().string()); }

// Why SQLite failed, for the learner.
Str Reason(int code) {
  switch (code & 0xff) {
    case SQLITE_FULL:
      return u"ディスクに空きがありません";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
      return u"フォルダかファイルに書き込めません";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return u"ほかのソルネカが使っています";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return u"ファイルが壊れています";
    case SQLITE_NOMEM:
      return u"メモリが足りません";
    default:
      return u"読み書きに失敗しました（エラー番号 " + Num(code) + u"）";
  }
}

// Codes that say the file's content is wrong, as opposed to the system
// refusing (a folder that cannot be written, a full disk, a lock).
bool Damaged(int code) {
  code &= 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_SCHEMA || code == SQLITE_FORMAT;
}

std::string Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

// "YYYYMMDD-HHMMSS" of `now` ("YYYY-MM-DD HH:MM:SS"), or of the clock.
std::string Stamp(const std::string& now) {
  std::string stamp;
  for (char c : now.empty() ? Now() : now)
    if (c == ' ')
      stamp += '-';
    else if (c != '-' && c != ':')
      stamp += c;
  return stamp;
}

// A prepared statement, finalized when it goes.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { code_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return code_ == SQLITE_OK || code_ == SQLITE_ROW || code_ == SQLITE_DONE; }
  int Code() const { return code_; }

  Statement& Bind(int i, std::int64_t v) {
    if (Ok()) Keep(sqlite3_bind_int64(stmt_, i, v));
    return *this;
  }
  Statement& Bind(int i, const std::string& v) {
    if (Ok()) Keep(sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
    return *this;
  }
  // True while there is a row; afterwards Ok() tells an error from the end.
  bool Step() {
    if (!Ok()) return false;
    code_ = sqlite3_step(stmt_);
    return code_ == SQLITE_ROW;
  }
  // Runs a statement that returns no rows.
  bool Run() {
    while (Step()) {
    }
    return Ok();
  }
  std::int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  void Text(int col, std::string& into) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    into.assign(p ? p : "", p ? static_cast<size_t>(sqlite3_column_bytes(stmt_, col)) : 0);
  }
  std::string Text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, col))) : std::string();
  }

 private:
  void Keep(int code) {
    if (code != SQLITE_OK) code_ = code;
  }
  sqlite3_stmt* stmt_ = nullptr;
  int code_ = SQLITE_OK;
};

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

// One integer from a query such as a PRAGMA; the SQLite code on failure.
int QueryInt(sqlite3* db, const char* sql, std::int64_t& value) {
  Statement q(db, sql);
  if (!q.Step()) return q.Ok() ? SQLITE_CORRUPT : q.Code();
  value = q.Int(0);
  return SQLITE_OK;
}

// What Open found in the file.
enum class Verdict { Fine, Fresh, Foreign, Damaged, Newer, Refused };

struct Inspection {
  Verdict verdict = Verdict::Fine;
  int code = SQLITE_OK;  // for Refused
};

Inspection Failed(int code) { return {Damaged(code) ? Verdict::Damaged : Verdict::Refused, code}; }

Inspection Inspect(sqlite3* db) {
  std::int64_t app = 0, version = 0;
  if (int rc = QueryInt(db, "PRAGMA application_id", app); rc != SQLITE_OK) return Failed(rc);
  if (int rc = QueryInt(db, "PRAGMA user_version", version); rc != SQLITE_OK) return Failed(rc);
  std::set<std::string> tables;
  {
    Statement q(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'");
    while (q.Step()) tables.insert(q.Text(0));
    if (!q.Ok()) return Failed(q.Code());
  }
  if (app == 0 && version == 0 && tables.empty()) return {Verdict::Fresh};
  if (app != ApplicationId) return {Verdict::Foreign};
  if (version > SchemaVersion) return {Verdict::Newer};
  if (version != SchemaVersion || tables != std::set<std::string>{"attempt"}) return {Verdict::Damaged};
  {
    std::vector<std::string> columns;
    Statement q(db, "PRAGMA table_info(attempt)");
    while (q.Step()) columns.push_back(q.Text(1));
    if (!q.Ok()) return Failed(q.Code());
    if (!std::equal(columns.begin(), columns.end(), std::begin(ExpectedColumns), std::end(ExpectedColumns)))
      return {Verdict::Damaged};
  }
  {
    Statement q(db, "PRAGMA quick_check");
    if (!q.Step()) return q.Ok() ? Inspection{Verdict::Damaged} : Failed(q.Code());
    if (q.Text(0) != "ok") return {Verdict::Damaged};
  }
  return {Verdict::Fine};
}

StudyResult ResultOf(std::int64_t v) {
  return v == 1 ? StudyResult::FirstTry : v == 2 ? StudyResult::AfterMistake : StudyResult::Missed;
}

const char16_t* CategoryWord(std::int64_t c) {
  static const char16_t* const words[] = {u"手筋", u"ヨセ", u"詰碁", u"定石"};
  return c >= 1 && c <= 4 ? words[c - 1] : nullptr;
}

const char16_t* ResultWord(std::int64_t r) {
  static const char16_t* const words[] = {u"一度で正解", u"間違えた後に正解", u"不正解"};
  return r >= 1 && r <= 3 ? words[r - 1] : nullptr;
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// Hands done(problem, study, id) the latest attempt, with the fingerprint
// given, of each problem of `category` that has one, in problem order. The
// attempts come in problem order too, oldest first, so one pass over both
// does it; the id is read only when asked for, which the scan of a large
// lecture notices. SQLITE_OK or the code of the failure.
template <typename Done>
int ScanLatest(sqlite3* db, int category, const std::map<int, std::uint64_t>& fingerprints, bool withId, Done done) {
  if (fingerprints.empty()) return SQLITE_OK;
  Statement q(db, withId ? "SELECT problem, fingerprint, result, at, id FROM attempt WHERE category = ?1"
                           " ORDER BY problem, id"
                         : "SELECT problem, fingerprint, result, at FROM attempt WHERE category = ?1"
                           " ORDER BY problem, id");
  q.Bind(1, category);
  auto fp = fingerprints.begin();
  ProblemStudy current;
  std::int64_t currentId = 0;
  auto flush = [&] {
    if (current.Attempts > 0) done(fp->first, std::move(current), currentId);
    current = ProblemStudy{};
  };
  while (q.Step()) {
    const std::int64_t problem = q.Int(0);
    if (problem != fp->first) {
      if (problem < fp->first) continue;
      flush();
      while (fp != fingerprints.end() && fp->first < problem) ++fp;
      if (fp == fingerprints.end()) return SQLITE_OK;
      if (fp->first != problem) continue;
    }
    if (static_cast<std::uint64_t>(q.Int(1)) != fp->second) continue;
    current.Last = ResultOf(q.Int(2));
    q.Text(3, current.LastWhen);
    if (withId) currentId = q.Int(4);
    ++current.Attempts;
  }
  if (!q.Ok()) return q.Code();
  flush();
  return SQLITE_OK;
}

}  // namespace

namespace {
// A 64-bit finaliser with good avalanche (splitmix64's).
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ull;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}
}  // namespace

void SetupFingerprinter::Add(int colour, int point) {
  sum_ += Mix(static_cast<std::uint64_t>(static_cast<std::uint16_t>(colour)) << 16 | static_cast<std::uint16_t>(point));
  ++count_;
}

std::uint64_t SetupFingerprinter::Value() const { return Mix(sum_ ^ Mix(count_)); }

std::uint64_t SetupFingerprint(const std::vector<ProblemMoveRecord>& setup) {
  SetupFingerprinter f;
  for (const ProblemMoveRecord& r : setup) f.Add(r.Colour, r.Point);
  return f.Value();
}

std::vector<StudySummary> Summarize(int category, const std::map<int, ProblemStudy>& latest) {
  std::vector<StudySummary> out;
  auto add = [&](int base) {
    StudySummary sum;
    sum.Category = category;
    sum.SubCategoryBase = base;
    out.push_back(sum);
  };
  if (category >= 1 && category <= 3) {
    for (int base : {1000, 2000, 3000}) add(base);
  } else if (category == 4) {
    add(0);
  }
  for (StudySummary& sum : out) {
    auto from = sum.SubCategoryBase == 0 ? latest.begin() : latest.lower_bound(sum.SubCategoryBase + 1);
    auto to = sum.SubCategoryBase == 0 ? latest.end() : latest.lower_bound(sum.SubCategoryBase + 1000);
    for (auto it = from; it != to; ++it) {
      const ProblemStudy& p = it->second;
      if (p.Attempts <= 0) continue;
      ++sum.Tried;
      if (p.Last == StudyResult::FirstTry || p.Last == StudyResult::AfterMistake) ++sum.Solved;
      if (p.Last == StudyResult::FirstTry) ++sum.FirstTry;
      if (p.Last == StudyResult::Missed) ++sum.Missed;
      sum.LastWhen = std::max(sum.LastWhen, p.LastWhen);
    }
  }
  return out;
}

StudyRecords::~StudyRecords() { Close(); }

void StudyRecords::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

std::u16string StudyRecords::Open(const std::string& path, const std::string& now) {
  Close();
  path_ = path;
  error_.clear();
  const Str name = FileNameOf(path);
  const bool readOnly = ReadOnly();

  // Opens the file and finds out what it holds; db_ stays open only when it
  // is ours and whole, or new.
  auto attempt = [&]() -> Inspection {
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_close_v2(db);
      return Failed(rc);
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    Inspection found = Inspect(db);
    if (found.verdict == Verdict::Fresh && !readOnly) {
      // The journal mode cannot change inside a transaction; the schema and
      // the marks that make the file ours are written in one.
      std::int64_t ignored = 0;
      rc = QueryInt(db, "PRAGMA journal_mode = WAL", ignored);
      if (rc == SQLITE_OK) rc = Exec(db, "BEGIN IMMEDIATE");
      if (rc == SQLITE_OK) rc = Exec(db, Schema);
      if (rc == SQLITE_OK) rc = Exec(db, Index);
      if (rc == SQLITE_OK) rc = Exec(db, ("PRAGMA application_id = " + std::to_string(ApplicationId)).c_str());
      if (rc == SQLITE_OK) rc = Exec(db, ("PRAGMA user_version = " + std::to_string(SchemaVersion)).c_str());
      if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
      if (rc != SQLITE_OK) {
        Exec(db, "ROLLBACK");
        found = Failed(rc);
      } else {
        found = {Verdict::Fine};
      }
    } else if (found.verdict == Verdict::Fine && !readOnly) {
      std::int64_t ignored = 0;
      rc = QueryInt(db, "PRAGMA journal_mode = WAL", ignored);
      if (rc == SQLITE_OK) rc = Exec(db, Index);
      if (rc != SQLITE_OK) found = Failed(rc);
    }
    if (found.verdict == Verdict::Fresh) found = {Verdict::Refused, SQLITE_READONLY};
    if (found.verdict == Verdict::Fine) {
      Exec(db, "PRAGMA synchronous = NORMAL");
      db_ = db;
    } else {
      sqlite3_close_v2(db);
    }
    return found;
  };

  const Inspection first = attempt();
  switch (first.verdict) {
    case Verdict::Fine:
    case Verdict::Fresh:
      return {};
    case Verdict::Refused:
      error_ =
          u"学習記録のファイル「" + name + u"」を開けないため、学習記録は残せません（" + Reason(first.code) + u"）。";
      return error_;
    case Verdict::Newer:
      error_ = u"学習記録のファイル「" + name + u"」は新しい版のソルネカで作られているため、この版では使えません。";
      return error_;
    case Verdict::Foreign:
    case Verdict::Damaged:
      break;
  }
  if (readOnly) {
    error_ = first.verdict == Verdict::Foreign
                 ? u"学習記録のファイル「" + name + u"」はソルネカのものではないため、学習記録は使えません。"
                 : u"学習記録のファイル「" + name + u"」が壊れているため、学習記録は使えません。";
    return error_;
  }

  // Set aside under a name not taken yet, with the journal that belongs to
  // it: a fresh database must not pick up the old one's journal.
  const std::string stamp = path + ".damaged-" + Stamp(now);
  std::string aside = stamp;
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(aside, ec) || std::filesystem::exists(aside + "-wal", ec); ++n)
    aside = stamp + "-" + std::to_string(n);
  std::filesystem::rename(path, aside, ec);
  if (ec) {
    error_ = u"学習記録のファイル「" + name + u"」が壊れていて、別の名前にも移せないため、学習記録は使えません。";
    return error_;
  }
  for (const char* suffix : {"-wal", "-journal"}) {
    std::error_code ignored;
    if (std::filesystem::exists(path + suffix, ignored))
      std::filesystem::rename(path + suffix, aside + suffix, ignored);
  }
  std::filesystem::remove(path + "-shm", ec);

  const Inspection second = attempt();
  const Str asideName = FileNameOf(aside);
  if (second.verdict != Verdict::Fine) {
    error_ = u"学習記録のファイルを「" + asideName +
             u"」に移しましたが、新しく始められないため、学習記録は残せません（" + Reason(second.code) + u"）。";
    return error_;
  }
  if (first.verdict == Verdict::Foreign)
    return u"学習記録のファイル「" + name + u"」はソルネカのものではなかったため「" + asideName +
           u"」に移し、新しく始めました。";
  return u"学習記録のファイルが壊れていたため「" + asideName + u"」に移し、新しく始めました。";
}

namespace {

// Whether the records may be written now; otherwise `error` says why.
bool Writable(sqlite3* db, Str& error) {
  if (!db) {
    if (error.empty()) error = u"学習記録は使えません。";
    return false;
  }
  if (ReadOnly()) {
    error = u"このソルネカはデータフォルダに書き込まないため、学習記録は残せません。";
    return false;
  }
  return true;
}

using Steps = std::vector<std::pair<const char*, std::vector<std::int64_t>>>;

// Runs the statements, each with its arguments, in one transaction; when one
// fails nothing is changed and `error` says why.
bool Change(sqlite3* db, Str& error, const Steps& steps) {
  if (!Writable(db, error)) return false;
  int rc = Exec(db, "BEGIN IMMEDIATE");
  for (size_t s = 0; rc == SQLITE_OK && s < steps.size(); ++s) {
    Statement q(db, steps[s].first);
    const auto& args = steps[s].second;
    for (size_t i = 0; i < args.size(); ++i) q.Bind(static_cast<int>(i) + 1, args[i]);
    if (!q.Run()) rc = q.Code();
  }
  if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
  if (rc != SQLITE_OK) {
    if (!sqlite3_get_autocommit(db)) Exec(db, "ROLLBACK");
    error = u"学習記録を書き換えられませんでした（" + Reason(rc) + u"）。";
    return false;
  }
  error.clear();
  return true;
}

}  // namespace

bool StudyRecords::Record(const StudyAttempt& a) {
  if (!Writable(db_, error_)) return false;
  Statement q(db_, "INSERT INTO attempt(category, problem, fingerprint, result, at) VALUES (?1, ?2, ?3, ?4, ?5)");
  q.Bind(1, a.Category)
      .Bind(2, a.Problem)
      .Bind(3, std::bit_cast<std::int64_t>(a.Fingerprint))
      .Bind(4, static_cast<int>(a.Result))
      .Bind(5, a.When.empty() ? Now() : a.When);
  // A single statement outside a transaction is one transaction of its own.
  if (!q.Run()) {
    error_ = u"学習記録を保存できませんでした（" + Reason(q.Code()) + u"）。";
    return false;
  }
  error_.clear();
  return true;
}

bool StudyRecords::HasAttempts(int category) const {
  if (!db_) return false;
  Statement q(db_, "SELECT 1 FROM attempt WHERE category = ?1 LIMIT 1");
  q.Bind(1, category);
  return q.Step();
}

std::map<int, ProblemStudy> StudyRecords::Latest(int category, const std::map<int, std::uint64_t>& fingerprints) const {
  std::map<int, ProblemStudy> out;
  if (!db_) {
    if (error_.empty()) error_ = u"学習記録は使えません。";
    return out;
  }
  const int code = ScanLatest(db_, category, fingerprints, false, [&](int problem, ProblemStudy&& study, std::int64_t) {
    out.emplace_hint(out.end(), problem, std::move(study));
  });
  if (code != SQLITE_OK) {
    error_ = u"学習記録を読めませんでした（" + Reason(code) + u"）。";
    out.clear();
    return out;
  }
  error_.clear();
  return out;
}

std::vector<int> StudyRecords::ReviewOrder(int category, const std::map<int, std::uint64_t>& fingerprints) const {
  std::vector<int> out;
  if (!db_) {
    if (error_.empty()) error_ = u"学習記録は使えません。";
    return out;
  }
  struct Due {
    std::string when;
    std::int64_t id;
    int problem;
  };
  std::vector<Due> due;
  const int code =
      ScanLatest(db_, category, fingerprints, true, [&](int problem, ProblemStudy&& study, std::int64_t id) {
        if (study.Last != StudyResult::FirstTry) due.push_back({std::move(study.LastWhen), id, problem});
      });
  if (code != SQLITE_OK) {
    error_ = u"学習記録を読めませんでした（" + Reason(code) + u"）。";
    return out;
  }
  std::sort(due.begin(), due.end(),
            [](const Due& a, const Due& b) { return std::tie(a.when, a.id) < std::tie(b.when, b.id); });
  out.reserve(due.size());
  for (const Due& d : due) out.push_back(d.problem);
  error_.clear();
  return out;
}

bool StudyRecords::Renumber(int category, int oldNumber, int newNumber) {
  if (oldNumber == newNumber) return Writable(db_, error_);
  return Change(
      db_, error_,
      {{"DELETE FROM attempt WHERE category = ?1 AND problem = ?2", {category, newNumber}},
       {"UPDATE attempt SET problem = ?3 WHERE category = ?1 AND problem = ?2", {category, oldNumber, newNumber}}});
}

bool StudyRecords::Remove(int category, int problem) {
  return Change(db_, error_, {{"DELETE FROM attempt WHERE category = ?1 AND problem = ?2", {category, problem}}});
}

bool StudyRecords::ClearAll() { return Change(db_, error_, {{"DELETE FROM attempt", {}}}); }

std::string StudyRecords::ExportCsv() const {
  if (!db_) {
    if (error_.empty()) error_ = u"学習記録は使えません。";
    return {};
  }
  std::string out = ToUtf8(u"分類,問題番号,結果,日時") + "\r\n";
  Statement q(db_, "SELECT category, problem, result, at FROM attempt ORDER BY at, id");
  while (q.Step()) {
    const char16_t* category = CategoryWord(q.Int(0));
    const char16_t* result = ResultWord(q.Int(2));
    out += (category ? ToUtf8(category) : std::to_string(q.Int(0))) + ',' + std::to_string(q.Int(1)) + ',' +
           (result ? ToUtf8(result) : std::to_string(q.Int(2))) + ',' + CsvField(q.Text(3)) + "\r\n";
  }
  if (!q.Ok()) {
    error_ = u"学習記録を読めませんでした（" + Reason(q.Code()) + u"）。";
    return {};
  }
  error_.clear();
  return out;
}

}  // namespace sol
