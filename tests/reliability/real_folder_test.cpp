// The data folder on a real file system: the lock, links, permissions,
// other users, sizes a file cannot have and a disk that is full.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/instance_lock.h"
#include "core/file_transaction.h"
#include "core/messages.h"
#include "scenario/runner.h"
#include "tests/support/another_user.h"
#include "tests/support/sample_data.h"
#include "tests/support/session.h"

namespace sol {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;
using testing::Session;
using Outcome = InstanceLock::Outcome;

using testing::AsAnotherUser;
using testing::Nobody;

bool Shows(const Session& s, const Str& text) {
  for (const BoxRecord& b : s.platform.boxes)
    if (b.text == text) return true;
  return false;
}

std::vector<std::string> Named(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().starts_with(prefix)) out.push_back(e.path().filename().string());
  return out;
}

// Records the board's one stone as game n; the library is left open.
void RecordGame(Session& s, const Str& line) {
  if (s.State().MoveCount == 0) s.PlayOnBoard({61});
  s.OpenLibrary();
  s.Library().Text1.SetText(line);
  s.Library().Command1_Click();
}

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    testing::WriteDataFiles(dir.Path(), testing::SampleData());
    before = testing::ReadDataFiles(dir.Path());
  }
  void TearDown() override { SetReadOnly(false); }
  std::string Path(const std::string& name) const { return dir.PathOf(name); }

  ScratchDir dir;
  testing::FileSet before;
};

TEST_F(DataFolder, WithoutTheLockTheDataIsShownButNothingIsWrittenOrRecovered) {
  // Lock files that cannot lock: a folder, a link, another user's private file.
  fs::create_directory(Path(InstanceLockFileName));
  EXPECT_EQ(InstanceLock(dir.Path()).Result(), Outcome::Unavailable);
  fs::remove(Path(InstanceLockFileName));
  fs::create_symlink(Path("elsewhere"), Path(InstanceLockFileName));
  EXPECT_EQ(InstanceLock(dir.Path()).Result(), Outcome::Unavailable);
  EXPECT_FALSE(fs::exists(Path("elsewhere")));
  fs::remove(Path(InstanceLockFileName));
  ScratchDir::WriteRaw(Path(InstanceLockFileName), "");
  if (geteuid() == 0) {
    chmod(Path(InstanceLockFileName).c_str(), 0600);
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(AsAnotherUser([&] {
                return InstanceLock(dir.Path()).Result() == Outcome::Unavailable ? "" : "the lock was taken";
              }),
              "");
  }

  // Another process's unfinished change is its own to undo.
  const std::string journal = JournalEntry(GameListFileName, "old", before[GameListFileName]);
  ScratchDir::WriteRaw(Path(JournalFileName), journal);
  SetReadOnly(true);
  {
    Session s(dir.Path());
    s.OpenLibrary();
    EXPECT_EQ(s.Library().List1.ListCount(), 3);
    RecordGame(s, u"09：新しい碁");
    EXPECT_TRUE(Shows(s, msg::CannotWrite));
    ASSERT_TRUE(s.SelectGame(3));
    const size_t boxes = s.platform.boxes.size();
    s.Library().Command3_Click();
    ASSERT_EQ(s.platform.boxes.size(), boxes + 1) << "refused before the player is asked";
    EXPECT_EQ(s.platform.boxes.back().text, msg::CannotWrite);
    EXPECT_EQ(s.Library().List1.ListCount(), 3);
  }
  EXPECT_EQ(testing::ReadDataFiles(dir.Path()), before);
  EXPECT_EQ(ScratchDir::ReadRaw(Path(JournalFileName)), journal);
  EXPECT_EQ(ScratchDir::ReadRaw(Path(InstanceLockFileName)), "");
}

TEST_F(DataFolder, TheScenarioRunnerWaitsForTheFolderAndWritesOnlyWhileItHoldsIt) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    InstanceLock lock(dir.Path());
    if (write(ready[1], "x", 1) != 1) _exit(2);
    usleep(600000);
    _exit(0);
  }
  char x;
  ASSERT_EQ(read(ready[0], &x, 1), 1);
  const auto start = std::chrono::steady_clock::now();
  std::ostringstream out;
  ScenarioTotals totals;
  RunScenarioText(
      "wait", "click Form2 61 left\nmenu Form2 メニュー棋譜\ntype Form3 Text1 \"09：待った碁\"\npress Form3 Command1\n",
      dir.Path(), out, totals);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(totals.failed, 0) << out.str();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
  EXPECT_NE(testing::ReadDataFiles(dir.Path())[GameListFileName], before[GameListFileName]);
}

TEST_F(DataFolder, LinksLeadTheDataWhereTheyPointAndNowhereElse) {
  ScratchDir elsewhere;
  const std::string target = elsewhere.PathOf("list.dat");
  fs::rename(Path(GameListFileName), target);
  fs::create_symlink(target, Path(GameListFileName));
  chmod(target.c_str(), 0640);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(target.c_str(), Nobody, Nobody), 0);
  }
  const std::string victim = elsewhere.PathOf("victim");
  ScratchDir::WriteRaw(victim, "keep");

  Session s(dir.Path());
  // Links where the program makes files of its own are never written through.
  fs::create_symlink(victim, s.State().TempFile);
  fs::create_symlink(victim, Path(JournalFileName));
  RecordGame(s, u"09：繋がった碁");
  EXPECT_EQ(s.Library().StatusBar1.Text(), u"登録しました");
  EXPECT_EQ(ScratchDir::ReadRaw(victim), "keep");
  EXPECT_FALSE(fs::is_symlink(s.State().TempFile));
  EXPECT_EQ(Named(dir.Path(), std::string(JournalFileName) + ".").size(), 1u) << "the journal link is set aside";

  EXPECT_TRUE(fs::is_symlink(Path(GameListFileName)));
  EXPECT_NE(ScratchDir::ReadRaw(target), before[GameListFileName]);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, Nobody);
  }
  EXPECT_TRUE(Named(elsewhere.Path(), ScratchFilePrefix).empty());
  s.OpenLibrary();
  EXPECT_EQ(s.Library().List1.ListCount(), 4);
}

TEST_F(DataFolder, AJournalActsOnDataFilesOnlyAndOneThatCannotBeUsedIsSetAsideOnce) {
  const std::string list = before[GameListFileName];
  ScratchDir::WriteRaw(Path(InstanceLockFileName), "lock");
  ScratchDir::WriteRaw(Path(JournalFileName), JournalEntry("evil.sh", "#!/bin/sh\n", "") +
                                                  JournalEntry(InstanceLockFileName, "", "lock") +
                                                  JournalEntry(GameListFileName, "old", list));
  ScratchDir::WriteRaw(Path(std::string(ScratchFilePrefix) + "1.dat"), "left by a dead process");
  EXPECT_EQ(RecoverFiles(dir.Path(), Path("scratch")), Recovery::PutBack);
  EXPECT_FALSE(fs::exists(Path("evil.sh")));
  EXPECT_EQ(ScratchDir::ReadRaw(Path(InstanceLockFileName)), "lock");
  EXPECT_EQ(ScratchDir::ReadRaw(Path(GameListFileName)), "old");
  EXPECT_FALSE(fs::exists(Path(JournalFileName)));
  EXPECT_TRUE(Named(dir.Path(), ScratchFilePrefix).empty());

  // A read that fails for now leaves the journal for the next try.
  ScratchDir::WriteRaw(Path(JournalFileName), JournalEntry(GameListFileName, "older", "old"));
  testing::FaultyFiles faulty;
  faulty.failIf = [&](const std::string& op) { return op == "Open " + Path(GameListFileName); };
  SetFiles(&faulty);
  EXPECT_THROW(RecoverFiles(dir.Path(), Path("scratch")), FileError);
  SetFiles(nullptr);
  EXPECT_TRUE(fs::exists(Path(JournalFileName)));
  EXPECT_EQ(RecoverFiles(dir.Path(), Path("scratch")), Recovery::PutBack);
  EXPECT_EQ(ScratchDir::ReadRaw(Path(GameListFileName)), "older");
  ScratchDir::WriteRaw(Path(GameListFileName), "old");

  // Outside the folder, too large to hold, or no file at all.
  ScratchDir::WriteRaw(Path(JournalFileName), JournalEntry("../" + std::string(GameListFileName), "x", "old"));
  EXPECT_EQ(RecoverFiles(dir.Path(), Path("scratch")), Recovery::SetAside);
  ScratchDir::WriteRaw(Path(JournalFileName), "");
  fs::resize_file(Path(JournalFileName), (std::uintmax_t{1} << 30) + 1);
  EXPECT_EQ(RecoverFiles(dir.Path(), Path("scratch")), Recovery::SetAside);
  EXPECT_EQ(ScratchDir::ReadRaw(Path(GameListFileName)), "old");
  EXPECT_EQ(Named(dir.Path(), std::string(JournalFileName) + ".").size(), 2u);

  fs::create_directory(Path(JournalFileName));
  ScratchDir::WriteRaw(Path(GameListFileName), list);
  Session s(dir.Path());
  EXPECT_TRUE(Shows(s, msg::JournalSetAside));
  RecordGame(s, u"09：後の碁");
  EXPECT_EQ(s.Library().StatusBar1.Text(), u"登録しました");
  Session again(dir.Path());
  EXPECT_FALSE(Shows(again, msg::JournalSetAside));
}

TEST_F(DataFolder, AHugeSparseListIsNamedAsDamagedWithoutBeingReadWhole) {
  fs::resize_file(Path(GameListFileName), std::uintmax_t{4} << 30);
  const auto start = std::chrono::steady_clock::now();
  Session s(dir.Path());
  s.OpenLibrary();
  const Str damaged = u"棋譜一覧.dat が壊れています（大きすぎます）";
  EXPECT_EQ(s.Library().StatusBar1.Text(), damaged);
  RecordGame(s, u"09：入らない碁");
  EXPECT_EQ(s.Library().StatusBar1.Text(), damaged);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(fs::file_size(Path(GameListFileName)), std::uintmax_t{4} << 30);
  EXPECT_EQ(ScratchDir::ReadRaw(Path(GameMovesFileName)), before[GameMovesFileName]);
}

TEST_F(DataFolder, AFolderOrFilesThatCannotBeWrittenAreShownAndChangesRefused) {
  const bool root = geteuid() == 0;
  ASSERT_EQ(chmod(dir.Path().c_str(), root ? 0755 : 0555), 0);
  // What the program does when it starts: no lock, no writing.
  const auto readOnlyFolder = [&]() -> std::string {
    InstanceLock lock(dir.Path());
    if (lock.Result() == Outcome::Taken) return "the lock was taken in a folder that cannot be written";
    SetReadOnly(true);
    Session s(dir.Path());
    s.OpenLibrary();
    if (s.Library().List1.ListCount() != 3) return "the games are not listed";
    RecordGame(s, u"09：書けない碁");
    if (!Shows(s, msg::CannotWrite)) return "no box says the folder cannot be written";
    s.Library().MenuMainBoard();
    s.OpenProblems(2);
    if (s.Problems().List1.ListCount() == 0) return "the problems are not listed";
    return "";
  };
  EXPECT_EQ(AsAnotherUser(readOnlyFolder), "");
  chmod(dir.Path().c_str(), 0777);
  EXPECT_EQ(testing::ReadDataFiles(dir.Path()), before);

  // A folder that may be written with files that may not: they stay.
  for (const std::string& name : testing::DataFileNames()) chmod(Path(name).c_str(), 0444);
  EXPECT_EQ(AsAnotherUser([&]() -> std::string {
              InstanceLock lock(dir.Path());
              if (lock.Result() != Outcome::Taken) return "no lock";
              Session s(dir.Path());
              RecordGame(s, u"09：書けない碁");
              return Shows(s, msg::CannotWrite) ? "" : "no box says the files cannot be written";
            }),
            "");
  EXPECT_EQ(testing::ReadDataFiles(dir.Path()), before);
  EXPECT_TRUE(Named(dir.Path(), ScratchFilePrefix).empty());
}

TEST_F(DataFolder, OnAFullDiskTheLibraryWindowShowsTheFailure) {
  ScratchDir mount;
  if (::mount("tmpfs", mount.Path().c_str(), "tmpfs", 0, "size=512k") != 0)
    GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno) << ")";
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{mount.Path()};
  testing::WriteDataFiles(mount.Path(), before);
  const std::string filler = mount.PathOf("filler");
  {
    std::FILE* f = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const std::string block(1024, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
  }
  Session s(mount.Path());
  RecordGame(s, u"09：満杯の碁");
  EXPECT_EQ(s.Library().StatusBar1.Text(), msg::NoFile);
  EXPECT_EQ(s.Library().List1.ListCount(), 3);
  const testing::FileSet after = testing::ReadDataFiles(mount.Path());
  for (const auto& [name, content] : before) EXPECT_TRUE(after.at(name) == content) << name;
  fs::remove(filler);
  s.Library().Command1_Click();
  EXPECT_EQ(s.Library().StatusBar1.Text(), u"登録しました");
}

}  // namespace
}  // namespace sol
