// The lectures' study records: which attempts count for a problem, the
// records following a problem that is renumbered or removed, and a damaged
// or unusable database never stopping the lectures.
#include "problems/study_records.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

#include "core/file_system.h"
#include "core/text.h"
#include "tests/support/another_user.h"
#include "tests/support/faulty_files.h"

namespace sol {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;
using R = StudyResult;

constexpr std::uint64_t A = 0x1111, B = 0x2222;

class StudyRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    ASSERT_EQ(db.Open(path), u"");
    ASSERT_TRUE(db.Available());
  }
  void TearDown() override { SetReadOnly(false); }
  void Add(int category, int problem, std::uint64_t fingerprint, R result, const std::string& when) {
    ASSERT_TRUE(db.Record({category, problem, fingerprint, result, when})) << ToUtf8(db.LastError());
  }
  // The names of the files beside the database that it was set aside as.
  std::vector<std::string> Aside() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.Path()))
      if (e.path().filename().string().starts_with("学習記録.db.damaged-")) out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  ScratchDir dir;
  std::string path = dir.PathOf(StudyRecordsFileName);
  StudyRecords db;
};

TEST_F(StudyRecordsTest, OnlyAttemptsOnTheSetUpGivenCountAndTheNewestIsTheLatest) {
  Add(1, 1001, A, R::Missed, "2026-01-01 10:00:00");
  Add(1, 1001, A, R::AfterMistake, "2026-01-02 10:00:00");
  Add(1, 1002, A, R::FirstTry, "2026-01-01 11:00:00");
  Add(1, 1002, B, R::Missed, "2026-01-03 11:00:00");  // 1002 registered anew since
  Add(1, 1003, B, R::FirstTry, "2026-01-03 12:00:00");
  Add(1, 2001, A, R::Missed, "2026-01-04 12:00:00");
  Add(1, 5, A, R::FirstTry, "2026-01-04 13:00:00");     // not asked for, before
  Add(1, 1500, A, R::FirstTry, "2026-01-04 13:00:00");  // and between the problems asked for
  Add(2, 1001, A, R::FirstTry, "2026-01-05 12:00:00");  // another lecture
  // The newest by order of recording, even when the clock went back.
  Add(1, 1001, A, R::FirstTry, "2025-12-31 09:00:00");

  db.Close();
  ASSERT_EQ(db.Open(path), u"");
  const auto latest = db.Latest(1, {{1001, A}, {1002, A}, {1003, A}, {2001, A}, {3001, A}});
  ASSERT_EQ(latest.size(), 3u);  // 1003's attempts were on another set-up, 3001 has none
  EXPECT_EQ(latest.at(1001).Attempts, 3);
  EXPECT_EQ(latest.at(1001).Last, R::FirstTry);
  EXPECT_EQ(latest.at(1001).LastWhen, "2025-12-31 09:00:00");
  EXPECT_EQ(latest.at(1002).Attempts, 1);
  EXPECT_EQ(latest.at(1002).Last, R::FirstTry);
  EXPECT_EQ(latest.at(2001).Last, R::Missed);
  EXPECT_EQ(latest.at(2001).Attempts, 1);
  // The problem overwritten: its old attempts no longer count.
  const auto anew = db.Latest(1, {{1002, B}});
  ASSERT_EQ(anew.size(), 1u);
  EXPECT_EQ(anew.at(1002).Last, R::Missed);
  EXPECT_EQ(anew.at(1002).Attempts, 1);

  const auto sums = Summarize(1, latest);
  ASSERT_EQ(sums.size(), 3u);
  EXPECT_EQ(sums[0].SubCategoryBase, 1000);
  EXPECT_EQ(sums[0].Tried, 2);
  EXPECT_EQ(sums[0].Solved, 2);
  EXPECT_EQ(sums[0].FirstTry, 2);
  EXPECT_EQ(sums[0].LastWhen, "2026-01-01 11:00:00");
  EXPECT_EQ(sums[1].Tried, 1);
  EXPECT_EQ(sums[1].Solved, 0);
  EXPECT_EQ(sums[1].Missed, 1);
  EXPECT_EQ(sums[2].Tried, 0);
  EXPECT_EQ(sums[2].LastWhen, "");
  const auto joseki = Summarize(4, {{1, {R::AfterMistake, "2026-02-01 00:00:00", 2}}, {9000, {R::Missed, "", 1}}});
  ASSERT_EQ(joseki.size(), 1u);
  EXPECT_EQ(joseki[0].SubCategoryBase, 0);
  EXPECT_EQ(joseki[0].Tried, 2);
  EXPECT_EQ(joseki[0].Solved, 1);
}

TEST_F(StudyRecordsTest, ReviewTakesTheProblemsLastMissedOrSolvedAfterAMistakeOldestFirst) {
  Add(3, 3005, A, R::AfterMistake, "2026-03-02 08:00:00");
  Add(3, 3001, A, R::Missed, "2026-03-01 08:00:00");
  Add(3, 3001, A, R::FirstTry, "2026-03-03 08:00:00");  // reviewed and solved: done
  Add(3, 3002, A, R::FirstTry, "2026-03-01 08:00:00");
  Add(3, 3002, A, R::Missed, "2026-03-04 08:00:00");
  Add(3, 3004, A, R::Missed, "2026-03-02 08:00:00");  // same time as 3005, recorded later
  Add(3, 3003, A, R::FirstTry, "2026-03-01 08:00:00");
  Add(3, 3003, B, R::Missed, "2026-03-01 09:00:00");  // on a set-up no longer there
  EXPECT_EQ(db.ReviewOrder(3, {{3001, A}, {3002, A}, {3003, A}, {3004, A}, {3005, A}}),
            (std::vector<int>{3005, 3004, 3002}));
}

TEST_F(StudyRecordsTest, RecordsFollowTheirProblemRenumberedOrRemoved) {
  Add(4, 10, A, R::Missed, "2026-04-01 10:00:00");
  Add(4, 10, A, R::Missed, "2026-04-02 10:00:00");
  Add(4, 20, A, R::FirstTry, "2026-04-01 11:00:00");  // overwritten by the move
  Add(1, 20, A, R::FirstTry, "2026-04-01 12:00:00");
  Add(4, 30, A, R::FirstTry, "2026-04-01 13:00:00");

  ASSERT_TRUE(db.Renumber(4, 10, 20));
  auto latest = db.Latest(4, {{10, A}, {20, A}, {30, A}});
  ASSERT_EQ(latest.size(), 2u);
  EXPECT_EQ(latest.at(20).Attempts, 2);
  EXPECT_EQ(latest.at(20).Last, R::Missed);
  ASSERT_TRUE(db.Renumber(4, 20, 20));  // onto itself: nothing lost
  EXPECT_EQ(db.Latest(4, {{20, A}}).at(20).Attempts, 2);
  EXPECT_EQ(db.Latest(1, {{20, A}}).size(), 1u) << "another lecture's problem 20 is kept";

  ASSERT_TRUE(db.Remove(4, 30));
  EXPECT_EQ(db.Latest(4, {{20, A}, {30, A}}).size(), 1u);
  ASSERT_TRUE(db.ClearAll());
  EXPECT_TRUE(db.Latest(4, {{20, A}}).empty());
  EXPECT_TRUE(db.Latest(1, {{20, A}}).empty());
  EXPECT_TRUE(db.LastError().empty());
}

TEST_F(StudyRecordsTest, CsvNamesCategoriesAndResultsInWordsOldestFirstQuotedWhereNeeded) {
  Add(4, 7, A, R::Missed, "2026-05-02 10:00:00");
  Add(1, 1001, A, R::FirstTry, "2026-05-01 10:00:00");
  Add(2, 2001, A, R::AfterMistake, "2026-05-03 \"10\",00");
  EXPECT_EQ(db.ExportCsv(),
            "分類,問題番号,結果,日時\r\n"
            "手筋,1001,一度で正解,2026-05-01 10:00:00\r\n"
            "定石,7,不正解,2026-05-02 10:00:00\r\n"
            "ヨセ,2001,間違えた後に正解,\"2026-05-03 \"\"10\"\",00\"\r\n");
}

TEST(SetupFingerprint, KeepsToTheStonesNotTheirOrderOrNumber) {
  const std::vector<ProblemMoveRecord> setup = {{1001, 1, 61}, {1001, 2, 62}, {1001, 1, 80}};
  const std::vector<ProblemMoveRecord> shuffled = {{1001, 1, 80}, {1001, 1, 61}, {1001, 2, 62}};
  const std::vector<ProblemMoveRecord> renumbered = {{1500, 1, 61}, {1500, 2, 62}, {1500, 1, 80}};
  const std::vector<ProblemMoveRecord> swapped = {{1001, 2, 61}, {1001, 1, 62}, {1001, 1, 80}};
  EXPECT_EQ(SetupFingerprint(setup), SetupFingerprint(shuffled));
  EXPECT_EQ(SetupFingerprint(setup), SetupFingerprint(renumbered));
  EXPECT_NE(SetupFingerprint(setup), SetupFingerprint(swapped));
  EXPECT_NE(SetupFingerprint(setup), SetupFingerprint({{1001, 1, 61}, {1001, 2, 62}}));
}

// ---- damaged and unusable files ---------------------------------------------

void MakeForeign(const std::string& path) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(other, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES ('mine');", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(other);
}

void MakeTruncated(const std::string& path) {
  {
    StudyRecords full;
    ASSERT_EQ(full.Open(path), u"");
    for (int i = 0; i < 3000; ++i) ASSERT_TRUE(full.Record({4, i, A, R::Missed, "2026-06-01 10:00:00"}));
  }
  ASSERT_FALSE(fs::exists(path + "-wal") && fs::file_size(path + "-wal") > 0);
  fs::resize_file(path, fs::file_size(path) / 2);
}

void MakeNoise(const std::string& path) {
  std::mt19937 random(7);
  std::string bytes(5000, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  ScratchDir::WriteRaw(path, bytes);
}

TEST_F(StudyRecordsTest, ADamagedOrForeignFileIsSetAsideAndAFreshOneStarted) {
  db.Close();
  fs::remove(path);
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
    std::u16string says;
  };
  const Case cases[] = {{"random bytes", MakeNoise, u"壊れていた"},
                        {"a truncated database", MakeTruncated, u"壊れていた"},
                        {"another program's database", MakeForeign, u"ソルネカのものではなかった"},
                        {"random bytes again, within the same second maybe", MakeNoise, u"壊れていた"}};
  std::vector<std::string> originals;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    db.Close();
    fs::remove(path);
    c.make(path);
    originals.push_back(ScratchDir::ReadRaw(path));
    const auto before = Aside();
    const std::u16string notice = db.Open(path);
    const auto after = Aside();
    ASSERT_EQ(after.size(), before.size() + 1);
    std::string moved;
    for (const std::string& a : after)
      if (std::find(before.begin(), before.end(), a) == before.end()) moved = a;
    EXPECT_EQ(ScratchDir::ReadRaw(moved), originals.back());
    EXPECT_NE(notice.find(c.says), std::u16string::npos) << ToUtf8(notice);
    EXPECT_NE(notice.find(u"「" + FromUtf8(fs::path(moved).filename().string()) + u"」に移し、新しく始めました。"),
              std::u16string::npos)
        << ToUtf8(notice);
    ASSERT_TRUE(db.Available());
    Add(2, 2001, B, R::FirstTry, "2026-06-02 10:00:00");
    EXPECT_EQ(db.Latest(2, {{2001, B}}).size(), 1u);
    db.Close();
    EXPECT_EQ(db.Open(path), u"") << "the fresh database is ours";
    EXPECT_EQ(db.Latest(2, {{2001, B}}).size(), 1u);
  }
}

TEST_F(StudyRecordsTest, AFileOfANewerVersionIsLeftAlone) {
  db.Close();
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  sqlite3_exec(raw, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
  sqlite3_close(raw);
  EXPECT_NE(db.Open(path), u"");
  EXPECT_FALSE(db.Available());
  EXPECT_TRUE(Aside().empty());
}

// Every call of an unusable database does nothing, says so, and crashes not.
std::string UnusableEverywhere(StudyRecords& db) {
  if (db.Available()) return "available";
  if (db.LastError().empty()) return "no reason given";
  if (db.Record({1, 1001, A, R::FirstTry, ""})) return "recorded";
  if (!db.Latest(1, {{1001, A}}).empty() || !db.ReviewOrder(1, {{1001, A}}).empty()) return "read something";
  if (db.Renumber(1, 1001, 1002) || db.Remove(1, 1001) || db.ClearAll()) return "changed something";
  if (!db.ExportCsv().empty()) return "exported something";
  return db.LastError().empty() ? "the reason was lost" : "";
}

TEST_F(StudyRecordsTest, AFolderThatCannotBeWrittenLeavesTheRecordsUnavailable) {
  db.Close();
  // A folder that is a file: refused to root as well.
  ScratchDir::WriteRaw(dir.PathOf("plain"), "x");
  EXPECT_NE(db.Open(dir.PathOf("plain") + "/学習記録.db"), u"");
  EXPECT_EQ(UnusableEverywhere(db), "");

  // A read-only folder, with and without the database in it; as root, tried
  // by the unprivileged user, whom the permissions bind.
  const std::string folder = dir.PathOf("readonly");
  fs::create_directory(folder);
  {
    StudyRecords made;
    ASSERT_EQ(made.Open(folder + "/学習記録.db"), u"");
    ASSERT_TRUE(made.Record({1, 1001, A, R::FirstTry, ""}));
  }
  const std::string existing = ScratchDir::ReadRaw(folder + "/学習記録.db");
  chmod(dir.Path().c_str(), 0755);
  chmod(folder.c_str(), 0555);
  const std::string result = testing::AsAnotherUser([&] {
    for (const char* name : {"/学習記録.db", "/新しい.db"}) {
      StudyRecords db;
      db.Open(folder + name);
      if (std::string faults = UnusableEverywhere(db); !faults.empty()) return std::string(name) + ": " + faults;
    }
    return std::string();
  });
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(result, "");
  EXPECT_EQ(ScratchDir::ReadRaw(folder + "/学習記録.db"), existing) << "an intact file is never set aside";
  EXPECT_FALSE(fs::exists(folder + "/新しい.db"));
}

TEST_F(StudyRecordsTest, WithoutTheDataFolderLockTheRecordsAreOnlyRead) {
  Add(1, 1001, A, R::Missed, "2026-07-01 10:00:00");
  db.Close();
  MakeNoise(dir.PathOf("damaged.db"));
  SetReadOnly(true);
  StudyRecords other;
  EXPECT_EQ(other.Open(path), u"");
  EXPECT_EQ(other.Latest(1, {{1001, A}}).size(), 1u);
  EXPECT_FALSE(other.Record({1, 1001, A, R::FirstTry, ""}));
  EXPECT_FALSE(other.LastError().empty());
  EXPECT_NE(other.Open(dir.PathOf("damaged.db")), u"");
  EXPECT_TRUE(fs::exists(dir.PathOf("damaged.db"))) << "not set aside";
  EXPECT_NE(other.Open(dir.PathOf("missing.db")), u"");
  EXPECT_FALSE(fs::exists(dir.PathOf("missing.db")));
  SetReadOnly(false);
  EXPECT_EQ(other.Open(path), u"");
  EXPECT_EQ(other.Latest(1, {{1001, A}}).at(1001).Attempts, 1);
}

}  // namespace
}  // namespace sol
