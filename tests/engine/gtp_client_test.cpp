// The GTP client on real child programs: small shell scripts standing in for
// an engine that answers, refuses, breaks down or hangs, and GNU Go itself.
#include "engine/gtp_client.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "core/posix_process.h"

namespace sol {
namespace {

// An engine in sh: `body` is the case list run for each command ($id, $cmd).
std::unique_ptr<ChildProcess> Script(const std::string& body) {
  const std::string loop = "while read id cmd rest; do case $cmd in " + body +
                           " quit) printf '=%s\\n\\n' $id; exit;; *) printf '=%s\\n\\n' $id;; esac; done";
  ProcessStart s = StartPosixProcess({"sh", "-c", loop}, "");
  EXPECT_TRUE(s.process) << ToUtf8(s.error);
  return std::move(s.process);
}

// Children of this process left as zombies.
int Zombies() {
  int count = 0;
  DIR* proc = opendir("/proc");
  while (dirent* e = proc ? readdir(proc) : nullptr) {
    std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
    std::string pid, name, state;
    long ppid = 0;
    if (stat >> pid >> name >> state >> ppid && ppid == getpid() && state == "Z") ++count;
  }
  if (proc) closedir(proc);
  return count;
}

TEST(GtpClient, RepliesRefusalsAndTheIdsOfEachCommand) {
  GtpClient engine(Script("genmove) printf '= D4\\n\\n';; play) printf '?%s illegal move\\n\\n' $id;;"), 5000);
  const GtpAnswer move = engine.Ask("genmove black");
  EXPECT_TRUE(move.Ok());
  EXPECT_EQ(move.text, "D4");
  const GtpAnswer refused = engine.Ask("play black D4");
  EXPECT_EQ(refused.status, GtpAnswer::Status::Refused);
  EXPECT_EQ(ToUtf8(refused.why), "illegal move");
  EXPECT_TRUE(engine.Alive());
  EXPECT_TRUE(engine.Ask("clear_board").Ok());
}

TEST(GtpClient, AnEngineThatFailsIsEndedWithTheReasonAndLeavesNoProcess) {
  struct Case {
    const char* body;
    int timeoutMs;
    const char* why;
  } cases[] = {
      {"genmove) exit 1;;", 5000, "途中で終了"},
      {"genmove) echo 'Segmentation fault'; printf '= D4\\n\\n';;", 5000, "GTP の応答ではありません"},
      {"genmove) sleep 5;;", 300, "答えない"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    GtpClient engine(Script(c.body), c.timeoutMs);
    EXPECT_TRUE(engine.Ask("boardsize 19").Ok());
    const GtpAnswer a = engine.Ask("genmove black");
    EXPECT_EQ(a.status, GtpAnswer::Status::Failed);
    EXPECT_NE(ToUtf8(a.why).find(c.why), std::string::npos) << ToUtf8(a.why);
    EXPECT_FALSE(engine.Alive());
    EXPECT_EQ(engine.Ask("genmove black").status, GtpAnswer::Status::Failed);
  }
  EXPECT_EQ(Zombies(), 0);
  const ProcessStart missing = StartPosixProcess({"no-such-engine-here", "--mode", "gtp"}, "");
  EXPECT_FALSE(missing.process);
  EXPECT_EQ(ToUtf8(missing.error), "プログラム「no-such-engine-here」が見つかりません。");
}

TEST(GtpClient, CommandLinesSplitAsAShellWould) {
  EXPECT_EQ(SplitCommandLine("gnugo --mode gtp"), (std::vector<std::string>{"gnugo", "--mode", "gtp"}));
  EXPECT_EQ(SplitCommandLine(" katago gtp -model \"/m/my model.bin.gz\" -config 'a b.cfg' "),
            (std::vector<std::string>{"katago", "gtp", "-model", "/m/my model.bin.gz", "-config", "a b.cfg"}));
  EXPECT_EQ(SplitCommandLine("a\\ b"), (std::vector<std::string>{"a b"}));
  EXPECT_TRUE(SplitCommandLine("gnugo \"open").empty());
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

// GNU Go at level 1: a capture and its undo, a move of its own, and the
// dead stone of a finished corner.
TEST(GtpClient, AShortGameAgainstGnuGo) {
  const std::string path = access("/usr/games/gnugo", X_OK) == 0 ? "/usr/games/gnugo" : "gnugo";
  ProcessStart s = StartPosixProcess({path, "--mode", "gtp", "--level", "1"}, "");
  ASSERT_TRUE(s.process) << "GNU Go (gnugo) is not installed: " << ToUtf8(s.error);
  GtpClient engine(std::move(s.process), 60000);
  const GtpAnswer commands = engine.Ask("list_commands");
  ASSERT_TRUE(commands.Ok());
  for (const char* c : {"undo", "final_status_list", "fixed_handicap", "final_score"})
    EXPECT_NE(commands.text.find(std::string("\n") + c + "\n"), std::string::npos) << c;
  for (const std::string& c : {std::string("boardsize 19"), std::string("clear_board"), "komi " + gtp::Number(6.5)})
    EXPECT_TRUE(engine.Ask(c).Ok()) << c;
  for (const char* c : {"play white A19", "play black B19", "play black A18"}) ASSERT_TRUE(engine.Ask(c).Ok()) << c;
  EXPECT_EQ(engine.Ask("list_stones white").text, "");
  EXPECT_TRUE(engine.Ask("undo").Ok());
  EXPECT_EQ(engine.Ask("list_stones white").text, "A19");
  EXPECT_EQ(engine.Ask("play black A19").status, GtpAnswer::Status::Refused);
  const GtpAnswer reply = engine.Ask("genmove white");
  ASSERT_TRUE(reply.Ok());
  EXPECT_TRUE(gtp::ParseMove(reply.text));

  EXPECT_TRUE(engine.Ask("clear_board").Ok());
  for (const char* v : {"A13", "B13", "C13", "D13", "E13", "F13", "G13", "G14", "G15", "G16", "G17", "G18", "G19"})
    ASSERT_TRUE(engine.Ask(std::string("play black ") + v).Ok()) << v;
  ASSERT_TRUE(engine.Ask("play white C17").Ok());
  const GtpAnswer dead = engine.Ask("final_status_list dead");
  ASSERT_TRUE(dead.Ok());
  EXPECT_EQ(gtp::ParseVertices(dead.text), (std::vector<int>{*gtp::PointOfVertex("C17")}));
  const std::optional<gtp::Score> score = gtp::ParseScore(engine.Ask("final_score").text);
  ASSERT_TRUE(score);
  EXPECT_EQ(score->winner, 1);
  engine.Quit();
  EXPECT_FALSE(engine.Alive());
  EXPECT_EQ(Zombies(), 0);
}

}  // namespace
}  // namespace sol
