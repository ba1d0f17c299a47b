// The program killed at random moments while it runs writing commands. A
// child process works through a long run of commands on a data directory
// and reports each one it finishes; the parent kills it with SIGKILL, starts
// the program again on what is left, and compares the files with a run of
// the same commands that nobody disturbed. Every file must be whole and
// the files together as they were before the command that was cut short or
// as they are after it; the links between the problem files must hold; and
// whatever the scratch file holds must not matter.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "core/file_transaction.h"
#include "tests/support/faulty_files.h"
#include "tests/support/sample_data.h"
#include "tests/support/session.h"
#include "tests/support/workload.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOLNEKA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOLNEKA_SANITIZED 1
#endif
#endif

namespace sol {
namespace {

using testing::FileSet;
using testing::ScratchDir;
using testing::Session;
using testing::Workload;

// Far fewer under the sanitizers, where every command is several times slower.
int KillCount() {
#ifdef SOLNEKA_SANITIZED
  return 60;
#else
  const char* sanitized = std::getenv("SOLNEKA_SANITIZE_BUILD");
  return sanitized && *sanitized && std::string(sanitized) != "0" ? 60 : 220;
#endif
}

int RecordLengthOf(const std::string& name) {
  const std::pair<const char*, int> lengths[] = {
      {GameListFileName, GameListRecordLength},       {GameMovesFileName, GameMoveRecordLength},
      {ProblemListFileName, ProblemListRecordLength}, {ProblemMovesFileName, ProblemMoveRecordLength},
      {AnswerMovesFileName, AnswerMoveRecordLength},  {CommentFileName, CommentRecordLength}};
  for (const auto& [n, length] : lengths)
    if (name == n) return length;
  return 1;
}

// Runs commands until it is killed, writing one byte to `report` after each.
[[noreturn]] void Child(const std::string& dir, unsigned seed, int report) {
  SetFiles(nullptr);
  try {
    Session s(dir);
    Workload work(s, seed);
    for (;;) {
      work.Next();
      const char done = 1;
      if (write(report, &done, 1) != 1) _exit(3);
    }
  } catch (...) {
    _exit(2);
  }
}

// The files after each of the first `count` commands of the run, the files
// it started from first.
std::vector<std::pair<FileSet, bool>> Undisturbed(const FileSet& start, unsigned seed, int count) {
  ScratchDir dir(ScratchDir::FastBase());
  testing::WriteDataFiles(dir.Path(), start);
  Session s(dir.Path());
  Workload work(s, seed);
  std::vector<std::pair<FileSet, bool>> out = {{start, true}};
  for (int i = 0; i < count; ++i) {
    const bool whole = work.Next();
    out.push_back({testing::ReadDataFiles(dir.Path()), whole});
  }
  return out;
}

TEST(Crash, KilledAtRandomMomentsEveryCommandIsWholeOrUndone) {
  const FileSet base = testing::LargeSampleData(30);
  ScratchDir dir(ScratchDir::FastBase());
  ASSERT_FALSE(dir.Path().empty());
  const std::string journal = dir.PathOf(JournalFileName);
  testing::WriteDataFiles(dir.Path(), base);
  testing::NoSyncFiles fast;

  std::mt19937 rng(20240506);
  const int kills = KillCount();
  int survived = 0, halfDone = 0, commands = 0;
  FileSet start = base;
  for (int run = 0; run < kills; ++run) {
    // A scratch file left by the run before, with anything in it.
    std::string junk(rng() % 3000, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    ScratchDir::WriteRaw(dir.PathOf(TempFileName), junk);

    int pipe_[2];
    ASSERT_EQ(pipe(pipe_), 0);
    const unsigned seed = 1000u + static_cast<unsigned>(run);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipe_[0]);
      Child(dir.Path(), seed, pipe_[1]);
    }
    close(pipe_[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 30000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    int done = 0;
    char buf[256];
    for (ssize_t n; (n = read(pipe_[0], buf, sizeof buf)) > 0;) done += static_cast<int>(n);
    close(pipe_[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the commands stopped by themselves, status " << status;
    commands += done;

    SetFiles(&fast);
    // Even before the next start puts anything back, each file is some
    // whole version of itself.
    const FileSet left = testing::ReadDataFiles(dir.Path());
    ASSERT_EQ(left.size(), testing::DataFileNames().size()) << "a file is missing after run " << run;
    for (const auto& [name, content] : left)
      EXPECT_EQ(content.size() % static_cast<size_t>(RecordLengthOf(name)), 0u) << name << " after run " << run;
    if (std::filesystem::exists(journal)) ++halfDone;

    // The next start puts back what the kill cut short.
    std::vector<std::string> faults;
    FileSet now;
    {
      Session restarted(dir.Path());
      EXPECT_FALSE(std::filesystem::exists(journal)) << "run " << run;
      now = testing::ReadDataFiles(dir.Path());
      faults = testing::ProblemFileFaults(now);
      for (int category : {1, 2})
        for (const std::string& f : restarted.DataCheckFaults(category)) faults.push_back("data check " + f);
    }
    const auto steps = Undisturbed(start, seed, done + 1);
    const FileSet& before = steps[static_cast<size_t>(done)].first;
    const auto& [after, whole] = steps[static_cast<size_t>(done) + 1];
    SetFiles(nullptr);

    std::string mixed;
    for (const std::string& name : testing::DataFileNames())
      if (now.at(name) != before.at(name) && now.at(name) != after.at(name)) mixed += " " + name;
    EXPECT_EQ(mixed, "") << "run " << run << " after " << done << " commands: files that are neither old nor new";
    if (whole) {
      EXPECT_TRUE(now == before || now == after) << "run " << run << " after " << done << " commands: half a change";
    }
    EXPECT_TRUE(faults.empty()) << "run " << run << ": " << faults.front();
    if (::testing::Test::HasFailure()) return;
    ++survived;

    // A fresh copy now and then keeps the blocks from filling up.
    start = run % 25 == 24 ? base : now;
    if (start == base) testing::WriteDataFiles(dir.Path(), base);
  }
  std::cout << "kills survived: " << survived << " (" << commands << " commands finished, " << halfDone
            << " kills in the middle of a change)" << std::endl;
}

}  // namespace
}  // namespace sol
