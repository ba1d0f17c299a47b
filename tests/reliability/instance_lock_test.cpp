// Only one copy of the program works on a data directory at a time, and a
// copy that died keeps nobody out.
#include "app/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/faulty_files.h"

namespace sol {
namespace {

using Outcome = InstanceLock::Outcome;
using testing::ScratchDir;

// Kills the child when the test ends early, so that no copy outlives it.
struct Child {
  pid_t pid = -1;
  ~Child() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

TEST(InstanceLock, AnotherLiveProcessKeepsTheSecondCopyOutUntilItDies) {
  ScratchDir dir;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  Child holder;
  const pid_t child = holder.pid = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    InstanceLock lock(dir.Path());
    const char taken = lock.Result() == Outcome::Taken ? 1 : 0;
    if (write(ready[1], &taken, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(ready[1]);
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  close(ready[0]);
  EXPECT_EQ(taken, 1);

  {
    InstanceLock second(dir.Path() + "/");
    EXPECT_EQ(second.Result(), Outcome::HeldElsewhere);
  }
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  holder.pid = -1;

  // The lock file is still there; the lock went with the process.
  EXPECT_TRUE(std::filesystem::exists(dir.PathOf(InstanceLockFileName)));
  InstanceLock after(dir.Path());
  EXPECT_EQ(after.Result(), Outcome::Taken);
  EXPECT_EQ(after.Path(), dir.PathOf(InstanceLockFileName));
}

TEST(InstanceLock, HeldUntilReleasedAndNeverBlocksWhenItCannotBeMade) {
  ScratchDir dir;
  {
    InstanceLock first(dir.Path());
    ASSERT_EQ(first.Result(), Outcome::Taken);
    InstanceLock second(dir.Path());
    EXPECT_EQ(second.Result(), Outcome::HeldElsewhere);
  }
  InstanceLock again(dir.Path());
  EXPECT_EQ(again.Result(), Outcome::Taken);

  // A directory that cannot hold the lock file does not count as another copy.
  InstanceLock nowhere(dir.PathOf("missing/folder"));
  EXPECT_EQ(nowhere.Result(), Outcome::Unavailable);
}

}  // namespace
}  // namespace sol
