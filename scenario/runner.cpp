#include "scenario/runner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "app/instance_lock.h"
#include "app/program.h"
#include "core/file_system.h"
#include "core/record_file.h"
#include "core/text.h"
#include "scenario/files.h"
#include "scenario/script_platform.h"

namespace sol {

bool SplitScenarioLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= n) break;
    if (line[i] == '#') break;
    std::string w;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        char c = line[i];
        if (c == '\\' && i + 1 < n) {
          char e = line[i + 1];
          w += e == 'n' ? '\n' : e;
          i += 2;
          continue;
        }
        if (c == '"') {
          closed = true;
          ++i;
          break;
        }
        w += c;
        ++i;
      }
      if (!closed) {
        error = "unterminated quoted text";
        return false;
      }
    } else {
      while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w += line[i++];
    }
    words.push_back(w);
  }
  return true;
}

namespace {

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\n')
      out += "\\n";
    else if (c == '"')
      out += "\\\"";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out + "\"";
}

// Line breaks compare as \n whatever the program wrote.
std::string Normal(const Str& s) {
  std::string u = ToUtf8(s);
  std::string out;
  for (size_t i = 0; i < u.size(); ++i) {
    if (u[i] == '\r' && i + 1 < u.size() && u[i + 1] == '\n') continue;
    out += u[i];
  }
  return out;
}

bool ParseLong(const std::string& s, long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtol(s.c_str(), &end, 10);
  return *end == '\0';
}

const char* StateName(WindowState s) {
  switch (s) {
    case WindowState::Shown:
      return "shown";
    case WindowState::Hidden:
      return "hidden";
    case WindowState::Unloaded:
      return "unloaded";
  }
  return "?";
}

const char* IconName(Icon i) {
  switch (i) {
    case Icon::None:
      return "none";
    case Icon::Information:
      return "information";
    case Icon::Question:
      return "question";
  }
  return "?";
}

std::string ColourName(uint32_t c) {
  switch (c) {
    case ColourWhite:
      return "white";
    case ColourBlack:
      return "black";
    case ColourGreen:
      return "green";
    case ColourRed:
      return "red";
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06x", c);
  return buf;
}

class Failure {
 public:
  explicit Failure(std::string m) : message(std::move(m)) {}
  std::string message;
};

std::string MakeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/solneka-scenario-XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw Failure("cannot make a temporary directory");
  return buf.data();
}

void RemoveTree(const std::string& dir) {
  std::string cmd = "rm -rf '" + dir + "'";
  if (std::system(cmd.c_str()) != 0) std::cerr << "could not remove " << dir << "\n";
}

class Session {
 public:
  Session(std::string name, std::string dataDir, std::ostream& out, ScenarioTotals& totals)
      : name_(std::move(name)), out_(out), totals_(totals) {
    if (dataDir.empty()) {
      dir_ = MakeTempDir();
      ownDir_ = true;
    } else {
      dir_ = dataDir;
    }
    TakeLock();
  }
  ~Session() {
    program_.reset();
    lock_.reset();
    SetReadOnly(false);
    if (ownDir_) RemoveTree(dir_);
  }

  void Run(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      line_ = number;
      std::vector<std::string> words;
      std::string error;
      if (!SplitScenarioLine(line, words, error)) {
        Fail(error);
        continue;
      }
      if (words.empty()) continue;
      try {
        Execute(words);
      } catch (const Failure& f) {
        Fail(f.message);
      } catch (const std::exception& e) {
        ReportPlatformErrors();
        platform_.answers.clear();
        platform_.inputs.clear();
        Fail(std::string("the program failed: ") + e.what());
      }
    }
  }

 private:
  void Fail(const std::string& what) {
    ++totals_.failed;
    out_ << name_ << ":" << line_ << ": " << what << "\n";
  }
  void Pass() { ++totals_.passed; }
  void Check(bool ok, const std::string& expected, const std::string& found) {
    if (ok)
      Pass();
    else
      Fail(expected + " — " + found);
  }

  // The runner writes the data files itself, and a program that starts on
  // the folder meanwhile would undo the session's unfinished changes: the
  // folder is the session's while it runs. A copy that has it now gets a few
  // seconds to let go.
  void TakeLock() {
    for (int wait = 0;; ++wait) {
      lock_ = std::make_unique<InstanceLock>(dir_);
      if (lock_->Result() != InstanceLock::Outcome::HeldElsewhere || wait == 100) break;
      lock_.reset();
      usleep(50000);
    }
    SetReadOnly(lock_->Result() != InstanceLock::Outcome::Taken);
    if (ReadOnly()) Fail("the data folder's lock cannot be taken; nothing is written: " + lock_->Path());
  }

  void EnsureStarted() {
    if (program_) return;
    program_ = std::make_unique<Program>(platform_, dir_);
    platform_.snapshotBoards = [this](BoxRecord& r) {
      for (Form* f : program_->Forms()) {
        if (f->State() != WindowState::Shown || !f->Board()) continue;
        std::vector<int16_t> pics;
        for (int p = 1; p <= f->Board()->Count(); ++p) pics.push_back(f->Board()->PictureAt(p));
        r.boards[f->FormName()] = std::move(pics);
      }
    };
    program_->Start();
    ReportPlatformErrors();
  }

  void ReportPlatformErrors() {
    for (const std::string& e : platform_.errors) Fail(e);
    platform_.errors.clear();
  }

  std::string DataPath(const std::string& file) const { return MakeDataDir(dir_) + file; }

  static void Need(const std::vector<std::string>& w, size_t n, const char* usage) {
    if (w.size() < n) throw Failure(std::string("usage: ") + usage);
  }

  Form& GetForm(const std::string& name) {
    Form* f = program_->FindForm(name);
    if (!f) throw Failure("unknown window " + name);
    return *f;
  }

  Form& ActiveForm(const std::string& name) {
    Form& f = GetForm(name);
    if (f.State() != WindowState::Shown) throw Failure(name + " is not shown");
    if (!program_->Accepts(f)) throw Failure(name + " sits behind a modal window");
    return f;
  }

  Control& GetControl(Form& f, const std::string& name) {
    Control* c = f.FindControl(name);
    if (!c && name == "Label6") c = f.Board();
    if (!c) throw Failure("unknown control " + name + " of " + f.FormName());
    return *c;
  }

  BoardCells& GetBoard(Form& f) {
    if (!f.Board()) throw Failure(f.FormName() + " has no board");
    return *f.Board();
  }

  int GetPoint(BoardCells& b, const std::string& w) {
    long p = 0;
    if (!ParseLong(w, p) || !b.Contains(static_cast<int>(p))) throw Failure("not a point of the board: " + w);
    return static_cast<int>(p);
  }

  void Execute(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    if (cmd == "date") return CmdDate(w);
    if (cmd == "random") return CmdRandom(w);
    if (cmd == "record") return CmdRecord(w);
    if (cmd == "truncate") return CmdTruncate(w);
    if (cmd == "poke") return CmdPoke(w);

    static const std::set<std::string> known = {"answer", "input", "click", "press", "menu", "select",
                                                "type",   "slide", "expect", "dump"};
    if (!known.count(cmd)) throw Failure("unknown command " + cmd);
    EnsureStarted();
    if (platform_.ended && cmd != "expect" && cmd != "dump") throw Failure("the program has ended");

    if (cmd == "answer") return CmdAnswer(w);
    if (cmd == "input") return CmdInput(w);
    if (cmd == "expect") return CmdExpect(w);
    if (cmd == "dump") return CmdDump(w);
    RunEvent(w);
  }

  // ---- the world outside ----

  void CmdDate(const std::vector<std::string>& w) {
    Need(w, 2, "date YYYY-MM-DD");
    Date d;
    if (std::sscanf(w[1].c_str(), "%d-%d-%d", &d.year, &d.month, &d.day) != 3) throw Failure("bad date " + w[1]);
    platform_.today = d;
  }

  void CmdRandom(const std::vector<std::string>& w) {
    Need(w, 2, "random R...");
    std::vector<double> values;
    for (size_t i = 1; i < w.size(); ++i) {
      char* end = nullptr;
      double r = std::strtod(w[i].c_str(), &end);
      if (*end != '\0' || r < 0 || r >= 1) throw Failure("not a number 0 <= r < 1: " + w[i]);
      values.push_back(r);
    }
    platform_.randoms = values;
    platform_.randomNext = 0;
  }

  void CmdRecord(const std::vector<std::string>& w) {
    Need(w, 3, "record FILE N fields...");
    const FileLayout* layout = FindFileLayout(w[1]);
    if (!layout) throw Failure("unknown data file " + w[1]);
    long r = 0;
    if (!ParseLong(w[2], r) || r < 1 || r > MaxRecordNumber) throw Failure("bad record number " + w[2]);
    std::string error;
    auto rec = EncodeRecord(*layout, {w.begin() + 3, w.end()}, error);
    if (!rec) throw Failure(error);
    RecordFile f(DataPath(w[1]), layout->recordLength);
    f.Write(r, *rec);
  }

  void CmdTruncate(const std::vector<std::string>& w) {
    Need(w, 3, "truncate FILE BYTES");
    long n = 0;
    if (!ParseLong(w[2], n) || n < 0) throw Failure("bad size " + w[2]);
    auto f = Files().Open(DataPath(w[1]));
    f->Truncate(static_cast<uint64_t>(n));
  }

  void CmdPoke(const std::vector<std::string>& w) {
    Need(w, 4, "poke FILE OFFSET HEX");
    long off = 0;
    if (!ParseLong(w[2], off) || off < 0) throw Failure("bad offset " + w[2]);
    const std::string& hex = w[3];
    if (hex.size() % 2) throw Failure("odd number of hex digits");
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
      char* end = nullptr;
      std::string pair = hex.substr(i, 2);
      long b = std::strtol(pair.c_str(), &end, 16);
      if (*end != '\0') throw Failure("bad hex " + hex);
      bytes += static_cast<char>(b);
    }
    auto f = Files().Open(DataPath(w[1]));
    f->WriteAt(static_cast<uint64_t>(off), bytes.data(), bytes.size());
  }

  void CmdAnswer(const std::vector<std::string>& w) {
    Need(w, 2, "answer Yes|No|OK|Cancel");
    const std::string& a = w[1];
    if (a == "Yes")
      platform_.answers.push_back(Answer::Yes);
    else if (a == "No")
      platform_.answers.push_back(Answer::No);
    else if (a == "OK")
      platform_.answers.push_back(Answer::OK);
    else if (a == "Cancel")
      platform_.answers.push_back(Answer::Cancel);
    else
      throw Failure("unknown answer " + a);
  }

  void CmdInput(const std::vector<std::string>& w) {
    Need(w, 2, "input \"text\" | input cancel");
    if (w[1] == "cancel")
      platform_.inputs.push_back(std::nullopt);
    else
      platform_.inputs.push_back(FromUtf8(w[1]));
  }

  // ---- what the player does ----

  void RunEvent(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    Need(w, 2, "EVENT FORM ...");
    Form& f = ActiveForm(w[1]);
    platform_.BeginAction();
    if (cmd == "click") {
      Need(w, 4, "click FORM P left|right|middle [shift] [ctrl] [alt]");
      BoardCells& b = GetBoard(f);
      int p = GetPoint(b, w[2]);
      int button = w[3] == "left" ? ButtonLeft : w[3] == "right" ? ButtonRight : w[3] == "middle" ? ButtonMiddle : 0;
      if (!button) throw Failure("unknown button " + w[3]);
      int shift = 0;
      for (size_t i = 4; i < w.size(); ++i) {
        if (w[i] == "shift")
          shift |= ShiftKey;
        else if (w[i] == "ctrl")
          shift |= CtrlKey;
        else if (w[i] == "alt")
          shift |= AltKey;
        else
          throw Failure("unknown key " + w[i]);
      }
      b.MouseDown(p, button, shift);
    } else if (cmd == "press") {
      Need(w, 3, "press FORM CONTROL");
      Control& c = GetControl(f, w[2]);
      if (auto* b = dynamic_cast<CommandButton*>(&c))
        b->Click();
      else if (auto* o = dynamic_cast<OptionButton*>(&c))
        o->Click();
      else
        throw Failure(w[2] + " is not a button");
    } else if (cmd == "menu") {
      Need(w, 3, "menu FORM ITEM");
      Menu* m = f.FindMenu(w[2]);
      if (!m) throw Failure("unknown menu entry " + w[2] + " of " + w[1]);
      m->Click();
    } else if (cmd == "select") {
      Need(w, 4, "select FORM LIST I");
      auto* l = dynamic_cast<ListBox*>(&GetControl(f, w[2]));
      if (!l) throw Failure(w[2] + " is not a list");
      long i = 0;
      if (!ParseLong(w[3], i) || i < -1 || i >= l->ListCount())
        throw Failure("line " + w[3] + " is not in " + w[2] + " (" + std::to_string(l->ListCount()) + " lines)");
      l->SetListIndex(static_cast<int>(i));
    } else if (cmd == "type") {
      Need(w, 4, "type FORM TEXTBOX \"text\"");
      auto* t = dynamic_cast<TextBox*>(&GetControl(f, w[2]));
      if (!t) throw Failure(w[2] + " is not a text box");
      t->SetText(FromUtf8(w[3]));
    } else if (cmd == "slide") {
      Need(w, 3, "slide FORM VALUE");
      auto* s = dynamic_cast<Slider*>(f.FindControl("Slider1"));
      if (!s) throw Failure(w[1] + " has no slider");
      long v = 0;
      if (!ParseLong(w[2], v)) throw Failure("bad value " + w[2]);
      s->SetValue(static_cast<int>(v));
      if (s->OnMouseUp) s->OnMouseUp();
    } else {
      throw Failure("unknown command " + cmd);
    }
    AfterEvent();
  }

  void AfterEvent() {
    ReportPlatformErrors();
    if (!platform_.answers.empty()) {
      Fail(std::to_string(platform_.answers.size()) + " queued answer(s) left unused by this action");
      platform_.answers.clear();
    }
    if (!platform_.inputs.empty()) {
      Fail(std::to_string(platform_.inputs.size()) + " queued input(s) left unused by this action");
      platform_.inputs.clear();
    }
  }

  // ---- what the player must see ----

  void CmdExpect(const std::vector<std::string>& w) {
    Need(w, 2, "expect KIND ...");
    const std::string& k = w[1];
    if (k == "status") return ExpectStatus(w);
    if (k == "box") return ExpectBox(w);
    if (k == "nobox") {
      size_t left = platform_.boxes.size() - boxesTaken_;
      std::string found = left ? "box \"" + Normal(platform_.boxes[boxesTaken_].title) + "\" " +
                                     Quote(Normal(platform_.boxes[boxesTaken_].text)) + " not taken"
                               : "";
      return Check(left == 0, "no further message box", found);
    }
    if (k == "boxstones") return ExpectBoxStones(w);
    if (k == "inputbox") return ExpectInputBox(w);
    if (k == "cue") return ExpectCue(w);
    if (k == "nocue") {
      size_t left = platform_.cues.size() - cuesTaken_;
      return Check(left == 0, "no further cue", left ? "cue " + platform_.cues[cuesTaken_] : "");
    }
    if (k == "beep") {
      bool ok = beepsTaken_ < platform_.beeps;
      if (ok) ++beepsTaken_;
      return Check(ok, "a beep", "no beep");
    }
    if (k == "nobeep") {
      int left = platform_.beeps - beepsTaken_;
      return Check(left == 0, "no further beep", std::to_string(left) + " beep(s)");
    }
    if (k == "noprint") {
      size_t left = platform_.prints.size() - printsTaken_;
      return Check(left == 0, "no further print job", left ? "printed " + platform_.prints[printsTaken_] : "");
    }
    if (k == "printed") {
      Need(w, 3, "expect printed FORM");
      if (printsTaken_ >= platform_.prints.size()) return Check(false, "a print job of " + w[2], "none");
      const std::string& p = platform_.prints[printsTaken_++];
      return Check(p == w[2], "printed " + w[2], "printed " + p);
    }
    if (k == "help") return ExpectHelp(w);
    if (k == "stones") return ExpectStones(w);
    if (k == "stone") return ExpectStone(w);
    if (k == "label") return ExpectLabel(w);
    if (k == "caption") return ExpectCaption(w);
    if (k == "text") return ExpectText(w);
    if (k == "visible") return ExpectVisible(w);
    if (k == "checked") return ExpectChecked(w);
    if (k == "value") return ExpectValue(w);
    if (k == "list" || k == "listtrim") return ExpectList(w, k == "listtrim");
    if (k == "listcount" || k == "listindex" || k == "topindex") return ExpectListNumber(w);
    if (k == "itemdata") return ExpectItemData(w);
    if (k == "window") return ExpectWindow(w);
    if (k == "ended") return Check(platform_.ended, "the program has ended", "it is still running");
    if (k == "var") return ExpectVar(w);
    if (k == "record") return ExpectRecord(w);
    if (k == "records") return ExpectRecords(w);
    throw Failure("unknown expectation " + k);
  }

  void ExpectStatus(const std::vector<std::string>& w) {
    Need(w, 4, "expect status FORM \"text\"");
    Form& f = GetForm(w[2]);
    if (!f.Status()) throw Failure(w[2] + " has no status bar");
    std::string found = Normal(f.Status()->Text());
    Check(found == w[3], "status " + Quote(w[3]), "status " + Quote(found));
  }

  void ExpectBox(const std::vector<std::string>& w) {
    Need(w, 4, "expect box \"title\" \"text\" [BUTTONS [ICON]]");
    if (boxesTaken_ >= platform_.boxes.size())
      return Check(false, "box \"" + w[2] + "\" " + Quote(w[3]), "no message box");
    lastBox_ = boxesTaken_;
    const BoxRecord& b = platform_.boxes[boxesTaken_++];
    std::string found = "box " + Quote(Normal(b.title)) + " " + Quote(Normal(b.text)) + " " +
                        ButtonsName(b.buttons) + " " + IconName(b.icon);
    bool ok = Normal(b.title) == w[2] && Normal(b.text) == w[3];
    if (w.size() > 4) ok = ok && w[4] == ButtonsName(b.buttons);
    if (w.size() > 5) ok = ok && w[5] == IconName(b.icon);
    std::string expected = "box " + Quote(w[2]) + " " + Quote(w[3]);
    for (size_t i = 4; i < w.size(); ++i) expected += " " + w[i];
    Check(ok, expected, found);
  }

  // Parses "[black P…] [white P…]" into the pictures of a board.
  std::vector<int16_t> ParseStones(BoardCells& b, const std::vector<std::string>& w, size_t from) {
    std::vector<int16_t> pics(b.Count(), PictureNone);
    int16_t colour = -1;
    for (size_t i = from; i < w.size(); ++i) {
      if (w[i] == "black") {
        colour = PictureBlack;
      } else if (w[i] == "white") {
        colour = PictureWhite;
      } else {
        if (colour < 0) throw Failure("stones must follow black or white");
        pics[GetPoint(b, w[i]) - 1] = colour;
      }
    }
    return pics;
  }

  static std::string DescribeStones(const std::vector<int16_t>& pics) {
    std::string black = "black", white = "white";
    for (size_t i = 0; i < pics.size(); ++i) {
      if (pics[i] == PictureBlack) black += " " + std::to_string(i + 1);
      if (pics[i] == PictureWhite) white += " " + std::to_string(i + 1);
    }
    return black + " " + white;
  }

  void ExpectStones(const std::vector<std::string>& w) {
    Need(w, 3, "expect stones FORM [black P…] [white P…]");
    BoardCells& b = GetBoard(GetForm(w[2]));
    std::vector<int16_t> want = ParseStones(b, w, 3);
    std::vector<int16_t> have;
    for (int p = 1; p <= b.Count(); ++p) have.push_back(b.PictureAt(p));
    Check(want == have, "stones " + DescribeStones(want), "stones " + DescribeStones(have));
  }

  void ExpectBoxStones(const std::vector<std::string>& w) {
    Need(w, 3, "expect boxstones FORM [black P…] [white P…]");
    BoardCells& b = GetBoard(GetForm(w[2]));
    std::vector<int16_t> want = ParseStones(b, w, 3);
    if (lastBox_ == SIZE_MAX) throw Failure("no message box was taken by expect box");
    const BoxRecord& box = platform_.boxes[lastBox_];
    auto it = box.boards.find(w[2]);
    if (it == box.boards.end()) return Check(false, "stones " + DescribeStones(want), w[2] + " was not shown");
    Check(want == it->second, "stones " + DescribeStones(want), "stones " + DescribeStones(it->second));
  }

  void ExpectStone(const std::vector<std::string>& w) {
    Need(w, 5, "expect stone FORM P black|white|none");
    BoardCells& b = GetBoard(GetForm(w[2]));
    int p = GetPoint(b, w[3]);
    int pic = b.PictureAt(p);
    std::string found = pic == PictureBlack ? "black" : pic == PictureWhite ? "white" : "none";
    if (w[4] != "black" && w[4] != "white" && w[4] != "none") throw Failure("unknown stone " + w[4]);
    Check(found == w[4], "stone " + w[4] + " at " + w[3], "stone " + found);
  }

  void ExpectLabel(const std::vector<std::string>& w) {
    Need(w, 5, "expect label FORM P \"text\" [white|black|green|red]");
    BoardCells& b = GetBoard(GetForm(w[2]));
    int p = GetPoint(b, w[3]);
    const Cell& c = b.At(p);
    std::string found = Quote(Normal(c.caption)) + " " + ColourName(c.foreColor);
    bool ok = Normal(c.caption) == w[4];
    if (w.size() > 5) ok = ok && ColourName(c.foreColor) == w[5];
    Check(ok, "label " + Quote(w[4]) + (w.size() > 5 ? " " + w[5] : ""), "label " + found);
  }

  std::optional<Str> CaptionOf(Form& f, const std::string& name) {
    if (Menu* m = f.FindMenu(name)) return m->Caption();
    Control& c = GetControl(f, name);
    if (auto* l = dynamic_cast<Label*>(&c)) return l->Caption();
    if (auto* b = dynamic_cast<CommandButton*>(&c)) return b->Caption();
    if (auto* o = dynamic_cast<OptionButton*>(&c)) return o->Caption();
    if (auto* fr = dynamic_cast<Frame*>(&c)) return fr->Caption();
    return std::nullopt;
  }

  void ExpectCaption(const std::vector<std::string>& w) {
    Need(w, 5, "expect caption FORM CONTROL \"text\"");
    Form& f = GetForm(w[2]);
    auto cap = CaptionOf(f, w[3]);
    if (!cap) throw Failure(w[3] + " has no caption");
    std::string found = Normal(*cap);
    Check(found == w[4], "caption " + Quote(w[4]), "caption " + Quote(found));
  }

  void ExpectText(const std::vector<std::string>& w) {
    Need(w, 5, "expect text FORM TEXTBOX \"text\"");
    auto* t = dynamic_cast<TextBox*>(&GetControl(GetForm(w[2]), w[3]));
    if (!t) throw Failure(w[3] + " is not a text box");
    std::string found = Normal(t->Text());
    Check(found == w[4], "text " + Quote(w[4]), "text " + Quote(found));
  }

  static bool YesNo(const std::string& s) {
    if (s == "yes") return true;
    if (s == "no") return false;
    throw Failure("expected yes or no, not " + s);
  }

  void ExpectVisible(const std::vector<std::string>& w) {
    Need(w, 5, "expect visible FORM CONTROL yes|no");
    Form& f = GetForm(w[2]);
    bool want = YesNo(w[4]);
    bool have;
    if (Menu* m = f.FindMenu(w[3]))
      have = m->Visible();
    else
      have = GetControl(f, w[3]).Visible();
    Check(want == have, w[3] + (want ? " visible" : " hidden"), have ? "visible" : "hidden");
  }

  void ExpectChecked(const std::vector<std::string>& w) {
    Need(w, 5, "expect checked FORM OPTION yes|no");
    auto* o = dynamic_cast<OptionButton*>(&GetControl(GetForm(w[2]), w[3]));
    if (!o) throw Failure(w[3] + " is not an option button");
    bool want = YesNo(w[4]);
    Check(want == o->Value(), w[3] + (want ? " checked" : " not checked"), o->Value() ? "checked" : "not checked");
  }

  void ExpectValue(const std::vector<std::string>& w) {
    Need(w, 5, "expect value FORM Slider1 N");
    auto* s = dynamic_cast<Slider*>(&GetControl(GetForm(w[2]), w[3]));
    if (!s) throw Failure(w[3] + " is not a slider");
    Check(std::to_string(s->Value()) == w[4], "value " + w[4], "value " + std::to_string(s->Value()));
  }

  ListBox& GetList(const std::string& form, const std::string& name) {
    auto* l = dynamic_cast<ListBox*>(&GetControl(GetForm(form), name));
    if (!l) throw Failure(name + " is not a list");
    return *l;
  }

  int ParseIndex(const std::string& s) {
    long v = 0;
    if (!ParseLong(s, v)) throw Failure("not a number: " + s);
    return static_cast<int>(v);
  }

  void ExpectList(const std::vector<std::string>& w, bool trim) {
    Need(w, 6, "expect list FORM LIST I \"text\"");
    ListBox& l = GetList(w[2], w[3]);
    Str line = l.List(ParseIndex(w[4]));
    if (trim) line = RTrim(line);
    std::string found = Normal(line);
    Check(found == w[5], "line " + w[4] + " " + Quote(w[5]), "line " + Quote(found));
  }

  void ExpectListNumber(const std::vector<std::string>& w) {
    Need(w, 5, "expect listcount|listindex|topindex FORM LIST N");
    ListBox& l = GetList(w[2], w[3]);
    int have = w[1] == "listcount" ? l.ListCount() : w[1] == "listindex" ? l.ListIndex() : l.TopIndex();
    Check(std::to_string(have) == w[4], w[1] + " " + w[4], w[1] + " " + std::to_string(have));
  }

  void ExpectItemData(const std::vector<std::string>& w) {
    Need(w, 6, "expect itemdata FORM LIST I N");
    ListBox& l = GetList(w[2], w[3]);
    long have = l.ItemData(ParseIndex(w[4]));
    Check(std::to_string(have) == w[5], "itemdata " + w[5], "itemdata " + std::to_string(have));
  }

  void ExpectWindow(const std::vector<std::string>& w) {
    Need(w, 4, "expect window FORM shown|hidden|unloaded");
    Form& f = GetForm(w[2]);
    if (w[3] != "shown" && w[3] != "hidden" && w[3] != "unloaded") throw Failure("unknown window state " + w[3]);
    std::string have = StateName(f.State());
    Check(have == w[3], w[2] + " " + w[3], w[2] + " " + have);
  }

  void ExpectVar(const std::vector<std::string>& w) {
    Need(w, 4, "expect var NAME VALUE");
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
    std::optional<std::string> have = ReadStateVar(program_->State, base, index, field);
    if (!have) {
      for (Form* f : program_->Forms()) {
        auto v = f->ReadVar(base, index, field);
        if (!v) continue;
        if (f->State() == WindowState::Unloaded) throw Failure(full + " belongs to " + f->FormName() + ", which is unloaded");
        have = v;
        break;
      }
    }
    if (!have) throw Failure("unknown variable " + full);
    Check(*have == w[3], full + " = " + w[3], full + " = " + *have);
  }

  const FileLayout& Layout(const std::string& file) {
    const FileLayout* l = FindFileLayout(file);
    if (!l) throw Failure("unknown data file " + file);
    return *l;
  }

  // Reads a file without creating it.
  std::string ReadIfPresent(const std::string& file) {
    std::ifstream in(DataPath(file), std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  void ExpectRecord(const std::vector<std::string>& w) {
    Need(w, 4, "expect record FILE N fields...");
    const FileLayout& l = Layout(w[2]);
    long r = 0;
    if (!ParseLong(w[3], r) || r < 1 || r > MaxRecordNumber) throw Failure("bad record number " + w[3]);
    std::string data = ReadIfPresent(w[2]);
    std::string rec(l.recordLength, '\0');
    size_t off = static_cast<size_t>(r - 1) * l.recordLength;
    if (off < data.size()) rec.replace(0, std::min(data.size() - off, rec.size()), data.substr(off, l.recordLength));
    std::vector<std::string> have = DecodeRecord(l, rec);
    std::vector<std::string> want(w.begin() + 4, w.end());
    if (want.size() != have.size())
      throw Failure(w[2] + " has " + std::to_string(have.size()) + " fields, " + std::to_string(want.size()) +
                    " given");
    for (size_t i = 0; i < want.size(); ++i)
      if (l.fields[i].text) want[i] = ToUtf8(RTrim(FromUtf8(want[i])));
    auto join = [](const std::vector<std::string>& v) {
      std::string s;
      for (const std::string& x : v) s += (s.empty() ? "" : " ") + Quote(x);
      return s;
    };
    Check(want == have, "record " + w[3] + " " + join(want), "record " + join(have));
  }

  void ExpectRecords(const std::vector<std::string>& w) {
    Need(w, 4, "expect records FILE N");
    const FileLayout& l = Layout(w[2]);
    size_t have = ReadIfPresent(w[2]).size() / l.recordLength;
    Check(std::to_string(have) == w[3], "records " + w[3], "records " + std::to_string(have));
  }

  void ExpectInputBox(const std::vector<std::string>& w) {
    Need(w, 5, "expect inputbox \"caption\" \"prompt\" \"default\"");
    if (inputsTaken_ >= platform_.inputBoxes.size()) return Check(false, "an input box " + Quote(w[2]), "none");
    const InputRecord& r = platform_.inputBoxes[inputsTaken_++];
    std::string found = "inputbox " + Quote(Normal(r.caption)) + " " + Quote(Normal(r.prompt)) + " " +
                        Quote(Normal(r.defaultText));
    Check(Normal(r.caption) == w[2] && Normal(r.prompt) == w[3] && Normal(r.defaultText) == w[4],
          "inputbox " + Quote(w[2]) + " " + Quote(w[3]) + " " + Quote(w[4]), found);
  }

  void ExpectCue(const std::vector<std::string>& w) {
    Need(w, 3, "expect cue chord|ding");
    if (w[2] != "chord" && w[2] != "ding") throw Failure("unknown cue " + w[2]);
    if (cuesTaken_ >= platform_.cues.size()) return Check(false, "cue " + w[2], "no cue");
    const std::string& c = platform_.cues[cuesTaken_++];
    Check(c == w[2], "cue " + w[2], "cue " + c);
  }

  void ExpectHelp(const std::vector<std::string>& w) {
    Need(w, 3, "expect help contents | expect help context FORM");
    std::string want = w[2] == "context" && w.size() > 3 ? "context " + w[3] : w[2];
    if (helpsTaken_ >= platform_.helps.size()) return Check(false, "help " + want, "no help request");
    const std::string& h = platform_.helps[helpsTaken_++];
    Check(h == want, "help " + want, "help " + h);
  }

  void CmdDump(const std::vector<std::string>& w) {
    Need(w, 2, "dump FORM");
    Form& f = GetForm(w[1]);
    std::cout << "== " << w[1] << " (" << StateName(f.State()) << ")\n";
    if (BoardCells* b = f.Board()) {
      for (int row = 1; row <= b->Rows(); ++row) {
        std::string line;
        for (int col = 1; col <= b->Columns(); ++col) {
          int p = b->Rows() * (col - 1) + row;
          int pic = b->PictureAt(p);
          line += pic == PictureBlack ? " X" : pic == PictureWhite ? " O" : " .";
        }
        std::cout << line << "\n";
      }
    }
    if (f.Status()) std::cout << "status: " << Quote(Normal(f.Status()->Text())) << "\n";
    for (Control* c : f.Controls()) {
      if (auto* l = dynamic_cast<ListBox*>(c)) {
        std::cout << c->Name() << " (" << l->ListCount() << " lines, index " << l->ListIndex() << ")\n";
        for (int i = 0; i < l->ListCount(); ++i) std::cout << "  " << i << ": " << Quote(Normal(l->List(i))) << "\n";
      }
    }
  }

  std::string name_;
  std::ostream& out_;
  ScenarioTotals& totals_;
  std::string dir_;
  bool ownDir_ = false;
  int line_ = 0;
  ScriptPlatform platform_;
  std::unique_ptr<InstanceLock> lock_;
  std::unique_ptr<Program> program_;
  size_t boxesTaken_ = 0, lastBox_ = SIZE_MAX, inputsTaken_ = 0, cuesTaken_ = 0, printsTaken_ = 0, helpsTaken_ = 0;
  int beepsTaken_ = 0;
};

}  // namespace

void RunScenarioText(const std::string& name, const std::string& text, const std::string& dataDir,
                     std::ostream& out, ScenarioTotals& totals) {
  try {
    Session session(name, dataDir, out, totals);
    session.Run(text);
  } catch (const Failure& f) {
    ++totals.failed;
    out << name << ":0: " << f.message << "\n";
  }
}

void RunScenarioFile(const std::string& path, const std::string& dataDir, std::ostream& out,
                     ScenarioTotals& totals) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ++totals.failed;
    out << path << ":0: cannot read the file\n";
    return;
  }
  std::ostringstream text;
  text << in.rdbuf();
  RunScenarioText(path, text.str(), dataDir, out, totals);
}

}  // namespace sol
