// The commands of a scenario line, one table of them, and the handlers that
// carry them out, by the part of the session they touch.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

#include "scenario/parse.h"

namespace sol {

class Form;
class Session;

enum class Stage {
  World,  // prepares the data or the outside world; needs no program
  Act,    // starts the program, refused once it has ended
  Look,   // starts the program, allowed after it has ended
};

using LineHandler = void (*)(Session&, const Words&);
// An event, for the window named by the line's second word.
using EventHandler = void (*)(Session&, Form&, const Words&);

struct Command {
  constexpr Command(std::string_view n, Stage s, size_t w, std::string_view u, LineHandler h)
      : name(n), stage(s), words(w), usage(u), run(h) {}
  constexpr Command(std::string_view n, size_t w, std::string_view u, EventHandler h)
      : name(n), stage(Stage::Act), words(w), usage(u), event(h) {}

  std::string_view name;  // the first word, or "expect KIND"
  Stage stage;
  size_t words;  // the fewest words the line needs, its name included
  std::string_view usage;
  LineHandler run = nullptr;
  EventHandler event = nullptr;
};

// Carries out one line of words.
void RunCommand(Session& s, const Words& w);
// The usage line of every command, one a line.
void PrintCommandUsage(std::ostream& out);

// world.cpp: the world outside, and the answers queued for the next action.
void CmdDate(Session& s, const Words& w);
void CmdRandom(Session& s, const Words& w);
void CmdRecord(Session& s, const Words& w);
void CmdTruncate(Session& s, const Words& w);
void CmdPoke(Session& s, const Words& w);
void CmdSetting(Session& s, const Words& w);
void CmdAnswer(Session& s, const Words& w);
void CmdInput(Session& s, const Words& w);

// player_files.cpp: files beyond the data files, and the dialogs choosing them.
void CmdArgument(Session& s, const Words& w);
void CmdFile(Session& s, const Words& w);
void CmdChoose(Session& s, const Words& w);
void EventDrop(Session& s, Form& f, const Words& w);
void ExpectDialog(Session& s, const Words& w);
void ExpectNoDialog(Session& s, const Words& w);
void ExpectFileText(Session& s, const Words& w);
void ExpectFileHas(Session& s, const Words& w);
// expect exists / expect missing
void ExpectExists(Session& s, const Words& w);

// events.cpp: what the player does.
void EventClick(Session& s, Form& f, const Words& w);
void EventPress(Session& s, Form& f, const Words& w);
void EventMenu(Session& s, Form& f, const Words& w);
void EventSelect(Session& s, Form& f, const Words& w);
void EventType(Session& s, Form& f, const Words& w);
void EventSlide(Session& s, Form& f, const Words& w);
// Fails for every problem of the action just run and every answer it left.
void AfterEvent(Session& s);

// expect_*.cpp: what the player must see.
void ExpectStatus(Session& s, const Words& w);
void ExpectBox(Session& s, const Words& w);
void ExpectNoBox(Session& s, const Words& w);
void ExpectBoxStones(Session& s, const Words& w);
void ExpectInputBox(Session& s, const Words& w);
void ExpectCue(Session& s, const Words& w);
void ExpectNoCue(Session& s, const Words& w);
void ExpectBeep(Session& s, const Words& w);
void ExpectNoBeep(Session& s, const Words& w);
void ExpectNoPrint(Session& s, const Words& w);
void ExpectPrinted(Session& s, const Words& w);
void ExpectHelp(Session& s, const Words& w);
void ExpectStones(Session& s, const Words& w);
void ExpectStone(Session& s, const Words& w);
void ExpectLabel(Session& s, const Words& w);
void ExpectCaption(Session& s, const Words& w);
void ExpectText(Session& s, const Words& w);
void ExpectVisible(Session& s, const Words& w);
void ExpectChecked(Session& s, const Words& w);
void ExpectValue(Session& s, const Words& w);
void ExpectList(Session& s, const Words& w);
void ExpectListNumber(Session& s, const Words& w);
void ExpectItemData(Session& s, const Words& w);
void ExpectWindow(Session& s, const Words& w);
void ExpectEnded(Session& s, const Words& w);
void ExpectVar(Session& s, const Words& w);
void ExpectRecord(Session& s, const Words& w);
void ExpectRecords(Session& s, const Words& w);

// dump.cpp
void CmdDump(Session& s, const Words& w);

}  // namespace sol
