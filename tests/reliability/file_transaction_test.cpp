// The undo journal behind all-or-nothing commands: put back after a failure,
// after an abandoned change and after a crash; left alone when out of date.
#include "core/file_transaction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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

  // A process that changes a, b and a again and dies before it commits.
  void CrashAfterThreeChanges() {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        auto* t = new FileTransaction(dir.Path(), scratch);
        ReplaceFile(a, scratch, "a1");
        ReplaceFile(b, scratch, "b1");
        ReplaceFile(a, scratch, "a2");
        (void)t;
      } catch (...) {
        _exit(2);
      }
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(A(), "a2");
    ASSERT_EQ(B(), "b1");
    ASSERT_TRUE(Journal());
  }

  ScratchDir dir;
  // Only data files' own names are ever put back.
  const std::string a = dir.PathOf(GameListFileName), b = dir.PathOf(GameMovesFileName),
                    scratch = dir.PathOf("scratch.dat");
  const std::string journal = dir.PathOf(JournalFileName);
};

TEST_F(Transaction, ACrashIsUndoneAtTheNextStartEvenWithATornJournal) {
  CrashAfterThreeChanges();
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a0");
  EXPECT_EQ(B(), "b0");
  EXPECT_FALSE(Journal());
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a0");

  // Killed while writing the third entry: its rename never happened.
  ScratchDir::WriteRaw(a, "a0");
  ScratchDir::WriteRaw(b, "b0");
  CrashAfterThreeChanges();
  const std::string whole = ScratchDir::ReadRaw(journal);
  ScratchDir::WriteRaw(journal, whole.substr(0, whole.size() - 5));
  ScratchDir::WriteRaw(a, "a1");
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a0");
  EXPECT_EQ(B(), "b0");
  EXPECT_FALSE(Journal());
}

TEST_F(Transaction, AJournalOutOfDateTouchesNothing) {
  CrashAfterThreeChanges();
  ScratchDir::WriteRaw(a, "changed since");
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "changed since");
  EXPECT_EQ(B(), "b1");
  EXPECT_FALSE(Journal());

  // The next transaction also clears a journal first.
  CrashAfterThreeChanges();
  {
    FileTransaction t(dir.Path(), scratch);
    EXPECT_FALSE(Journal());
    EXPECT_EQ(A(), "changed since");
    EXPECT_EQ(B(), "b1");
    EXPECT_TRUE(t.Commit());
  }
}

TEST_F(Transaction, CommittedStaysAbandonedOrFailedIsPutBack) {
  int undone = 0;
  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a1");
    ReplaceFile(b, scratch, "b1");
    EXPECT_TRUE(Journal());
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

  // Failing the rename of b: a is put back before the error arrives, and
  // nothing more is written.
  FaultyFiles faulty;
  faulty.failIf = [&](const std::string& op) { return op == "Rename " + scratch + " " + b; };
  SetFiles(&faulty);
  {
    FileTransaction t(dir.Path(), scratch, [&] { ++undone; });
    ReplaceFile(a, scratch, "a3");
    EXPECT_THROW(ReplaceFile(b, scratch, "b3"), FileError);
    EXPECT_EQ(A(), "a1");
    EXPECT_TRUE(t.Failed());
    EXPECT_THROW(ReplaceFile(a, scratch, "a4"), FileError);
    EXPECT_FALSE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(undone, 2);

  // A journal that cannot be removed would undo the change later: it is
  // undone now and reported.
  faulty.failIf = [&](const std::string& op) { return op == "Remove " + journal; };
  {
    FileTransaction t(dir.Path(), scratch);
    ReplaceFile(a, scratch, "a5");
    EXPECT_FALSE(t.Commit());
  }
  EXPECT_EQ(A(), "a1");
  SetFiles(nullptr);
  RecoverFiles(dir.Path(), scratch);
  EXPECT_EQ(A(), "a1");
  EXPECT_EQ(B(), "b1");
}

}  // namespace
}  // namespace sol
