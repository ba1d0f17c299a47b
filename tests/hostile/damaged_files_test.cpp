// Damaged data files, one class of damage per test: records cut short,
// points off the board, colours that are no stone, branch links that loop
// or name nothing, and files and record numbers past the last record number.
// Whatever a file holds, the windows skip or stop and report; nothing reads
// out of range, walks forever, or lets a damaged value onto a board.
#include <chrono>

#include "core/record_file.h"
#include "core/replay.h"
#include "problems/store.h"
#include "tests/hostile/hostile_fixture.h"

namespace sol::hostile {
namespace {

using Clock = std::chrono::steady_clock;

TEST_F(Damaged, TruncatedRecordsAreReadWhereWholeAndOverwrittenNext) {
  // Game 2's fifth move cut off after five of its eight bytes.
  Write(GameMovesFileName, sample::GameMovesFile() + sample::Moves({{2, 5, Black, 200}}).substr(0, 5));
  // The list file cut inside game 3's record.
  const std::string list = sample::GameListFile();
  Write(GameListFileName, list.substr(0, list.size() - 50));
  // Problem 1001's last set-up stone cut before its point, and the last
  // answer record of 手筋 cut after its move index.
  std::string setup = SetupStones({{1001, White, 100}, {1001, Black, 99}, {1001, Black, 101}, {1001, Black, 81}});
  Write(ProblemMovesFileName, setup.substr(0, setup.size() - 2));
  std::string answers = Answers(sample::Answers(1));
  Write(AnswerMovesFileName, answers.substr(0, answers.size() - 8));
  Start();
  EXPECT_EQ(S().GameMovesRecordCount, 15);

  ASSERT_TRUE(SelectGame(2));
  EXPECT_EQ(LineOf(Library().List1, 3, 2), -1) << "a game whose title record is cut short is not listed";
  Library().Command2.Click();
  EXPECT_EQ(MoveListLength(S()), 4);
  ExpectSound();
  // The next game stored lands right after the whole records; the stray
  // bytes do not survive.
  Menu(Board(), "メニュー棋譜");
  Library().Text1.SetText(u"04：四局目");
  Library().Command1.Click();
  const std::string moves = Read(GameMovesFileName);
  ASSERT_EQ(moves.size(), 19u * GameMoveRecord::Length);
  EXPECT_EQ(GameMoveRecord::Decode(std::string_view(moves).substr(15 * GameMoveRecord::Length, 8)),
            (GameMoveRecord{4, 1, Black, 73}));
  EXPECT_EQ(S().GameMovesRecordCount, 19);
  Menu(Library(), "メニューメイン碁盤へ");

  // A cut problem record reads as if its missing bytes were zeros: the
  // stone without a point is not drawn, the answer without colour and
  // point is listed but never played.
  OpenProblem("メニュー手筋登録", 1001);
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{99, 101}));
  EXPECT_EQ(Stones(Problems().Cells, PictureWhite), (std::vector<int>{100}));
  ASSERT_EQ(Problems().List2.ListCount(), 8);
  EXPECT_EQ(Problems().Answers().At(7).MoveIndex, 4);
  EXPECT_EQ(Problems().Answers().At(7).Point, 0);
  for (int i = 0; i < Problems().List2.ListCount(); ++i) {
    Problems().List2.SetListIndex(i);
    ExpectSound();
  }
  OpenProblem("メニュー手筋講座", 1001);
  for (int k = 0; k < 8; ++k) Problems().Command1.Click();
  Problems().Command2.Click();
  ExpectSound();
}

TEST_F(Damaged, PointsOffTheBoardAreSkipped) {
  std::vector<GameMoveRecord> moves = sample::GameMoves();
  for (GameMoveRecord r : std::vector<GameMoveRecord>{
           {2, 5, Black, 0}, {2, 6, White, 9999}, {2, 7, Black, -1}, {2, 8, White, 362}, {2, 9, Black, 100}})
    moves.push_back(r);
  Write(GameMovesFileName, sample::Moves(moves));
  Write(ProblemMovesFileName, SetupStones({{1001, White, 100},
                                           {1001, Black, 99},
                                           {1001, Black, 101},
                                           {1001, Black, 81},
                                           {1001, Black, 0},
                                           {1001, White, 9999},
                                           {1001, Black, 248},
                                           {1001, White, -5}}));
  // A root sequence whose first two moves are off the board, then one
  // that takes the white stone; a second root sequence at point 0.
  Write(AnswerMovesFileName, Answers({{1001, 1, Black, 0, 1, StartsAtProblem},
                                      {1001, 2, White, 9999, 2, 0},
                                      {1001, 3, Black, 119, 3, 0},
                                      {1001, 1, Black, 0, 4, StartsAtProblem}}));
  Start();

  ASSERT_TRUE(SelectGame(2));
  Library().Command2.Click();
  ASSERT_EQ(MoveListLength(S()), 5);
  EXPECT_EQ(S().MoveList[5], (MoveEntry{9, Black, 100}));
  EXPECT_EQ(Stones(Board().Cells, PictureBlack), (std::vector<int>{60, 73, 100}));
  Board().Command6.Click();
  Board().Slider1.SetValue(400);
  Board().Slider1.OnMouseUp();
  for (int k = 0; k < 6; ++k) Board().Command1.Click();
  for (int k = 0; k < 6; ++k) Board().Command4.Click();
  ExpectSound();

  OpenProblem("メニュー手筋講座", 1001);
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{81, 99, 101}));
  EXPECT_EQ(Problems().Position.Board[248], 0) << "a set-up stone off the problem board reached the board";
  EXPECT_EQ(S().Board[248], 0) << "a set-up stone off the problem board reached the main board";
  // Neither root sequence starts on the board: nothing is marked.
  Problems().Command1.Click();
  for (int p = 1; p <= ProblemPoints; ++p) ASSERT_EQ(Problems().Cells.CaptionAt(p), u" ") << p;
  ExpectSound();
  // The whole answer: only the move on the board is drawn, and it captures.
  Problems().Command2.Click();
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{81, 99, 101, 119}));
  EXPECT_EQ(Stones(Problems().Cells, PictureWhite), (std::vector<int>{}));
  ExpectSound();
  OpenProblem("メニュー手筋登録", 1001);
  Problems().List2.SetListIndex(0);
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{81, 99, 101, 119}));
  EXPECT_EQ(Stones(Problems().Cells, PictureWhite), (std::vector<int>{}));
  EXPECT_EQ(Problems().Position.CapturedWhite, 1);
  ExpectSound();
}

TEST_F(Damaged, ColoursThatAreNoStoneAreSkipped) {
  std::vector<GameMoveRecord> moves = sample::GameMoves();
  for (GameMoveRecord r :
       std::vector<GameMoveRecord>{{2, 5, 7, 100}, {2, 6, -9, 101}, {2, 7, 3, 102}, {2, 8, Black, 103}})
    moves.push_back(r);
  Write(GameMovesFileName, sample::Moves(moves));
  Write(ProblemMovesFileName, SetupStones({{1001, White, 100}, {1001, 7, 99}, {1001, -9, 101}, {1001, 3, 81}}));
  // Three root sequences at 119 (colour 7, then black) and 120 (colour
  // -9), and a root sequence that goes on with colours 7 and -9.
  Write(AnswerMovesFileName, Answers({{1001, 1, 7, 119, 1, StartsAtProblem},
                                      {1001, 1, Black, 119, 2, StartsAtProblem},
                                      {1001, 1, -9, 120, 3, StartsAtProblem},
                                      {1001, 1, Black, 138, 4, StartsAtProblem},
                                      {1001, 2, 7, 139, 5, 0},
                                      {1001, 3, -9, 140, 6, 0}}));
  Start();

  ASSERT_TRUE(SelectGame(2));
  Library().Command2.Click();
  ASSERT_EQ(MoveListLength(S()), 5);
  EXPECT_EQ(S().MoveList[5], (MoveEntry{8, Black, 103}));
  ExpectSound();

  OpenProblem("メニュー手筋講座", 1001);
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{}));
  EXPECT_EQ(Stones(Problems().Cells, PictureWhite), (std::vector<int>{100}));
  // At the branch only the sequences with a stone's colour are marked, and
  // the mark on 119 plays the black one, not the one of colour 7.
  Problems().Command1.Click();
  EXPECT_EQ(Problems().Cells.CaptionAt(119), u"●");
  EXPECT_EQ(Problems().Cells.CaptionAt(120), u" ");
  EXPECT_EQ(Problems().Cells.CaptionAt(138), u"●");
  Problems().Cells.MouseDown(119, ButtonLeft, 0);
  EXPECT_EQ(Problems().Position.Board[119], Black);
  EXPECT_EQ(Problems().Cells.PictureAt(119), PictureBlack);
  ExpectSound();
  // The sequence with damaged colours: stepping and the whole answer draw
  // only its first stone.
  Problems().List1.SetListIndex(0);
  Problems().Command1.Click();
  Problems().Cells.MouseDown(138, ButtonLeft, 0);
  for (int k = 0; k < 3; ++k) Problems().Command1.Click();
  ExpectSound();
  OpenProblem("メニュー手筋登録", 1001);
  for (int i = 0; i < Problems().List2.ListCount(); ++i) {
    Problems().List2.SetListIndex(i);
    ExpectSound();
  }
  Problems().List2.SetListIndex(5);
  EXPECT_EQ(Stones(Problems().Cells, PictureBlack), (std::vector<int>{138}));
  EXPECT_EQ(Stones(Problems().Cells, PictureWhite), (std::vector<int>{100}));
}

TEST_F(Damaged, BranchLinksThatLoopOrNameNothingEnd) {
  // A root sequence; then heads linking to each other, to themselves, to
  // no record and past the last record number.
  Write(AnswerMovesFileName, Answers({{1001, 1, Black, 119, 1, StartsAtProblem},
                                      {1001, 2, White, 138, 2, 0},
                                      {1001, 3, Black, 60, 3, 4},
                                      {1001, 4, White, 61, 4, 3},
                                      {1001, 5, Black, 62, 5, 5},
                                      {1001, 6, White, 63, 6, 7},
                                      {1001, 7, Black, 64, MaxRecordNumber, MaxRecordNumber},
                                      {1001, 8, White, 65, -32768, -32768}}));
  Write(CommentFileName, CommentRecord{1001, 4, u"輪"}.Encode() + CommentRecord{1001, -32768, u"負"}.Encode());
  Start();

  OpenProblem("メニュー手筋登録", 1001);
  ASSERT_EQ(Problems().List2.ListCount(), 8);
  for (int i = 0; i < 8; ++i) {
    Problems().List2.SetListIndex(i);
    const AnswerTree& answers = Problems().Answers();
    EXPECT_LE(answers.PathBack(answers.SequenceEnd(answers.SequenceStart(i))).size(), 9u)
        << "the path of line " << i << " is longer than the list";
    ExpectSound();
    Problems().Command15.Click();
    ExpectSound();
  }
  platform.answers.push_back(Answer::OK);
  Problems().Command13.Click();
  // Every head but the root's is reported. A record number is shown as
  // its digits, so the comment on record -32768 is named 32768.
  EXPECT_EQ(Problems().StatusBar1.Text(), u"手順エラー件数は 6件、コメントエラー件数は 1件です。");
  ASSERT_FALSE(platform.boxes.empty());
  EXPECT_EQ(platform.boxes.back().text, u"手順エラー：3、4、5、6、32767、-32768、\r\nコメントエラー：32768、");

  // The lecture goes along the root sequence and no further.
  OpenProblem("メニュー手筋講座", 1001);
  for (int k = 0; k < 10; ++k) Problems().Command1.Click();
  Problems().Command2.Click();
  for (int k = 0; k < 4; ++k) Problems().Command3.Click();
  Problems().Command15.Click();
  ExpectSound();
  EXPECT_TRUE(platform.errors.empty()) << platform.errors.front();
}

// A move file of 32768 records, a list file of 32768 records: neither can
// be addressed whole, so reading either is a file error, and a move record
// past the last number is never written.
TEST_F(Damaged, FilesAndRecordNumbersPastTheLastAreRefused) {
  std::string moves = sample::GameMovesFile();
  const std::string filler = GameMoveRecord{9, 1, Black, 1}.Encode();
  while (moves.size() < (MaxRecordNumber + 1u) * GameMoveRecord::Length) moves += filler;
  Write(GameMovesFileName, moves);
  Start();
  EXPECT_EQ(S().GameMovesRecordCount, MaxRecordNumber);

  Board().Cells.MouseDown(100, ButtonLeft, 0);
  Board().Cells.MouseDown(101, ButtonLeft, 0);
  Menu(Board(), "メニュー棋譜");
  Library().Text1.SetText(u"04：入らない");
  Library().Command1.Click();
  EXPECT_EQ(Board().StatusBar1.Text(), u"ファイルがありません");
  EXPECT_EQ(Read(GameMovesFileName), moves);

  ASSERT_TRUE(SelectGame(2));
  Library().Command2.Click();
  EXPECT_EQ(Library().StatusBar1.Text(), u"棋譜手順.dat が壊れています（大きすぎます）");
  EXPECT_EQ(Library().State(), WindowState::Shown);
  EXPECT_EQ(MoveListLength(S()), 0) << "読込み empties the board before it reads";
  Menu(Library(), "メニューメイン碁盤へ");

  // 保存 cannot read the moves it would keep; the file stays as it was.
  Board().Cells.MouseDown(100, ButtonLeft, 0);
  platform.answers.push_back(Answer::OK);
  Menu(Board(), "メニュー保存");
  EXPECT_EQ(Board().StatusBar1.Text(), u"棋譜手順.dat が壊れています（大きすぎます）");
  EXPECT_EQ(Read(GameMovesFileName), moves);

  std::string list = sample::GameListFile();
  list.resize((MaxRecordNumber + 1u) * GameListRecord::Length, '\0');
  Write(GameListFileName, list);
  Menu(Board(), "メニュー棋譜");
  EXPECT_EQ(Library().StatusBar1.Text(), u"棋譜一覧.dat が壊れています（大きすぎます）");
  EXPECT_EQ(Library().List1.ListCount(), 0);
  Menu(Library(), "メニューメイン碁盤へ");

  // The last category's blocks end at record 32767 however long the files.
  std::string problems = sample::ProblemListFile();
  problems.resize(static_cast<size_t>(BlockFirst(ProblemFile::List, 4) - 1) * ProblemListRecord::Length, '\0');
  for (int r = BlockFirst(ProblemFile::List, 4); r <= MaxRecordNumber + 100; ++r)
    problems += ProblemListRecord{static_cast<int16_t>(r <= MaxRecordNumber ? 1001 : 3999), u"定石"}.Encode();
  Write(ProblemListFileName, problems);
  Menu(Board(), "メニュー定石講座");
  EXPECT_EQ(Problems().List1.ListCount(), MaxRecordNumber - BlockFirst(ProblemFile::List, 4) + 1);
  EXPECT_EQ(LineOf(Problems().List1, 3999, 4), -1);
  ExpectSound();
}

// Blocks filled to their last record with damage that costs the most: a
// problem list in no order, and one problem whose 2000 answer records are
// each a sequence continuing from the record before. Every command stays
// far inside a second (each once took seconds or minutes).
TEST_F(Damaged, WholeBlocksOfDamagedDataStayQuick) {
  std::string problems = sample::ProblemListFile();
  problems.resize(static_cast<size_t>(BlockFirst(ProblemFile::List, 4) - 1) * ProblemListRecord::Length, '\0');
  for (int r = BlockFirst(ProblemFile::List, 4); r <= MaxRecordNumber; ++r)
    problems += ProblemListRecord{static_cast<int16_t>(3999 - r % 2999), u"逆順"}.Encode();
  Write(ProblemListFileName, problems);
  std::vector<AnswerMoveRecord> chain;
  for (int i = 1; i <= 2000; ++i)
    chain.push_back({1001, static_cast<int16_t>(i), static_cast<int16_t>(i % 2 ? Black : White),
                     static_cast<int16_t>(1 + i % ProblemPoints), static_cast<int16_t>(i),
                     static_cast<int16_t>(i == 1 ? StartsAtProblem : i - 1)});
  Write(AnswerMovesFileName, Answers(chain));
  Start();

  auto within = [](const char* what, auto&& command) {
    const auto start = Clock::now();
    command();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    // The walks this guards against took minutes; the bound is loose so that
    // a loaded machine or a sanitizer build does not make it fail.
    EXPECT_LT(ms, 10000) << what << " took " << ms << " ms";
  };
  within("opening 定石 with a whole block out of order", [&] { Menu(Board(), "メニュー定石講座"); });
  EXPECT_EQ(Problems().List1.ListCount(), MaxRecordNumber - BlockFirst(ProblemFile::List, 4) + 1);
  EXPECT_LE(Problems().List1.List(0), Problems().List1.List(1));

  OpenProblem("メニュー手筋登録", 1001);
  ASSERT_EQ(Problems().List2.ListCount(), 2000);
  within("showing the last of 2000 linked sequences", [&] { Problems().List2.SetListIndex(1999); });
  within("the data check of 2000 linked sequences", [&] { Problems().Command13.Click(); });
  EXPECT_EQ(Problems().StatusBar1.Text(), u"手順エラー件数は 0件、コメントエラー件数は 0件です。");
  within("going back a sequence", [&] { Problems().Command15.Click(); });
  ExpectSound();
}

}  // namespace
}  // namespace sol::hostile
