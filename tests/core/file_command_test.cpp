// Running a writing command: what a refused or failed command wrote is put
// back and the error named in every status bar given; and the field tables
// that lay out the records.
#include "core/file_command.h"

#include <gtest/gtest.h>

#include "core/record_file.h"
#include "core/record_layout.h"
#include "tests/support/faulty_files.h"

namespace sol {
namespace {

using testing::ScratchDir;

TEST(RunFileCommand, PutsBackWhatARefusedOrFailedCommandWroteAndNamesTheError) {
  ScratchDir dir;
  ASSERT_FALSE(dir.Path().empty());
  GameState s;
  SetDataDir(s, dir.Path());
  ScratchDir::WriteRaw(s.GameListFile, "old");
  StatusBar board{"StatusBar1"}, window{"StatusBar1"};
  int undone = 0;
  auto run = [&](const std::function<void()>& fail) {
    board.SetText(u"");
    window.SetText(u"");
    return RunFileCommand(
        s, {&board, nullptr, &window},
        [&] {
          ReplaceFile(s.GameListFile, s.TempFile, "new");
          if (!fail) return false;
          fail();
          return true;
        },
        [&] { ++undone; });
  };

  EXPECT_EQ(run(nullptr), FileCommand::Refused);
  EXPECT_EQ(board.Text(), u"");
  const struct {
    std::function<void()> fail;
    Str text;
  } failures[] = {
      {[] { throw FileError("injected"); }, u"ファイルがありません"},
      {[] { throw NotWritable("injected"); }, u"データフォルダに書き込めません"},
      {[&] { throw DamagedFile("injected", s.GameMovesFile); }, u"棋譜手順.dat が壊れています（大きすぎます）"},
  };
  for (const auto& f : failures) {
    EXPECT_EQ(run(f.fail), FileCommand::Failed);
    EXPECT_EQ(board.Text(), f.text);
    EXPECT_EQ(window.Text(), f.text);
  }
  EXPECT_EQ(ScratchDir::ReadRaw(s.GameListFile), "old");
  EXPECT_EQ(undone, 4);

  EXPECT_EQ(run([] {}), FileCommand::Done);
  EXPECT_EQ(ScratchDir::ReadRaw(s.GameListFile), "new");
  EXPECT_EQ(board.Text(), u"");
  EXPECT_EQ(undone, 4);
}

struct Sample {
  int16_t First = 0;
  Str Text;
  int16_t Last = 0;
};
inline constexpr RecordLayout<Sample, 3> SampleLayout{
    {Int16Field(&Sample::First), TextField(&Sample::Text, 3), Int16Field(&Sample::Last)}};

TEST(RecordLayout, FieldsFollowOneAnotherAndACutRecordReadsAsZeros) {
  static_assert(LayoutLength(SampleLayout) == 7);
  static_assert(FieldOffset(SampleLayout, &Sample::Last) == 5);
  // A double-byte character that does not fit whole is left out.
  const std::string bytes = EncodeRecord<SampleLayout>(Sample{-2, u"あい", 0x0102});
  EXPECT_EQ(bytes, std::string("\xFE\xFF\x82\xA0 \x02\x01", 7));
  const Sample back = DecodeRecord<SampleLayout>(bytes.substr(0, 6));
  EXPECT_EQ(back.First, -2);
  EXPECT_EQ(back.Text, u"あ ");
  EXPECT_EQ(back.Last, 2);
}

}  // namespace
}  // namespace sol
