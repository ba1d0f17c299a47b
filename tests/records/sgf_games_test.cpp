// What the library makes of an SGF game's information, and back.
#include "records/sgf_games.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text.h"

namespace sol {
namespace {

TEST(SgfGames, TitlesFitTheStoredText) {
  sgf::GameInfo info;
  info.Black = u"김\U0001F600";  // Hangul and an emoji: neither is in the code page
  info.White = u"黒\t太郎";
  EXPECT_EQ(StorableTitle(info, u"file", 40), u"〓〓 と 黒 太郎");
  EXPECT_EQ(StorableTitle(info, u"file", 3), u"〓〓 ");
  EXPECT_EQ(StorableTitle({}, u" 名局 ", 40), u"名局") << "no name nor players: the file's name";

  info = {};
  info.Name = u"第一期名人戦挑戦手合七番勝負第七局二日目封じ手のあと";
  info.Date = u"1976-10-21,22";
  const Str line = LibraryLine(7, info, u"", Date{2026, 12, 8});
  EXPECT_EQ(line, u"07：第一期名人戦挑戦手合七番勝負第七局二日目封じ手のあ（76-10-21)");
  EXPECT_EQ(Len(line), 38) << "the longest line 記録 stores";
  EXPECT_EQ(LibraryLine(60, {}, u"無題", Date{2026, 12, 8}), u"60：無題（26-12-08)") << "no date: today";
}

TEST(SgfGames, StoredLinesGiveTheirTitleDateAndFileName) {
  EXPECT_EQ(StoredTitle(u"05：名人戦（26-12-08)   "), u"名人戦");
  EXPECT_EQ(StoredTitle(u"05名人戦"), u"名人戦") << "no separator and no date";
  const std::optional<Date> d = StoredDate(u"05：名人戦（26-12-08)");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->year, 2026);
  EXPECT_EQ(d->month, 12);
  EXPECT_EQ(d->day, 8);
  EXPECT_FALSE(StoredDate(u"05：名人戦（26-13-08)"));
  EXPECT_FALSE(StoredDate(u"05：名人戦"));
  EXPECT_EQ(ExportFileName(u"12：A/B: \"決勝\"?（26-12-08)"), "12 A_B_ _決勝__.sgf");
  EXPECT_EQ(FileStem("/a/b/棋譜.SGF"), u"棋譜");
}

TEST(SgfGames, UnreadableFilesAreSaidInWords) {
  const std::string dir = testing::TempDir();
  try {
    ReadSgfGames(dir + "no-such.sgf");
    FAIL() << "a missing file was read";
  } catch (const SgfFileError& e) {
    EXPECT_EQ(e.Message, u"ファイル「no-such.sgf」が見つかりません。");
  }
  std::ofstream(dir + "empty-game.sgf") << "(;GM[1]SZ[19])";
  try {
    ReadSgfGames(dir + "empty-game.sgf");
    FAIL() << "a game without stones was taken";
  } catch (const SgfFileError& e) {
    EXPECT_EQ(e.Message, u"このファイルには取り込める対局がありません。\n石も着手もない対局は取り込みません。");
  }
}

TEST(UserFiles, WrittenWholeOrNotAtAll) {
  const std::string dir = testing::TempDir();
  const std::string path = dir + "solneka-user-file.sgf";
  WriteUserFile(path, "first");
  WriteUserFile(path, "second");
  EXPECT_EQ(ReadUserFile(path, 100), "second");
  EXPECT_THROW(ReadUserFile(path, 3), UserFileError) << "larger than the bound";
  try {
    WriteUserFile(dir + "no-such-folder/x.sgf", "x");
    FAIL() << "written into a folder that is not there";
  } catch (const UserFileError& e) {
    EXPECT_EQ(e.kind, UserFileError::Unwritable);
  }
  EXPECT_THROW(ReadUserFile(dir, 100), UserFileError) << "a folder is no file";
}

}  // namespace
}  // namespace sol
