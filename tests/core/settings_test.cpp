#include "core/settings.h"

#include <gtest/gtest.h>

#include "tests/support/faulty_files.h"

namespace sol {
namespace {

using testing::FaultyFiles;
using testing::ScratchDir;

TEST(Settings, ReadsEntriesAndWritesBackEveryOtherLineAsItWas) {
  ScratchDir dir;
  const std::string path = dir.PathOf(SettingsFileName);
  ScratchDir::WriteRaw(path,
                       "\xEF\xBB\xBF"
                       "# comment = not a key\r\n"
                       "coordinates = western \r\n"
                       "no equals sign\n"
                       "=orphan value\n"
                       "two words=x\n"
                       "engine=gnugo --mode gtp --level=5\n"
                       "coordinates=none\n"
                       "future.key=\xE6\x97\xA5\xE6\x9C\xAC\n"
                       "\n"
                       "last line without break=1");
  Settings s;
  s.Load(path);
  // The last line with a key wins; '=' inside a value is the value's.
  EXPECT_EQ(s.Get("coordinates"), "none");
  EXPECT_EQ(s.Get("engine"), "gnugo --mode gtp --level=5");
  EXPECT_EQ(s.Get("future.key"), "\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(s.Get("two words"), std::nullopt);
  EXPECT_EQ(s.Get(""), std::nullopt);
  EXPECT_EQ(s.Get("missing"), std::nullopt);

  s.Set("coordinates", "japanese");
  s.Set("window", "big\r\nbreak=in");
  s.Save();
  EXPECT_EQ(ScratchDir::ReadRaw(path),
            "# comment = not a key\n"
            "coordinates=western\n"
            "no equals sign\n"
            "=orphan value\n"
            "two words=x\n"
            "engine=gnugo --mode gtp --level=5\n"
            "coordinates=japanese\n"
            "future.key=\xE6\x97\xA5\xE6\x9C\xAC\n"
            "\n"
            "last line without break=1\n"
            "window=big  break=in\n");
  Settings again;
  again.Load(path);
  EXPECT_EQ(again.Get("coordinates"), "japanese");
  EXPECT_EQ(again.Get("window"), "big  break=in");
}

TEST(Settings, MissingFileStaysMissingUntilSavedAndAFailedSaveKeepsTheOldFile) {
  ScratchDir dir;
  const std::string path = dir.PathOf(SettingsFileName);
  Settings s;
  s.Load(path);
  EXPECT_EQ(s.Get("coordinates"), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(path));
  s.Set("coordinates", "western");
  s.Save();
  EXPECT_EQ(ScratchDir::ReadRaw(path), "coordinates=western\n");

  s.Set("coordinates", "none");
  FaultyFiles faults;
  faults.failIf = [](const std::string& op) { return op.rfind("Rename", 0) == 0; };
  SetFiles(&faults);
  EXPECT_THROW(s.Save(), FileError);
  SetFiles(nullptr);
  EXPECT_EQ(ScratchDir::ReadRaw(path), "coordinates=western\n");
}

}  // namespace
}  // namespace sol
