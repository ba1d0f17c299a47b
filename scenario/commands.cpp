#include "scenario/commands.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "scenario/session.h"

namespace sol {

namespace {

using enum Stage;

const Command kCommands[] = {
    {"date", World, 2, "date YYYY-MM-DD", CmdDate},
    {"random", World, 2, "random R...", CmdRandom},
    {"record", World, 3, "record FILE N fields...", CmdRecord},
    {"truncate", World, 3, "truncate FILE BYTES", CmdTruncate},
    {"poke", World, 4, "poke FILE OFFSET HEX", CmdPoke},
    {"setting", World, 3, "setting KEY \"value\"", CmdSetting},
    {"argument", World, 2, "argument \"PATH\"", CmdArgument},
    {"file", World, 3, "file \"NAME\" \"text\" [ENCODING] [bom]", CmdFile},
    {"answer", Act, 2, "answer Yes|No|OK|Cancel", CmdAnswer},
    {"input", Act, 2, "input \"text\" | input cancel", CmdInput},
    {"choose", Act, 2, "choose \"PATH\"... | choose cancel", CmdChoose},

    {"click", 4, "click FORM P|A..B|A..B/S left|right|middle [shift] [ctrl] [alt]", EventClick},
    {"press", 3, "press FORM CONTROL", EventPress},
    {"menu", 3, "menu FORM ITEM", EventMenu},
    {"select", 4, "select FORM LIST I", EventSelect},
    {"type", 4, "type FORM TEXTBOX \"text\"", EventType},
    {"slide", 3, "slide FORM VALUE", EventSlide},
    {"drop", 3, "drop FORM \"PATH\"...", EventDrop},

    {"expect status", Look, 4, "expect status FORM \"text\"", ExpectStatus},
    {"expect box", Look, 4, "expect box \"title\" \"text\" [BUTTONS [ICON]]", ExpectBox},
    {"expect nobox", Look, 2, "expect nobox", ExpectNoBox},
    {"expect boxstones", Look, 3, "expect boxstones FORM [black P…] [white P…]", ExpectBoxStones},
    {"expect inputbox", Look, 5, "expect inputbox \"caption\" \"prompt\" \"default\"", ExpectInputBox},
    {"expect dialog", Look, 3, "expect dialog open|save|folder [\"title\"]", ExpectDialog},
    {"expect nodialog", Look, 2, "expect nodialog", ExpectNoDialog},
    {"expect cue", Look, 3, "expect cue chord|ding", ExpectCue},
    {"expect nocue", Look, 2, "expect nocue", ExpectNoCue},
    {"expect beep", Look, 2, "expect beep", ExpectBeep},
    {"expect nobeep", Look, 2, "expect nobeep", ExpectNoBeep},
    {"expect noprint", Look, 2, "expect noprint", ExpectNoPrint},
    {"expect printed", Look, 3, "expect printed FORM", ExpectPrinted},
    {"expect help", Look, 3, "expect help contents | expect help context FORM", ExpectHelp},
    {"expect stones", Look, 3, "expect stones FORM [black P…] [white P…]", ExpectStones},
    {"expect stone", Look, 5, "expect stone FORM P black|white|none", ExpectStone},
    {"expect label", Look, 5, "expect label FORM P \"text\" [white|black|green|red]", ExpectLabel},
    {"expect caption", Look, 5, "expect caption FORM CONTROL \"text\"", ExpectCaption},
    {"expect text", Look, 5, "expect text FORM TEXTBOX \"text\"", ExpectText},
    {"expect visible", Look, 5, "expect visible FORM CONTROL yes|no", ExpectVisible},
    {"expect checked", Look, 5, "expect checked FORM OPTION yes|no", ExpectChecked},
    {"expect value", Look, 5, "expect value FORM Slider1 N", ExpectValue},
    {"expect list", Look, 6, "expect list FORM LIST I \"text\"", ExpectList},
    // The trimmed form has always reported the usage of the plain one.
    {"expect listtrim", Look, 6, "expect list FORM LIST I \"text\"", ExpectList},
    {"expect listcount", Look, 5, "expect listcount|listindex|topindex FORM LIST N", ExpectListNumber},
    {"expect listindex", Look, 5, "expect listcount|listindex|topindex FORM LIST N", ExpectListNumber},
    {"expect topindex", Look, 5, "expect listcount|listindex|topindex FORM LIST N", ExpectListNumber},
    {"expect itemdata", Look, 6, "expect itemdata FORM LIST I N", ExpectItemData},
    {"expect window", Look, 4, "expect window FORM shown|hidden|unloaded", ExpectWindow},
    {"expect ended", Look, 2, "expect ended", ExpectEnded},
    {"expect var", Look, 4, "expect var NAME VALUE", ExpectVar},
    {"expect filetext", Look, 4, "expect filetext \"PATH\" \"text\"", ExpectFileText},
    {"expect filehas", Look, 4, "expect filehas \"PATH\" \"text\"", ExpectFileHas},
    {"expect exists", Look, 3, "expect exists|missing \"PATH\"", ExpectExists},
    {"expect missing", Look, 3, "expect exists|missing \"PATH\"", ExpectExists},
    {"expect record", Look, 4, "expect record FILE N fields...", ExpectRecord},
    {"expect records", Look, 4, "expect records FILE N", ExpectRecords},

    {"dump", Look, 2, "dump FORM", CmdDump},
};

const Command* FindCommand(std::string_view name) {
  auto it = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const Command& c) { return c.name == name; });
  return it == std::end(kCommands) ? nullptr : &*it;
}

void Need(const Words& w, size_t n, std::string_view usage) {
  if (w.size() < n) throw Failure("usage: " + std::string(usage));
}

}  // namespace

void RunCommand(Session& s, const Words& w) {
  const bool expect = w[0] == "expect";
  const Command* c = expect ? nullptr : FindCommand(w[0]);
  if (!expect && !c) {
    s.NoteUnknownCommand();
    throw Failure("unknown command " + w[0]);
  }
  if (expect || c->stage != World) {
    s.EnsureStarted();
    if (!expect && c->stage == Act && s.Outside().ended) throw Failure("the program has ended");
  }
  if (expect) {
    Need(w, 2, "expect KIND ...");
    c = FindCommand("expect " + w[1]);
    if (!c) {
      s.NoteUnknownCommand();
      throw Failure("unknown expectation " + w[1]);
    }
  }
  if (!c->event) {
    Need(w, c->words, c->usage);
    return c->run(s, w);
  }
  Need(w, 2, "EVENT FORM ...");
  Form& f = s.ActiveForm(w[1]);
  s.Outside().BeginAction();
  Need(w, c->words, c->usage);
  c->event(s, f, w);
  AfterEvent(s);
}

void PrintCommandUsage(std::ostream& out) {
  for (const Command& c : kCommands) {
    std::string_view usage = c.usage;
    // A usage shared by several commands is shown under each one's name.
    if (!usage.starts_with(std::string(c.name) + " ") && usage != c.name) {
      for (size_t words = std::count(c.name.begin(), c.name.end(), ' ') + 1; words > 0; --words)
        usage.remove_prefix(std::min(usage.size(), usage.find(' ') + 1));
      out << "  " << c.name << " " << usage << "\n";
    } else {
      out << "  " << usage << "\n";
    }
  }
}

}  // namespace sol
