// The library and adjourn commands when a data file fails: what stays
// stored, what the player is told, and that no failure is called a success.
#include <gtest/gtest.h>

#include "app/program.h"
#include "records/game_files.h"
#include "scenario/script_platform.h"
#include "tests/support/faulty_files.h"

namespace sol {
namespace {

using testing::FaultyFiles;
using testing::ScratchDir;

std::string Moves(std::initializer_list<GameMoveRecord> records) {
  std::string out;
  for (const GameMoveRecord& r : records) out += r.Encode();
  return out;
}

struct Library : ::testing::Test {
  ScratchDir dir;
  ScriptPlatform platform;
  std::unique_ptr<Program> program;
  FaultyFiles faulty;
  GameState* s = nullptr;
  Form2* board = nullptr;
  Form3* library = nullptr;

  void TearDown() override { SetFiles(nullptr); }

  // Starts the program on the given files.
  void Start(const std::string& moves, const std::string& list) {
    ASSERT_FALSE(dir.Path().empty());
    ScratchDir::WriteRaw(dir.PathOf(GameMovesFileName), moves);
    ScratchDir::WriteRaw(dir.PathOf(GameListFileName), list);
    program = std::make_unique<Program>(platform, dir.Path());
    s = &program->State;
    board = &program->MainBoard;
    library = &program->Library;
    program->Start();
    SetFiles(&faulty);
  }
  void FailWhen(const std::string& operation) {
    faulty.failIf = [operation](const std::string& op) { return op == operation; };
  }
  // Fails the rename that puts the file's new content in its place.
  void FailReplacing(const std::string& file) {
    faulty.failIf = [file](const std::string& op) { return op.starts_with("Rename ") && op.ends_with(" " + file); };
  }
  void Play(std::initializer_list<int> points) {
    for (int p : points) board->Cells.MouseDown(p, ButtonLeft, 0);
  }
  std::string MovesFile() const { return ScratchDir::ReadRaw(s->GameMovesFile); }
  std::string ListFile() const { return ScratchDir::ReadRaw(s->GameListFile); }
};

const Str NoFile = u"ファイルがありません";

std::string Titles(std::initializer_list<GameListRecord> games) {
  std::string file(10 * GameListRecord::Length, '\0');
  for (const GameListRecord& g : games) {
    const size_t at = static_cast<size_t>(g.GameNumber + 9) * GameListRecord::Length;
    if (file.size() < at + GameListRecord::Length) file.resize(at + GameListRecord::Length, '\0');
    file.replace(at, GameListRecord::Length, g.Encode());
  }
  return file;
}

// The title and the moves are one change: moves stored under a title that
// failed would be restored as a game the library does not list.
TEST_F(Library, AdjournWithAnUnwritableListStoresNeitherFileAndReportsTheFailure) {
  Start("", "");
  Play({61, 62});
  FailReplacing(s->GameListFile);
  platform.answers.push_back(Answer::OK);
  board->MenuSave();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
  EXPECT_TRUE(platform.cues.empty());
  EXPECT_EQ(MovesFile(), "");
  EXPECT_EQ(ListFile(), "");
  EXPECT_EQ(s->GameMovesRecordCount, 0);
}

TEST_F(Library, AdjournThatCannotReplaceTheMovesKeepsTheEarlierOne) {
  const std::string earlier = Moves({{5, 1, 1, 100}, {1, 1, 1, 300}, {1, 2, 2, 301}});
  Start(earlier, Titles({{1, u"：打掛け（99-12-31)"}}));
  Play({61, 62, 63});
  FailReplacing(s->GameMovesFile);
  platform.answers.push_back(Answer::OK);
  board->MenuSave();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
  EXPECT_TRUE(platform.cues.empty());
  EXPECT_EQ(MovesFile(), earlier);
  EXPECT_EQ(s->GameMovesRecordCount, 3);

  faulty.failIf = nullptr;
  board->MenuRestore();
  EXPECT_EQ(s->MoveCount, 2);
  EXPECT_EQ(board->Cells.PictureAt(300), PictureBlack);
  EXPECT_EQ(board->Cells.PictureAt(61), PictureNone);
}

TEST_F(Library, RestoreOfAnUnreadableOrOverlongGameLeavesTheBoardEmpty) {
  std::string overlong;
  for (int j = 1; j <= MaxMoves + 1; ++j) overlong += GameMoveRecord{1, static_cast<int16_t>(j), 1, 5}.Encode();
  Start(overlong, "");
  Play({61});
  board->MenuRestore();
  EXPECT_EQ(board->StatusBar1.Text(), u"棋譜が400手を超えているか、壊れているため読み込めません");
  EXPECT_EQ(board->Cells.PictureAt(5), PictureNone);
  EXPECT_EQ(board->Cells.PictureAt(61), PictureNone);
  EXPECT_EQ(s->MoveList[1], MoveEntry{});

  FailWhen("Open " + s->GameMovesFile);
  board->StatusBar1.SetText(u"");
  board->MenuRestore();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
}

TEST_F(Library, RecordWhoseTitleCannotBeWrittenStoresNothing) {
  Start("", "");
  Play({61});
  board->OpenLibrary();
  library->Text1.SetText(u"05：朝刊");
  FailReplacing(s->GameListFile);
  library->Command1_Click();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
  EXPECT_EQ(library->StatusBar1.Text(), NoFile);
  EXPECT_EQ(library->List1.ListCount(), 0);
  EXPECT_EQ(MovesFile(), "");
  EXPECT_TRUE(platform.cues.empty());
}

TEST_F(Library, UpdateThatFailsKeepsTheStoredGameAndItsLine) {
  const std::string stored = Moves({{5, 1, 1, 100}, {7, 1, 1, 200}});
  const std::string titles = Titles({{5, u"：五（99-01-01)"}});
  Start(stored, titles);
  Play({61, 62});
  board->OpenLibrary();
  ASSERT_EQ(library->List1.ListIndex(), 0);
  const Str line = library->List1.List(0);
  FailReplacing(s->GameMovesFile);
  library->Command5_Click();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
  EXPECT_NE(library->StatusBar1.Text(), u"更新しました");
  EXPECT_EQ(MovesFile(), stored);
  EXPECT_EQ(ListFile(), titles);
  EXPECT_EQ(library->List1.List(0), line);
  EXPECT_TRUE(platform.cues.empty());
}

TEST_F(Library, DeleteWhoseMovesCannotBeRemovedKeepsTheGameListed) {
  const std::string stored = Moves({{5, 1, 1, 100}});
  const std::string titles = Titles({{5, u"：五（99-01-01)"}});
  Start(stored, titles);
  board->OpenLibrary();
  FailReplacing(s->GameMovesFile);
  platform.answers.push_back(Answer::OK);
  library->Command3_Click();
  EXPECT_EQ(board->StatusBar1.Text(), NoFile);
  EXPECT_EQ(library->List1.ListCount(), 1);
  EXPECT_EQ(MovesFile(), stored);
  EXPECT_EQ(ListFile(), titles);
  EXPECT_TRUE(platform.cues.empty());
}

TEST_F(Library, FileErrorsOfTheLibraryItselfShowInItsOwnStatusBar) {
  Start(Moves({{5, 1, 1, 100}}), Titles({{5, u"：五（99-01-01)"}}));
  FailWhen("Open " + s->GameMovesFile);
  board->OpenLibrary();
  library->Command2_Click();
  EXPECT_EQ(library->StatusBar1.Text(), NoFile);
  EXPECT_EQ(library->State(), WindowState::Shown);
  EXPECT_EQ(board->Cells.PictureAt(100), PictureNone);
  library->MenuMainBoard();

  FailWhen("Open " + s->GameListFile);
  board->OpenLibrary();
  EXPECT_EQ(library->StatusBar1.Text(), NoFile);
  EXPECT_EQ(library->List1.ListCount(), 0);
}

}  // namespace
}  // namespace sol
