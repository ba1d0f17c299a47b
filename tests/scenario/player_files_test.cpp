// The runner's commands for files beyond the data files: the bytes `file`
// writes, and the file dialogs answered from the queue.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "scenario/runner.h"
#include "scenario/session.h"

namespace sol {
namespace {

namespace fs = std::filesystem;

class PlayerFiles : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("player-files-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the text on the test's folder; returns the failure lines.
  std::string Play(const std::string& text) {
    std::ostringstream out;
    RunScenarioText("t.scn", text, dir_.string(), out, totals_);
    return out.str();
  }
  std::string Bytes(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream b;
    b << in.rdbuf();
    return b.str();
  }

  fs::path dir_;
  ScenarioTotals totals_;
};

TEST_F(PlayerFiles, FileWritesTheTextInItsEncoding) {
  const std::string out = Play(
      "file \"sub/dir/a.sgf\" \"碁a\" cp932\n"
      "file \"b.txt\" \"碁\" euc-jp\n"
      "file \"c.txt\" \"碁\\n\" bom\n"
      "file \"d.txt\" \"é\" latin1\n");
  EXPECT_EQ(totals_.failed, 0) << out;
  EXPECT_EQ(Bytes("sub/dir/a.sgf"),
            "\x8C\xE9"
            "a");
  EXPECT_EQ(Bytes("b.txt"), "\xB8\xEB");
  EXPECT_EQ(Bytes("c.txt"), "\xEF\xBB\xBF\xE7\xA2\x81\n");
  EXPECT_EQ(Bytes("d.txt"), "\xE9");
}

TEST_F(PlayerFiles, FileThatCannotBeWrittenSoIsAnErrorAndWritesNothing) {
  const std::string out = Play(
      "file \"a.txt\" \"碁한\" cp932\n"
      "file \"b.txt\" \"碁\" cp932 bom\n"
      "file \"c.txt\" \"碁\" klingon\n");
  EXPECT_EQ(totals_.failed, 3) << out;
  EXPECT_NE(out.find("t.scn:1: \"한\" cannot be written in cp932"), std::string::npos) << out;
  EXPECT_NE(out.find("t.scn:2: a byte order mark"), std::string::npos) << out;
  EXPECT_NE(out.find("t.scn:3: unknown encoding klingon"), std::string::npos) << out;
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_FALSE(fs::exists(dir_ / name)) << name;
}

TEST_F(PlayerFiles, ArgumentAfterTheStartIsAnError) {
  const std::string out = Play(
      "argument \"a.sgf\"\n"
      "expect window Form2 shown\n"
      "argument \"b.sgf\"\n");
  EXPECT_EQ(totals_.failed, 1) << out;
  EXPECT_NE(out.find("t.scn:3: argument comes before the program starts"), std::string::npos) << out;
}

TEST_F(PlayerFiles, ChoiceLeftOverAfterTheActionIsAnError) {
  const std::string out = Play(
      "choose \"a.sgf\"\n"
      "choose cancel\n"
      "click Form2 61 left\n"
      "click Form2 62 left\n");
  EXPECT_EQ(totals_.failed, 1) << out;
  EXPECT_NE(out.find("t.scn:3: 2 queued file choice(s) left unused"), std::string::npos) << out;
}

// A dialog the program opens between two lines, as a menu command would.
TEST_F(PlayerFiles, DialogsTakeTheQueuedChoicesAndAreRecorded) {
  std::ostringstream out;
  {
    Session s("t.scn", dir_.string(), out, totals_);
    s.Run(
        "choose \"games/../a.sgf\" \"/elsewhere/b.sgf\"\n"
        "choose cancel\n"
        "choose \"x.sgf\" \"y.sgf\"\n");
    ScriptPlatform& outside = s.Outside();
    const std::string data = fs::absolute(dir_).lexically_normal().string();
    EXPECT_EQ(outside.ChooseFiles(FileDialog::OpenMany, u"開く", u"SGF棋譜 (*.sgf)", ""),
              (std::vector<std::string>{data + "/a.sgf", "/elsewhere/b.sgf"}));
    EXPECT_TRUE(outside.ChooseFiles(FileDialog::Save, u"保存", u"", "").empty());
    // Several paths for a dialog of one: answered Cancel, and an error.
    EXPECT_TRUE(outside.ChooseFiles(FileDialog::Open, u"一つ", u"", "").empty());
    // Nothing queued: answered Cancel, and an error.
    EXPECT_TRUE(outside.ChooseFiles(FileDialog::Folder, u"フォルダ", u"", "").empty());
    ASSERT_EQ(outside.errors.size(), 2u);
    EXPECT_EQ(outside.errors[0], "the open dialog \"一つ\" takes one path, 2 were queued");
    EXPECT_EQ(outside.errors[1], "no choice queued for the folder dialog \"フォルダ\"");
    outside.errors.clear();
    s.Run(
        "expect dialog open \"開く\"\n"
        "expect dialog save\n"
        "expect dialog save \"一つ\"\n"
        "expect nodialog\n"
        "expect dialog folder \"フォルダ\"\n"
        "expect nodialog\n");
  }
  const std::string text = out.str();
  EXPECT_NE(text.find("t.scn:3: dialog save \"一つ\" — dialog open \"一つ\""), std::string::npos) << text;
  EXPECT_NE(text.find("t.scn:4: no further file dialog — dialog folder \"フォルダ\" not taken"), std::string::npos)
      << text;
  EXPECT_EQ(totals_.failed, 2) << text;
  EXPECT_EQ(totals_.passed, 4) << text;
}

}  // namespace
}  // namespace sol
