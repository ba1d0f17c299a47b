// The print layout keeps every retake, however many a game has.
#include <gtest/gtest.h>

#include "app/program.h"
#include "core/text.h"
#include "scenario/script_platform.h"

namespace sol {
namespace {

TEST(PrintLayout, ListsEveryRetakePastFifty) {
  ScriptPlatform platform;
  Program program(platform, "/nonexistent-dir-for-tests");
  program.Start();
  GameState& s = program.State;
  // Stones alternate on two points: every move after the first two is a retake.
  for (int i = 1; i <= 120; ++i)
    s.MoveList[i] = {static_cast<int16_t>(i), static_cast<int16_t>(i % 2 ? Black : White),
                     static_cast<int16_t>(i % 2 ? 61 : 62)};
  platform.inputs.push_back(Str(u"長い劫"));
  program.MainBoard.MenuPrintPrepare();
  const auto& retakes = program.MainBoard.RetakeList;
  ASSERT_EQ(retakes.size(), 118u);
  EXPECT_EQ(retakes.back().Number, 120);
  EXPECT_EQ(retakes.back().ShownNumber, 2);
  const Str caption = program.MainBoard.Label10.Caption();
  EXPECT_NE(caption.find(u"  ○120(2) "), Str::npos);
  EXPECT_NE(caption.find(u"  ●51(1) "), Str::npos);
  // two entries a line: 59 full lines after the title and the blank line
  size_t breaks = 0;
  for (size_t at = caption.find(u"\r\n"); at != Str::npos; at = caption.find(u"\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 2u + 59u);
  EXPECT_EQ(s.MoveCount, 0);
}

}  // namespace
}  // namespace sol
