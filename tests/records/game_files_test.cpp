// The game record files byte for byte, and what the operations leave behind
// when a file operation fails.
#include "records/game_files.h"

#include <gtest/gtest.h>

#include <random>

#include "core/file_command.h"
#include "core/record_file.h"
#include "core/text.h"
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

struct GameFiles : ::testing::Test {
  ScratchDir dir;
  GameState s;
  StatusBar mainStatus{"StatusBar1"};

  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    SetDataDir(s, dir.Path());
  }
  // The operations as a command runs them: a file error is reported in the
  // main board's status bar.
  bool Stored(const std::function<void()>& op) {
    try {
      op();
      return true;
    } catch (const FileError& e) {
      mainStatus.SetText(FileErrorText(e));
      return false;
    }
  }
  bool Delete(int n) {
    return Stored([&] { DeleteGameMoves(s, n); });
  }
  bool Append(int n) {
    return Stored([&] { AppendGameMoves(s, n); });
  }
  bool Replace(int n) {
    return Stored([&] { ReplaceGameMoves(s, n); });
  }
  bool WriteEntry(const Str& line, int mode) {
    return Stored([&] { WriteGameListEntry(s, line, mode); });
  }
  std::optional<int> Read(int n, StatusBar& bar, ReadUntil until) {
    try {
      return ReadGameMoves(s, n, until);
    } catch (const FileError& e) {
      bar.SetText(FileErrorText(e));
      return std::nullopt;
    }
  }
  std::optional<std::vector<Str>> List(StatusBar& bar) {
    try {
      return ListGames(s);
    } catch (const FileError& e) {
      bar.SetText(FileErrorText(e));
      return std::nullopt;
    }
  }
  void WriteMoves(const std::string& bytes) {
    ScratchDir::WriteRaw(s.GameMovesFile, bytes);
    s.GameMovesRecordCount = static_cast<int16_t>(bytes.size() / GameMoveRecord::Length);
  }
  std::string MovesFile() const { return ScratchDir::ReadRaw(s.GameMovesFile); }
  std::string ListFile() const { return ScratchDir::ReadRaw(s.GameListFile); }
  void Board(std::initializer_list<MoveEntry> moves) {
    s.MoveList.fill(MoveEntry{});
    int i = 0;
    for (const MoveEntry& e : moves) s.MoveList[++i] = e;
    s.MoveCount = static_cast<int16_t>(i);
  }
};

TEST(RecordLayouts, BytesAreLittleEndianAndTitlesBlankPaddedCp932) {
  GameMoveRecord m{5, -2, 1, 361};
  EXPECT_EQ(m.Encode(), std::string("\x05\x00\xFE\xFF\x01\x00\x69\x01", 8));
  EXPECT_EQ(GameMoveRecord::Decode(m.Encode()), m);

  GameListRecord l{7, u"：朝刊 (A"};
  std::string bytes = l.Encode();
  ASSERT_EQ(bytes.size(), 122u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x07\x00", 2));
  EXPECT_EQ(bytes.substr(2, 9), "\x81\x46\x92\xA9\x8A\xA7 (A");
  EXPECT_EQ(bytes.substr(11), std::string(111, ' '));
  GameListRecord back = GameListRecord::Decode(bytes);
  EXPECT_EQ(back.GameNumber, 7);
  EXPECT_EQ(back.TitleText, u"：朝刊 (A" + Str(111, u' '));
  EXPECT_EQ(ListLine(back), u"07：朝刊 (A" + Str(111, u' '));
  EXPECT_EQ(ListLine({60, u"x"}), u"60x");
}

TEST(RecordLayouts, LineNumbersReadOnlyTheFirstTwoCharacters) {
  EXPECT_EQ(LineGameNumber(u"05：朝刊"), 5);
  EXPECT_EQ(LineGameNumber(u"5：朝刊"), 5);
  EXPECT_EQ(LineGameNumber(u" 7"), 7);
  EXPECT_EQ(LineGameNumber(u"123"), 12);
  EXPECT_EQ(LineGameNumber(u"-3"), -3);
  EXPECT_EQ(LineGameNumber(u"朝刊"), 0);
  EXPECT_EQ(LineGameNumber(u""), 0);
}

TEST_F(GameFiles, DeleteKeepsTheOtherGamesInOrderAndAppendGoesAfterThem) {
  WriteMoves(Moves({{3, 1, 1, 10}, {5, 1, 1, 20}, {3, 2, 2, 11}, {5, 2, 2, 21}, {8, 1, 1, 30}}));
  ASSERT_TRUE(Delete(5));
  EXPECT_EQ(MovesFile(), Moves({{3, 1, 1, 10}, {3, 2, 2, 11}, {8, 1, 1, 30}}));
  EXPECT_EQ(s.GameMovesRecordCount, 3);

  Board({{1, 1, 100}, {2, 2, 101}, {3, 1, 102}});
  s.MoveCount = 2;  // the moves up to the current position
  ASSERT_TRUE(Append(5));
  EXPECT_EQ(MovesFile(), Moves({{3, 1, 1, 10}, {3, 2, 2, 11}, {8, 1, 1, 30}, {5, 1, 1, 100}, {5, 2, 2, 101}}));
  EXPECT_EQ(s.GameMovesRecordCount, 5);
  EXPECT_EQ(mainStatus.Text(), u"");
}

TEST_F(GameFiles, DeleteRewritesOnlyTheUsedPartAndIgnoresAStaleScratchFile) {
  const std::string used = Moves({{3, 1, 1, 10}, {4, 1, 1, 20}});
  WriteMoves(used + Moves({{0, 0, 0, 0}, {4, 2, 2, 21}}));
  // What an interrupted earlier run might have left behind.
  ScratchDir::WriteRaw(s.TempFile, Moves({{9, 1, 1, 1}, {9, 2, 2, 2}, {9, 3, 1, 3}, {9, 4, 2, 4}, {9, 5, 1, 5}}));
  ASSERT_TRUE(Delete(7));
  EXPECT_EQ(MovesFile(), used);
  EXPECT_EQ(s.GameMovesRecordCount, 2);
  EXPECT_FALSE(Files().Exists(s.TempFile));

  // A game without moves: the file comes out as it was.
  ASSERT_TRUE(Delete(7));
  EXPECT_EQ(MovesFile(), used);
}

TEST_F(GameFiles, AppendOfAnEmptyBoardWritesNothing) {
  WriteMoves(Moves({{3, 1, 1, 10}}));
  Board({{1, 1, 100}});
  s.MoveCount = 0;
  ASSERT_TRUE(Append(5));
  EXPECT_EQ(MovesFile(), Moves({{3, 1, 1, 10}}));
  EXPECT_EQ(s.GameMovesRecordCount, 1);
}

TEST_F(GameFiles, ReplaceIsDeleteThenAppendInOneStep) {
  std::mt19937 rng(11);
  for (int round = 0; round < 12; ++round) {
    std::string file;
    const int records = static_cast<int>(rng() % 30);
    for (int r = 0; r < records; ++r)
      file += GameMoveRecord{static_cast<int16_t>(1 + rng() % 4), static_cast<int16_t>(r), 1, 5}.Encode();
    s.MoveList.fill(MoveEntry{});
    s.MoveCount = static_cast<int16_t>(rng() % 6);
    for (int j = 1; j <= s.MoveCount; ++j) s.MoveList[j] = {static_cast<int16_t>(j), 2, static_cast<int16_t>(j)};
    const int game = static_cast<int>(1 + rng() % 4);

    WriteMoves(file);
    ASSERT_TRUE(Delete(game));
    ASSERT_TRUE(Append(game));
    const std::string twoSteps = MovesFile();
    const int16_t twoStepsCount = s.GameMovesRecordCount;

    WriteMoves(file);
    ASSERT_TRUE(Replace(game));
    EXPECT_EQ(MovesFile(), twoSteps) << round;
    EXPECT_EQ(s.GameMovesRecordCount, twoStepsCount) << round;
  }
}

TEST_F(GameFiles, RecordNumbersPast32767AreFileErrorsAndChangeNothing) {
  std::string full;
  for (int r = 0; r < MaxRecordNumber - 1; ++r) full += GameMoveRecord{2, 1, 1, 1}.Encode();
  WriteMoves(full);
  Board({{1, 1, 100}, {2, 2, 101}});
  EXPECT_FALSE(Append(5));
  EXPECT_EQ(mainStatus.Text(), u"ファイルがありません");
  EXPECT_FALSE(Replace(5));
  EXPECT_EQ(MovesFile(), full);
  EXPECT_EQ(s.GameMovesRecordCount, MaxRecordNumber - 1);

  // One move still fits, as the last record there can be.
  s.MoveCount = 1;
  mainStatus.SetText(u"");
  ASSERT_TRUE(Append(5));
  EXPECT_EQ(s.GameMovesRecordCount, MaxRecordNumber);

  // A file longer than that cannot be read to its end...
  WriteMoves(MovesFile() + GameMoveRecord{2, 1, 1, 1}.Encode());
  const std::string tooLong = MovesFile();
  EXPECT_FALSE(Delete(5));
  EXPECT_EQ(MovesFile(), tooLong);
  EXPECT_FALSE(Read(2, mainStatus, ReadUntil::EndOfFile));
  // ...but its used part may end before the limit.
  WriteMoves(Moves({{5, 1, 1, 1}, {0, 0, 0, 0}}) + tooLong);
  ASSERT_TRUE(Delete(5));
  EXPECT_EQ(MovesFile(), "");
  EXPECT_EQ(s.GameMovesRecordCount, 0);
}

TEST_F(GameFiles, ReadFillsTheMoveListAndStopsWhereAsked) {
  WriteMoves(Moves({{1, 1, 1, 61}, {2, 1, 1, 5}, {1, 0, 2, 62}, {0, 0, 0, 0}, {1, 3, 1, 63}}));
  s.MoveList[7] = {7, 1, 7};
  std::optional<int> n = Read(1, mainStatus, ReadUntil::EndMark);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 2);
  EXPECT_EQ(s.MoveList[1], (MoveEntry{1, 1, 61}));
  EXPECT_EQ(s.MoveList[2], (MoveEntry{0, 2, 62}));  // an unnumbered stone stays unnumbered
  EXPECT_EQ(s.MoveList[3], MoveEntry{});
  EXPECT_EQ(s.MoveList[7], MoveEntry{});

  n = Read(1, mainStatus, ReadUntil::EndOfFile);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 3);
  EXPECT_EQ(s.MoveList[3], (MoveEntry{3, 1, 63}));
  EXPECT_EQ(Read(9, mainStatus, ReadUntil::EndOfFile), 0);
  EXPECT_EQ(mainStatus.Text(), u"");
}

TEST_F(GameFiles, ReadPassesOverRecordsThatCannotBeStones) {
  WriteMoves(Moves({{1, 1, 1, 61}, {1, 2, 2, 0}, {1, 3, 7, 63}, {1, 4, 2, 362}, {1, 5, 0, 64}, {1, 6, 2, 65}}));
  ASSERT_EQ(Read(1, mainStatus, ReadUntil::EndOfFile), 2);
  EXPECT_EQ(s.MoveList[2], (MoveEntry{6, 2, 65}));
}

TEST_F(GameFiles, ReadNeverWritesPastTheLastMoveListEntry) {
  StatusBar own{"StatusBar1"};
  std::string file;
  for (int j = 1; j <= MaxMoves; ++j) file += GameMoveRecord{1, static_cast<int16_t>(j), 1, 1}.Encode();
  WriteMoves(file);
  ASSERT_EQ(Read(1, own, ReadUntil::EndOfFile), MaxMoves);

  WriteMoves(file + GameMoveRecord{1, 401, 2, 2}.Encode());
  s.MoveList.fill(MoveEntry{});
  s.MoveList[1] = {9, 2, 9};
  EXPECT_FALSE(Read(1, own, ReadUntil::EndMark));
  EXPECT_EQ(s.MoveList[1], (MoveEntry{9, 2, 9}));
  EXPECT_EQ(s.MoveList[2], MoveEntry{});
}

TEST_F(GameFiles, ListEntriesGoToTheirRecordsAndNowhereElse) {
  GameListRecord names{0, u"基本 応用 実戦"};
  ScratchDir::WriteRaw(s.GameListFile, std::string(122, 'x') + names.Encode());
  const Str line50 = u"07：" + Str(37, u'碁') + u"（00-02-11)";
  ASSERT_EQ(Len(line50), 50);
  ASSERT_TRUE(WriteEntry(line50, 1));
  std::string file = ListFile();
  ASSERT_EQ(file.size(), 17u * 122);
  EXPECT_EQ(file.substr(0, 244), std::string(122, 'x') + names.Encode());
  EXPECT_EQ(file.substr(244, 14 * 122), std::string(14 * 122, '\0'));
  EXPECT_EQ(file.substr(16 * 122), (GameListRecord{7, u"：" + Str(35, u'碁')}).Encode());

  ASSERT_TRUE(WriteEntry(u"07：何でも", 2));
  EXPECT_EQ(ListFile().substr(16 * 122), (GameListRecord{0, Str(120, u' ')}).Encode());

  // Without a game number the line names one of the first ten records.
  file = ListFile();
  for (const Str& bad : {Str(u"00：x"), Str(u"-3：x"), Str(u"：x"), Str(u"")}) {
    mainStatus.SetText(u"");
    EXPECT_FALSE(WriteEntry(bad, 1));
    EXPECT_FALSE(WriteEntry(bad, 2));
    EXPECT_EQ(mainStatus.Text(), u"ファイルがありません");
  }
  EXPECT_EQ(ListFile(), file);
}

TEST_F(GameFiles, ListingShowsGamesFromRecord11InRecordOrder) {
  StatusBar own{"StatusBar1"};
  auto lines = List(own);
  ASSERT_TRUE(lines);
  EXPECT_TRUE(lines->empty());
  EXPECT_TRUE(Files().Exists(s.GameListFile));

  std::string file(10 * 122, '\0');
  file.replace(0, 122, GameListRecord{3, u"：一番"}.Encode());
  file += GameListRecord{20, u"：二十"}.Encode();
  file += GameListRecord{0, u"：空き"}.Encode();
  file += GameListRecord{-4, u"：負"}.Encode();
  file += GameListRecord{7, u"：七"}.Encode();
  file += std::string(50, '\0');  // a partial record at the end
  ScratchDir::WriteRaw(s.GameListFile, file);
  lines = List(own);
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 2u);
  EXPECT_EQ(RTrim((*lines)[0]), u"20：二十");
  EXPECT_EQ(RTrim((*lines)[1]), u"07：七");
  EXPECT_EQ(own.Text(), u"");
}

// Each changing operation, failing at every file operation in turn, leaves
// its file wholly old or wholly new, never deletes it, reports the failure
// and keeps the record count in step with what the file holds.
TEST_F(GameFiles, AFailureAnywhereLeavesEachFileOldOrNew) {
  const std::string oldMoves = Moves({{3, 1, 1, 10}, {5, 1, 1, 20}, {3, 2, 2, 11}, {5, 2, 2, 21}});
  const std::string oldList = std::string(14 * 122, '\0') + GameListRecord{5, u"：五"}.Encode();
  struct Case {
    const char* name;
    std::function<bool()> run;
    bool list;
  };
  const Case cases[] = {
      {"DeleteGameMoves", [&] { return Delete(5); }, false},
      {"AppendGameMoves", [&] { return Append(5); }, false},
      {"ReplaceGameMoves", [&] { return Replace(5); }, false},
      {"WriteGameListEntry", [&] { return WriteEntry(u"05：新しい題", 1); }, true},
  };
  for (const Case& c : cases) {
    auto prepare = [&] {
      WriteMoves(oldMoves);
      ScratchDir::WriteRaw(s.GameListFile, oldList);
      Board({{1, 1, 100}, {2, 2, 101}});
      mainStatus.SetText(u"");
    };
    prepare();
    ASSERT_TRUE(c.run()) << c.name;
    const std::string newFile = ScratchDir::ReadRaw(c.list ? s.GameListFile : s.GameMovesFile);
    const std::string oldFile = c.list ? oldList : oldMoves;

    for (int k = 1;; ++k) {
      prepare();
      FaultyFiles faulty(k);
      SetFiles(&faulty);
      const bool ok = c.run();
      SetFiles(nullptr);
      if (ok) {
        // read, then scratch write, flush, sync, rename and directory sync
        EXPECT_GE(k, 9) << c.name;
        break;
      }
      const std::string target = c.list ? s.GameListFile : s.GameMovesFile;
      const std::string now = ScratchDir::ReadRaw(target);
      EXPECT_TRUE(now == oldFile || now == newFile) << c.name << " failing at " << faulty.log.back();
      for (const std::string& op : faulty.log) EXPECT_NE(op, "Remove " + target) << c.name;
      EXPECT_EQ(mainStatus.Text(), u"ファイルがありません") << c.name << " " << k;
      if (!c.list) {
        EXPECT_EQ(s.GameMovesRecordCount, static_cast<int16_t>(now.size() / 8)) << c.name << " " << k;
      }
      EXPECT_EQ(ScratchDir::ReadRaw(c.list ? s.GameMovesFile : s.GameListFile), c.list ? oldMoves : oldList);
    }
  }
}

}  // namespace
}  // namespace sol
