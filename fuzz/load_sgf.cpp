// The input is an SGF file from anywhere. Every game it holds that the
// program takes in is written back and read again, and must come back as the
// same stored game with the same title and date.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "sgf/sgf_game.h"
#include "sgf/sgf_tree.h"
#include "sgf/sgf_writer.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& written) {
  std::fprintf(stderr, "fuzz check failed: %s\nwritten:\n%s\n", what, written.c_str());
  std::abort();
}

bool SameDate(const std::optional<sol::Date>& a, const std::optional<sol::Date>& b) {
  if (!a || !b) return !a && !b;
  return a->year == b->year && a->month == b->month && a->day == b->day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  using namespace sol::sgf;
  Collection collection;
  try {
    collection = ParseCollection(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const SgfError& e) {
    if (e.Message().empty()) Fail("a refusal without a message", "");
    return 0;
  }
  for (const GameTree& tree : collection.Games) {
    ImportedGame game;
    try {
      game = ConvertGame(tree);
    } catch (const SgfError& e) {
      if (e.Message().empty()) Fail("a refused game without a message", "");
      continue;
    }
    if (game.Entries.size() > static_cast<size_t>(MaxMoves)) Fail("more entries than a game holds", "");
    if (game.OverLimit != (game.TotalEntries > MaxMoves)) Fail("the over-limit flag disagrees with the total", "");
    const Str title = GameTitle(game.Info);
    const std::optional<Date> date = GameDate(game.Info.Date);
    const std::string written = WriteGame(game.Entries, title, date);
    ImportedGame back;
    try {
      const Collection again = ParseCollection(written);
      if (again.Games.size() != 1 || again.Encoding != "UTF-8")
        Fail("the written file reads as something else", written);
      back = ConvertGame(again.Games[0]);
    } catch (const SgfError& e) {
      Fail(("the written game is refused: " + ToUtf8(e.Message())).c_str(), written);
    }
    if (back.Entries != game.Entries) Fail("the entries differ", written);
    if (!back.Notes.empty()) Fail("reading the written game dropped something", written);
    if (back.Info.Name != title) Fail("the title differs", written);
    if (!SameDate(GameDate(back.Info.Date), date)) Fail("the date differs", written);
  }
  return 0;
}
