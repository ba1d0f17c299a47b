// The shipped life-and-death problems checked by GNU Go: after a first move
// marked right the side to play gets its way (the target dies, or lives),
// after one marked wrong it does not.
#include <unistd.h>

#include <set>

#include "core/posix_process.h"
#include "engine/gtp.h"
#include "engine/gtp_client.h"
#include "sgf/sgf_writer.h"
#include "tests/starter/starter_lines.h"

namespace sol::starter {
namespace {

std::string Sgf(int point) { return sgf::PointToSgf(point); }

// owl_attack / owl_defend give a result code first; 0 means the side asked
// about cannot get its way.
TEST(TsumegoStarter, GnuGoAgreesWithEveryFirstMove) {
  ProcessStart s = StartPosixProcess({"gnugo", "--mode", "gtp"}, "");
  ASSERT_TRUE(s.process) << "GNU Go (gnugo) is not installed: " << ToUtf8(s.error);
  GtpClient engine(std::move(s.process), 60000);
  ASSERT_TRUE(engine.Ask("boardsize 19").Ok());
  for (const Problem& p : LoadCategory("tsumego")) {
    ASSERT_TRUE(p.Target) << p.Name() << ": no XT";
    int targetColour = 0;
    for (const Stone& stone : p.Setup)
      if (stone.Point == *p.Target) targetColour = stone.Colour;
    ASSERT_NE(targetColour, 0) << p.Name() << ": XT[" << Sgf(*p.Target) << "] is not on a set-up stone";
    std::set<int> rightFirst, asked;
    for (const Line& l : p.Lines)
      if (l.Correct()) rightFirst.insert(l.Moves.front().Point);
    for (const Line& l : p.Lines) {
      const int first = l.Moves.front().Point;
      if (!asked.insert(first).second) continue;
      const std::string where = p.Name() + " first move " + Sgf(first);
      ASSERT_TRUE(engine.Ask("clear_board").Ok()) << where;
      for (const Stone& stone : p.Setup)
        ASSERT_TRUE(
            engine.Ask(std::string("play ") + (stone.Colour == Black ? "black " : "white ") + gtp::Vertex(stone.Point))
                .Ok())
            << where << ": GNU Go refused stone " << Sgf(stone.Point);
      ASSERT_TRUE(engine.Ask("play black " + gtp::Vertex(first)).Ok()) << where << ": GNU Go refused the move";
      const GtpAnswer a = engine.Ask((targetColour == White ? "owl_defend " : "owl_attack ") + gtp::Vertex(*p.Target));
      ASSERT_TRUE(a.Ok()) << where << ": " << ToUtf8(a.why);
      const std::string code = a.text.substr(0, a.text.find(' '));
      if (rightFirst.count(first)) {
        EXPECT_EQ(code, "0") << where << ": GNU Go still finds a way for White (" << a.text << ")";
      } else {
        EXPECT_NE(code, "0") << where << ": GNU Go finds White no worse off (" << a.text << ")";
      }
    }
  }
}

}  // namespace
}  // namespace sol::starter
