// Expectations of what the windows show now, and of the program's variables.
#include <optional>

#include "scenario/commands.h"
#include "scenario/session.h"

namespace sol {

namespace {

// Parses "[black P…] [white P…]" into the pictures of a board.
std::vector<int16_t> ParseStones(const BoardCells& b, const Words& w, size_t from) {
  std::vector<int16_t> pics(b.Count(), PictureNone);
  int16_t colour = -1;
  for (size_t i = from; i < w.size(); ++i) {
    if (w[i] == "black") {
      colour = PictureBlack;
    } else if (w[i] == "white") {
      colour = PictureWhite;
    } else {
      if (colour < 0) throw Failure("stones must follow black or white");
      pics[ParsePoint(b, w[i]) - 1] = colour;
    }
  }
  return pics;
}

std::string DescribeStones(const std::vector<int16_t>& pics) {
  std::string black = "black", white = "white";
  for (size_t i = 0; i < pics.size(); ++i) {
    if (pics[i] == PictureBlack) black += " " + std::to_string(i + 1);
    if (pics[i] == PictureWhite) white += " " + std::to_string(i + 1);
  }
  return black + " " + white;
}

std::optional<Str> CaptionOf(Session& s, Form& f, const std::string& name) {
  if (Menu* m = f.FindMenu(name)) return m->Caption();
  Control& c = s.GetControl(f, name);
  if (auto* l = dynamic_cast<Label*>(&c)) return l->Caption();
  if (auto* b = dynamic_cast<CommandButton*>(&c)) return b->Caption();
  if (auto* o = dynamic_cast<OptionButton*>(&c)) return o->Caption();
  if (auto* fr = dynamic_cast<Frame*>(&c)) return fr->Caption();
  return std::nullopt;
}

ListBox& GetList(Session& s, const std::string& form, const std::string& name) {
  return s.GetControlAs<ListBox>(s.GetForm(form), name, "a list");
}

}  // namespace

void ExpectStatus(Session& s, const Words& w) {
  Form& f = s.GetForm(w[2]);
  if (!f.Status()) throw Failure(w[2] + " has no status bar");
  std::string found = Normal(f.Status()->Text());
  s.Check(found == w[3], "status " + Quote(w[3]), "status " + Quote(found));
}

void ExpectStones(Session& s, const Words& w) {
  BoardCells& b = s.GetBoard(s.GetForm(w[2]));
  std::vector<int16_t> want = ParseStones(b, w, 3);
  std::vector<int16_t> have;
  for (int p = 1; p <= b.Count(); ++p) have.push_back(b.PictureAt(p));
  s.Check(want == have, "stones " + DescribeStones(want), "stones " + DescribeStones(have));
}

void ExpectBoxStones(Session& s, const Words& w) {
  BoardCells& b = s.GetBoard(s.GetForm(w[2]));
  std::vector<int16_t> want = ParseStones(b, w, 3);
  if (s.taken.lastBox == SIZE_MAX) throw Failure("no message box was taken by expect box");
  const BoxRecord& box = s.Outside().boxes[s.taken.lastBox];
  auto it = box.boards.find(w[2]);
  if (it == box.boards.end()) return s.Check(false, "stones " + DescribeStones(want), w[2] + " was not shown");
  s.Check(want == it->second, "stones " + DescribeStones(want), "stones " + DescribeStones(it->second));
}

void ExpectStone(Session& s, const Words& w) {
  BoardCells& b = s.GetBoard(s.GetForm(w[2]));
  int pic = b.PictureAt(ParsePoint(b, w[3]));
  std::string found = pic == PictureBlack ? "black" : pic == PictureWhite ? "white" : "none";
  if (w[4] != "black" && w[4] != "white" && w[4] != "none") throw Failure("unknown stone " + w[4]);
  s.Check(found == w[4], "stone " + w[4] + " at " + w[3], "stone " + found);
}

void ExpectLabel(Session& s, const Words& w) {
  BoardCells& b = s.GetBoard(s.GetForm(w[2]));
  const Cell& c = b.At(ParsePoint(b, w[3]));
  std::string found = Quote(Normal(c.caption)) + " " + ColourName(c.foreColor);
  bool ok = Normal(c.caption) == w[4];
  if (w.size() > 5) ok = ok && ColourName(c.foreColor) == w[5];
  s.Check(ok, "label " + Quote(w[4]) + (w.size() > 5 ? " " + w[5] : ""), "label " + found);
}

void ExpectCaption(Session& s, const Words& w) {
  auto cap = CaptionOf(s, s.GetForm(w[2]), w[3]);
  if (!cap) throw Failure(w[3] + " has no caption");
  std::string found = Normal(*cap);
  s.Check(found == w[4], "caption " + Quote(w[4]), "caption " + Quote(found));
}

void ExpectText(Session& s, const Words& w) {
  auto& t = s.GetControlAs<TextBox>(s.GetForm(w[2]), w[3], "a text box");
  std::string found = Normal(t.Text());
  s.Check(found == w[4], "text " + Quote(w[4]), "text " + Quote(found));
}

void ExpectVisible(Session& s, const Words& w) {
  Form& f = s.GetForm(w[2]);
  bool want = ParseYesNo(w[4]);
  bool have;
  if (Menu* m = f.FindMenu(w[3]))
    have = m->Visible();
  else
    have = s.GetControl(f, w[3]).Visible();
  s.Check(want == have, w[3] + (want ? " visible" : " hidden"), have ? "visible" : "hidden");
}

void ExpectChecked(Session& s, const Words& w) {
  // A menu entry is checked when it carries a tick.
  if (Menu* m = s.GetForm(w[2]).FindMenu(w[3])) {
    const bool want = ParseYesNo(w[4]);
    return s.Check(want == m->Checked(), w[3] + (want ? " ticked" : " not ticked"),
                   m->Checked() ? "ticked" : "not ticked");
  }
  auto& o = s.GetControlAs<OptionButton>(s.GetForm(w[2]), w[3], "an option button");
  bool want = ParseYesNo(w[4]);
  s.Check(want == o.Value(), w[3] + (want ? " checked" : " not checked"), o.Value() ? "checked" : "not checked");
}

void ExpectValue(Session& s, const Words& w) {
  auto& slider = s.GetControlAs<Slider>(s.GetForm(w[2]), w[3], "a slider");
  s.Check(std::to_string(slider.Value()) == w[4], "value " + w[4], "value " + std::to_string(slider.Value()));
}

// `expect list` and `expect listtrim`.
void ExpectList(Session& s, const Words& w) {
  ListBox& l = GetList(s, w[2], w[3]);
  Str line = l.List(ParseIndex(w[4]));
  if (w[1] == "listtrim") line = RTrim(line);
  std::string found = Normal(line);
  s.Check(found == w[5], "line " + w[4] + " " + Quote(w[5]), "line " + Quote(found));
}

// `expect listcount`, `listindex` and `topindex`.
void ExpectListNumber(Session& s, const Words& w) {
  ListBox& l = GetList(s, w[2], w[3]);
  int have = w[1] == "listcount" ? l.ListCount() : w[1] == "listindex" ? l.ListIndex() : l.TopIndex();
  s.Check(std::to_string(have) == w[4], w[1] + " " + w[4], w[1] + " " + std::to_string(have));
}

void ExpectItemData(Session& s, const Words& w) {
  ListBox& l = GetList(s, w[2], w[3]);
  long have = l.ItemData(ParseIndex(w[4]));
  s.Check(std::to_string(have) == w[5], "itemdata " + w[5], "itemdata " + std::to_string(have));
}

void ExpectWindow(Session& s, const Words& w) {
  Form& f = s.GetForm(w[2]);
  if (w[3] != "shown" && w[3] != "hidden" && w[3] != "unloaded") throw Failure("unknown window state " + w[3]);
  std::string have = StateName(f.State());
  s.Check(have == w[3], w[2] + " " + w[3], w[2] + " " + have);
}

void ExpectEnded(Session& s, const Words&) {
  s.Check(s.Outside().ended, "the program has ended", "it is still running");
}

void ExpectVar(Session& s, const Words& w) {
  // NAME, NAME(i) or NAME(i).Field; a field of the current block end is NAME.Field.
  const std::string& full = w[2];
  std::string base = full, field;
  std::optional<int> index;
  size_t paren = full.find('(');
  if (paren != std::string::npos) {
    size_t close = full.find(')', paren);
    if (close == std::string::npos) throw Failure("bad variable " + full);
    base = full.substr(0, paren);
    long i = 0;
    if (!ParseLong(full.substr(paren + 1, close - paren - 1), i)) throw Failure("bad index in " + full);
    index = static_cast<int>(i);
    if (close + 1 < full.size()) {
      if (full[close + 1] != '.') throw Failure("bad variable " + full);
      field = full.substr(close + 2);
    }
  } else if (size_t dot = full.find('.'); dot != std::string::npos) {
    base = full.substr(0, dot);
    field = full.substr(dot + 1);
  }
  std::optional<std::string> have = ReadProgramVar(s.App(), base, index, field);
  if (!have) {
    for (Form* f : s.App().Forms()) {
      auto v = f->ReadVar(base, index, field);
      if (!v) continue;
      if (f->State() == WindowState::Unloaded)
        throw Failure(full + " belongs to " + f->FormName() + ", which is unloaded");
      have = v;
      break;
    }
  }
  if (!have) throw Failure("unknown variable " + full);
  s.Check(*have == w[3], full + " = " + w[3], full + " = " + *have);
}

}  // namespace sol
