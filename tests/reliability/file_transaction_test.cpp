// The journal behind all-or-nothing commands: a change put back after a
// failure or when abandoned, completed after a crash once its new contents
// are on the disk, and left alone when out of date.
#include "core/file_transaction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/game_state.h"
#include "core/record_file.h"
#include "tests/support/faulty_files.h"

namespace sol {
namespace {

using testing::FaultyFiles;
using testing::ScratchDir;

class Transaction : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    ScratchDir::WriteRaw(a, "a0");
    ScratchDir::WriteRaw(b, "b0");
  }
  void TearDown() override { SetFiles(nullptr); }

  std::string A() const { return ScratchDir::ReadRaw(a); }
  std::string B() const { return ScratchDir::ReadRaw(b); }
  bool Journal() const { return std::filesystem::exists(journal); }
  long Files() const { return std::distance(std::filesystem::directory_iterator(dir.Path()), {}); }

  // A process that changes a, b and a again and dies at the first file
  // operation `dies` says so of, or before it commits when none does; the
  // operations `fails` says so of fail.
  void Crash(const std::function<bool(const std::string&)>& dies = {},
             const std::function<bool(const std::string&)>& fails = {}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FaultyFiles faulty;
      faulty.failIf = [&](const std::string& op) {
        if (dies && dies(op)) _exit(0);
        return fails && fails(op);
      };
      SetFiles(&faulty);
      try {
        auto* t = new FileTransaction(dir.Path(), scratch);
        ReplaceFile(a, scratch, "a1");
        ReplaceFile(b, scratch, "b1");
        ReplaceFile(a, scratch, "a2");
        if (dies) (void)t->Commit();
      } catch (...) {
        _exit(2);
      }
      _exit(dies ? 3 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  bool RenameOfB(const std::string& op) const { return op.starts_with("Rename ") && op.ends_with(" " + b); }
  // Dies after a's new content took its place, before b's did.
  void CrashBetweenRenames() {
    Crash([&](const std::string& op) { return RenameOfB(op); });
    ASSERT_EQ(A(), "a2");
    ASSERT_EQ(B(), "b0");
    ASSERT_TRUE(Journal());
  }

  ScratchDir dir;
  // Only data files' own names are ever put back.
  const std::string a = dir.PathOf(GameListFileName), b = dir.PathOf(GameMovesFileName),
                    scratch = dir.PathOf("scratch.dat");
  const std::string journal = dir.PathOf(JournalFileName);
};

TEST_F(Transaction, ACrashBeforeTheSyncChangesNothingAndOneAfterItIsCompletedAtTheNextStart) {
  // Before the commit nothing has taken a file's place: only scratch files
  // are left, which the next start removes.
  Crash();
  EXPECT_EQ(A(), "a0");
  EXPECT_EQ(B(), "b0");
  EXPECT_FALSE(Journal());
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(Files(), 2);

  // A journal cut short by a crash during the sync was never followed by a
  // rename; a whole one finds the new contents whole beside the files.
  const auto sync = [](const std::string& op) { return op.starts_with("SyncFileSystem "); };
  Crash(sync);
  ASSERT_TRUE(Journal());
  const std::string whole = ScratchDir::ReadRaw(journal);
  ScratchDir::WriteRaw(journal, whole.substr(0, whole.size() - 5));
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a0");
  EXPECT_EQ(B(), "b0");
  EXPECT_EQ(Files(), 2);
  Crash(sync);
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a2");
  EXPECT_EQ(B(), "b1");

  ScratchDir::WriteRaw(a, "a0");
  ScratchDir::WriteRaw(b, "b0");
  CrashBetweenRenames();
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a2");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());
  EXPECT_EQ(Files(), 2);
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a2");
}

// A data file that is a link has its new content wait beside where it
// leads; the next start finds it there and leaves the link in place.
TEST_F(Transaction, ACrashThroughALinkedFileIsCompletedWhereTheLinkLeads) {
  ScratchDir elsewhere;
  const std::string real = elsewhere.PathOf("moves");
  ScratchDir::WriteRaw(real, "b0");
  std::filesystem::remove(b);
  std::filesystem::create_symlink(real, b);
  Crash([&](const std::string& op) { return op.starts_with("Rename ") && op.ends_with(" " + real); });
  ASSERT_EQ(A(), "a2");
  ASSERT_EQ(B(), "b0");
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a2");
  EXPECT_TRUE(std::filesystem::is_symlink(b));
  EXPECT_EQ(ScratchDir::ReadRaw(real), "b1");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere.Path()), {}), 1);
}

// A rename that fails after another one succeeded is put back under a
// journal of the old contents: a crash while the files are put back leaves
// them to the next start, which finishes it.
TEST_F(Transaction, PuttingBackAfterAFailedRenameSurvivesACrashOrCompletesTheChange) {
  Crash([&](const std::string& op) { return op == "Rename " + scratch + " " + a; },
        [&](const std::string& op) { return RenameOfB(op); });
  ASSERT_EQ(A(), "a2");
  ASSERT_EQ(B(), "b0");
  ASSERT_TRUE(Journal());
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a0");
  EXPECT_EQ(B(), "b0");
  EXPECT_FALSE(Journal());
  EXPECT_EQ(Files(), 2);

  // When not even that journal can be written, the change is completed
  // instead, never left half done.
  FaultyFiles faulty;
  int renames = 0;
  faulty.failIf = [&](const std::string& op) {
    return (RenameOfB(op) && ++renames == 1) || (op.starts_with("Open ") && op.ends_with("-journal.dat"));
  };
  SetFiles(&faulty);
  {
    FileTransaction t(dir.Path(), scratch);
    ReplaceFile(a, scratch, "a1");
    ReplaceFile(b, scratch, "b1");
    EXPECT_FALSE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());
}

// The commit is on the disk before the journal's removal: a journal that
// comes back (a power cut before the removal reached the disk) finds every
// file new and leaves them so.
TEST_F(Transaction, AJournalOfACompleteChangeLeavesItStanding) {
  Crash([&](const std::string& op) { return op == "Remove " + journal; });
  ASSERT_EQ(A(), "a2");
  ASSERT_EQ(B(), "b1");
  ASSERT_TRUE(Journal());
  EXPECT_EQ(RecoverFiles(dir.Path(), scratch), Recovery::PutBack);
  EXPECT_EQ(A(), "a2");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());
}

TEST_F(Transaction, AJournalOutOfDateTouchesNothing) {
  CrashBetweenRenames();
  ScratchDir::WriteRaw(a, "changed since");
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "changed since");
  EXPECT_EQ(B(), "b0");
  EXPECT_FALSE(Journal());

  // The next transaction also clears a journal first.
  ScratchDir::WriteRaw(a, "a0");
  CrashBetweenRenames();
  ScratchDir::WriteRaw(a, "changed since");
  {
    FileTransaction t(dir.Path(), scratch);
    EXPECT_FALSE(Journal());
    EXPECT_EQ(A(), "changed since");
    EXPECT_EQ(B(), "b0");
    EXPECT_TRUE(t.Commit());
  }
}

TEST_F(Transaction, CommittedStaysAbandonedOrFailedIsPutBack) {
  int undone = 0;
  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a1");
    ReplaceFile(b, scratch, "b1");
    // The change reads its own new content; the files keep theirs until
    // the commit.
    EXPECT_EQ(ReadWholeFile(a), "a1");
    EXPECT_EQ(A(), "a0");
    EXPECT_FALSE(Journal());
    EXPECT_TRUE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());
  EXPECT_EQ(undone, 0);

  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a2");
    FileTransaction inner(dir.Path(), scratch);
    ReplaceFile(b, scratch, "b2");
    EXPECT_TRUE(inner.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(B(), "b1");
  EXPECT_EQ(undone, 1);

  // Failing b's replacement: nothing more is written, and nothing stays.
  FaultyFiles faulty;
  int renames = 0;
  faulty.failIf = [&](const std::string& op) { return op.starts_with("Rename " + scratch + " ") && ++renames == 2; };
  SetFiles(&faulty);
  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a3");
    EXPECT_THROW(ReplaceFile(b, scratch, "b3"), FileError);
    EXPECT_TRUE(t.Failed());
    EXPECT_THROW(ReplaceFile(a, scratch, "a4"), FileError);
    EXPECT_EQ(ReadWholeFile(a), "a1");
    EXPECT_FALSE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(undone, 2);

  // Failing b's rename in the commit, after a's: a is put back.
  faulty.failIf = [&](const std::string& op) { return op.starts_with("Rename ") && op.ends_with(" " + b); };
  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a5");
    ReplaceFile(b, scratch, "b5");
    EXPECT_FALSE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());
  EXPECT_EQ(undone, 3);

  // A journal that cannot be removed after the commit leaves the change
  // standing, here and at the next start.
  faulty.failIf = [&](const std::string& op) { return op == "Remove " + journal; };
  {
    FileTransaction t(dir.Path(), scratch);
    ReplaceFile(a, scratch, "a6");
    ReplaceFile(b, scratch, "b6");
    EXPECT_TRUE(t.Commit());
  }
  EXPECT_TRUE(Journal());
  SetFiles(nullptr);
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a6");
  EXPECT_EQ(B(), "b6");
  EXPECT_FALSE(Journal());
  std::size_t left = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    left += e.path().filename().string().starts_with(ScratchFilePrefix);
  EXPECT_EQ(left, 0u);
}

}  // namespace
}  // namespace sol
