// Where the data and the shipped files are looked for, and what becomes of
// the program's own options on the command line.
#include "app/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace sol {
namespace {

// An installed program: /usr/bin holds nothing it ships, even where root may
// write it.
FolderInputs Installed() {
  FolderInputs in;
  in.workingDir = "/home/taro/棋譜";
  in.home = "/home/taro";
  in.programDir = "/usr/bin";
  in.installedShareDir = "/usr/share/solneka";
  in.holdsShippedFiles = [](const std::string& dir) { return dir == "/opt/solneka"; };
  in.writable = [](const std::string&) { return true; };
  return in;
}

TEST(DataFolder, EachSourceGivesWayToTheOneBeforeIt) {
  FolderInputs in = Installed();
  EXPECT_EQ(ChooseFolders(in).dataDir, "/home/taro/.local/share/solneka");
  EXPECT_EQ(ChooseFolders(in).origin, DataOrigin::UserFolder);
  in.xdgDataHome = "/data/xdg";
  EXPECT_EQ(ChooseFolders(in).dataDir, "/data/xdg/solneka");
  in.programDir = "/opt/solneka";
  EXPECT_EQ(ChooseFolders(in).dataDir, "/opt/solneka");
  EXPECT_EQ(ChooseFolders(in).origin, DataOrigin::ProgramFolder);
  in.solnekaHome = "/srv/go";
  EXPECT_EQ(ChooseFolders(in).dataDir, "/srv/go");
  EXPECT_EQ(ChooseFolders(in).origin, DataOrigin::Environment);
  in.arguments = {"--data", "/mnt/usb/囲碁"};
  EXPECT_EQ(ChooseFolders(in).dataDir, "/mnt/usb/囲碁");
  EXPECT_EQ(ChooseFolders(in).origin, DataOrigin::Option);
}

TEST(DataFolder, OptionsAreTakenOutOfTheFilesToOpen) {
  FolderInputs in = Installed();
  in.arguments = {"a.sgf", "--data=囲碁", "b.sgf", "--self-check"};
  FolderChoice c = ChooseFolders(in);
  EXPECT_EQ(c.dataDir, "/home/taro/棋譜/囲碁");
  EXPECT_TRUE(c.selfCheck);
  EXPECT_EQ(c.files, (std::vector<std::string>{"a.sgf", "b.sgf"}));
  // The folder after --data is never opened as a game.
  in.arguments = {"--data", "/tmp/d", "c.sgf"};
  c = ChooseFolders(in);
  EXPECT_EQ(c.dataDir, "/tmp/d");
  EXPECT_EQ(c.files, std::vector<std::string>{"c.sgf"});
  EXPECT_FALSE(c.selfCheck);
}

TEST(DataFolder, TheProgramFolderHoldsTheDataOnlyAsAWritablePortableCopy) {
  FolderInputs in = Installed();
  // Root may write /usr/bin, but it is no portable copy.
  FolderChoice c = ChooseFolders(in);
  EXPECT_EQ(c.dataDir, "/home/taro/.local/share/solneka");
  EXPECT_EQ(c.shareDir, "/usr/share/solneka");
  // A portable copy on a read-only medium keeps its shipped files but not
  // its data.
  in.programDir = "/opt/solneka";
  in.writable = [](const std::string&) { return false; };
  c = ChooseFolders(in);
  EXPECT_EQ(c.dataDir, "/home/taro/.local/share/solneka");
  EXPECT_EQ(c.shareDir, "/opt/solneka");
  // A portable build knows no share folder: the program's own is the one.
  in = Installed();
  in.installedShareDir.clear();
  EXPECT_EQ(ChooseFolders(in).shareDir, "/usr/bin");
}

TEST(DataFolder, AFolderThatCannotBeDecidedIsSaidSo) {
  FolderInputs in = Installed();
  for (const auto& args : {std::vector<std::string>{"--data"}, std::vector<std::string>{"--data="},
                           std::vector<std::string>{"--data", ""}}) {
    in.arguments = args;
    FolderChoice c = ChooseFolders(in);
    EXPECT_TRUE(c.dataDir.empty());
    EXPECT_NE(ToUtf8(c.error).find("--data"), std::string::npos);
  }
  // A relative XDG_DATA_HOME is ignored; without HOME nothing is left.
  in.arguments.clear();
  in.xdgDataHome = "relative";
  in.home.clear();
  FolderChoice c = ChooseFolders(in);
  EXPECT_TRUE(c.dataDir.empty());
  EXPECT_FALSE(c.error.empty());
}

TEST(DataFolder, PreparingCreatesTheFolderOrSaysWhyNot) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(::testing::TempDir()) / "solneka-data-folder";
  fs::remove_all(root);
  fs::create_directories(root);
  const std::string nested = (root / "a" / "solneka").string();
  EXPECT_EQ(PrepareDataFolder(nested, DataOrigin::UserFolder), Str());
  EXPECT_TRUE(fs::is_directory(nested));
  EXPECT_TRUE(fs::is_empty(nested));  // the write check leaves nothing behind

  std::ofstream(root / "file") << "x";
  const Str message = PrepareDataFolder((root / "file" / "solneka").string(), DataOrigin::Option);
  EXPECT_NE(ToUtf8(message).find("作れません"), std::string::npos);
  EXPECT_NE(ToUtf8(message).find("--data で指定"), std::string::npos);
  fs::remove_all(root);
}

}  // namespace
}  // namespace sol
