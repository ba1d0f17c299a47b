// Random play over the three windows through their controls, the way a
// restless player would: clicks with any button and key on any point, every
// visible button, option and menu entry of the window that takes input,
// list selections, typed texts of any length (also characters the files
// cannot store), and any answer to every box, on data with some damage in
// it. Nothing may throw, hang or break the main board's invariants. 終了
// answered with OK starts the program again on the same files.
//
// SOLNEKA_MONKEY_SEED replays the fresh-seed run with a given seed;
// SOLNEKA_MONKEY_EVENTS sets the events per run.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "core/replay.h"
#include "core/settings.h"
#include "core/text.h"
#include "fuzz/sample_data.h"
#include "problems/store.h"
#include "records/game_files.h"
#include "scenario/script_platform.h"

namespace sol {
namespace {

using Clock = std::chrono::steady_clock;

// Each of the two runs plays half of the test's 100,000 events, a few
// seconds under the sanitizers too; SOLNEKA_MONKEY_EVENTS changes it.
constexpr long DefaultEvents = 50000;
// Whatever the event count, a run stops after this long; a single event
// that takes longer than the hang limit aborts the test.
constexpr auto RunBudget = std::chrono::seconds(25);
constexpr auto HangLimit = std::chrono::seconds(10);

long EventsPerRun() {
  if (const char* v = std::getenv("SOLNEKA_MONKEY_EVENTS"); v && *v) return std::max(1L, std::atol(v));
  return DefaultEvents;
}

// Texts of the shapes the windows parse (a game number and a title, a
// problem number and a title) or of none, of random length, drawn from
// characters the files store and characters they cannot.
class Typist {
 public:
  explicit Typist(std::mt19937_64& rng) : rng_(rng) {}

  Str Text() {
    Str t;
    switch (Pick(10)) {
      case 0:
      case 1:
      case 2:
        t = Digits(2, Pick(4) == 0 ? 99 : 61) + Separator();
        break;
      case 3:
      case 4:
        t = Num(1000 + static_cast<long>(Pick(3000)));
        break;
      case 5:
        t = Num(static_cast<long>(Pick(100000)) - 50000);
        break;
      default:
        break;
    }
    const int length = Pick(4) == 0 ? Pick(120) : Pick(40);
    for (int i = 0; i < length; ++i) t += Char();
    return t;
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  Str Digits(int n, int below) {
    Str s = Num(Pick(below));
    while (static_cast<int>(s.size()) < n) s = u"0" + s;
    return s;
  }
  Str Separator() {
    static const char16_t* seps[] = {u"：", u" ", u":", u"", u"　"};
    return seps[Pick(5)];
  }
  Str Char() {
    switch (Pick(16)) {
      case 0:
      case 1:
      case 2:
        return Str(1, static_cast<char16_t>(0x20 + Pick(0x5F)));  // ASCII
      case 3:
      case 4:
      case 5:
        return Str(1, static_cast<char16_t>(0x3041 + Pick(0x53)));  // hiragana
      case 6:
      case 7:
        return Str(1, static_cast<char16_t>(0x4E00 + Pick(0x5000)));  // kanji, not all stored
      case 8:
        return Str(1, static_cast<char16_t>(0xFF10 + Pick(10)));  // full-width digits
      case 9:
        return Str(1, static_cast<char16_t>(0xFF61 + Pick(0x3F)));  // half-width katakana
      case 10:
        return u"　";
      case 11:
        return Str(1, static_cast<char16_t>(0xE000 + Pick(0x800)));  // user-defined area
      case 12: {
        static const char16_t* odd[] = {u"é", u"€", u"\uFFFD", u"\r\n", u"\t", u"①", u"¥", u"\\", u"~"};
        return odd[Pick(9)];
      }
      case 13:
        return u"\U0001F600";  // a surrogate pair
      case 14:
        return Str(1, static_cast<char16_t>(0xD800 + Pick(0x800)));  // a lone surrogate
      default:
        return Str(1, static_cast<char16_t>(1 + Pick(0xFFFE)));  // anything
    }
  }
  std::mt19937_64& rng_;
};

// Boxes get any answer their buttons allow; input boxes any text or a
// cancel. A command that goes on asking after dozens of answers is given the
// first button from then on (the one answer some loops leave by), and one
// that still asks after thousands is taken for a command that never ends.
class MonkeyPlatform : public ScriptPlatform {
 public:
  explicit MonkeyPlatform(std::mt19937_64& rng) : rng_(rng), typist_(rng) {}

  void Begin() { asked_ = 0; }
  long boxesShown = 0;

  Answer MsgBox(const Str&, Buttons buttons, Icon, const Str& title) override {
    Asked(title);
    static const std::vector<Answer> ok{Answer::OK}, okCancel{Answer::OK, Answer::Cancel},
        yesNo{Answer::Yes, Answer::No}, yesNoCancel{Answer::Yes, Answer::No, Answer::Cancel};
    const std::vector<Answer>& allowed = buttons == Buttons::OK         ? ok
                                         : buttons == Buttons::OKCancel ? okCancel
                                         : buttons == Buttons::YesNo    ? yesNo
                                                                        : yesNoCancel;
    if (asked_ > 40) return allowed[0];
    return allowed[rng_() % allowed.size()];
  }

  std::optional<Str> InputBox(const Str&, const Str& caption, const Str& defaultText) override {
    Asked(caption);
    switch (rng_() % 4) {
      case 0:
        return std::nullopt;
      case 1:
        return defaultText;
      default:
        return typist_.Text();
    }
  }

  // File dialogs are cancelled, or name one SGF file in the data folder
  // that saves write and opens read back (or find missing); every game goes
  // out to a folder there.
  std::vector<std::string> ChooseFiles(FileDialog kind, const Str& title, const Str&, const std::string&) override {
    Asked(title);
    if (rng_() % 3 == 0) return {};
    if (kind == FileDialog::Folder) return {dataDir};
    return {dataDir + "monkey.sgf"};
  }
  std::string dataDir;

  void PlayWave(const Str&) override {}
  void HelpContents(const Str&) override {}
  void ContextHelp(Window&) override {}
  Str PrintWindow(Window&, const Str&) override { return u""; }
  double Random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }

 private:
  void Asked(const Str& title) {
    ++boxesShown;
    if (++asked_ > 5000) throw std::runtime_error("one command keeps asking: " + ToUtf8(title));
  }
  std::mt19937_64& rng_;
  Typist typist_;
  int asked_ = 0;
};

// Aborts the process, naming the seed and the event, when one event runs
// past the hang limit: a command that never returns cannot be caught.
class Watchdog {
 public:
  Watchdog() : thread_([this] { Watch(); }) {}
  ~Watchdog() {
    done_ = true;
    thread_.join();
  }
  void Enter(uint64_t seed, long event) {
    seed_ = seed;
    event_ = event;
    since_ = Clock::now().time_since_epoch().count();
    busy_ = true;
  }
  void Leave() { busy_ = false; }

 private:
  void Watch() {
    while (!done_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (!busy_) continue;
      const auto started = Clock::time_point(Clock::duration(since_.load()));
      if (Clock::now() - started > HangLimit) {
        std::fprintf(stderr, "monkey: event %ld of seed %llu has not returned after %lld s\n", event_.load(),
                     static_cast<unsigned long long>(seed_.load()),
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(HangLimit).count()));
        std::abort();
      }
    }
  }
  std::atomic<bool> done_{false}, busy_{false};
  std::atomic<uint64_t> seed_{0};
  std::atomic<long> event_{0};
  std::atomic<Clock::rep> since_{0};
  std::thread thread_;
};

struct RunResult {
  long events = 0;
  std::map<std::string, long> perForm;
  long restarts = 0;
  long boxes = 0;
  std::vector<std::string> failures;
};

class Monkey {
 public:
  Monkey(uint64_t seed, std::string dir)
      : seed_(seed), rng_(seed), typist_(rng_), platform_(rng_), dir_(std::move(dir)) {
    platform_.dataDir = dir_;
  }

  RunResult Run(long events) {
    RunResult result;
    Watchdog watchdog;
    const auto start = Clock::now();
    StartProgram();
    for (long e = 0; e < events && result.failures.empty(); ++e) {
      if (Clock::now() - start > RunBudget) break;
      watchdog.Enter(seed_, e);
      try {
        if (platform_.ended || AcceptingForms().empty()) {
          if (!platform_.ended) Fail("no window takes input");
          StartProgram();
          ++result.restarts;
        }
        Event();
      } catch (const std::exception& x) {
        Fail(std::string("the command threw: ") + x.what());
      }
      watchdog.Leave();
      result.events = e + 1;
      for (std::string& f : failures_) result.failures.push_back("event " + std::to_string(e) + ": " + f);
      failures_.clear();
    }
    result.boxes = platform_.boxesShown;
    result.perForm = perForm_;
    if (!result.failures.empty()) {
      std::string last = "the events before it:\n";
      for (const std::string& h : history_) last += "  " + h + "\n";
      result.failures.push_back(last);
    }
    program_.reset();
    return result;
  }

 private:
  void StartProgram() {
    program_.reset();
    platform_.ended = false;
    program_ = std::make_unique<Program>(platform_, dir_);
    platform_.Begin();
    program_->Start();
  }

  void Fail(const std::string& what) { failures_.push_back(what); }
  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  void Note(std::string what) {
    history_.push_back(std::move(what));
    if (history_.size() > 25) history_.pop_front();
  }

  std::vector<Form*> AcceptingForms() {
    std::vector<Form*> out;
    for (Form* f : program_->Forms())
      if (program_->Accepts(*f)) out.push_back(f);
    return out;
  }

  // The frame an option button sits in, which hides it with itself.
  static Control* FrameOf(Form& f, const Control& c) {
    const std::string& n = c.Name();
    if (f.FormName() == "Form2" && (n == "Option1" || n == "Option2" || n == "Option3" || n == "Option4"))
      return f.FindControl("Frame1");
    if (f.FormName() == "Form4" && (n == "Option1" || n == "Option3")) return f.FindControl("Frame1");
    if (f.FormName() == "Form4" && (n == "Option4" || n == "Option5" || n == "Option6")) return f.FindControl("Frame2");
    return nullptr;
  }

  static bool CanUse(Form& f, const Control& c) {
    if (!c.Visible() || !c.Enabled()) return false;
    const Control* frame = FrameOf(f, c);
    return !frame || frame->Visible();
  }

  static void Leaves(Menu& m, std::vector<Menu*>& out) {
    if (!m.Visible() || !m.Enabled()) return;
    if (m.Items().empty()) {
      if (m.OnClick) out.push_back(&m);
      return;
    }
    for (const auto& item : m.Items()) Leaves(*item, out);
  }

  void Event() {
    std::vector<Form*> forms = AcceptingForms();
    Form& f = *forms[static_cast<size_t>(Pick(static_cast<int>(forms.size())))];
    const std::string form = f.FormName();
    ++perForm_[form];
    platform_.Begin();
    bool replay = false;

    std::vector<Control*> buttons, lists, texts;
    for (Control* c : f.Controls()) {
      if (!CanUse(f, *c)) continue;
      if (dynamic_cast<CommandButton*>(c) || dynamic_cast<OptionButton*>(c)) buttons.push_back(c);
      if (auto* l = dynamic_cast<ListBox*>(c); l && l->ListCount() > 0) lists.push_back(c);
      if (auto* t = dynamic_cast<TextBox*>(c); t && !t->Locked()) texts.push_back(c);
    }
    std::vector<Menu*> menus;
    for (const auto& item : f.MenuBar.Items()) Leaves(*item, menus);
    auto* slider = dynamic_cast<Slider*>(f.FindControl("Slider1"));
    if (slider && !CanUse(f, *slider)) slider = nullptr;

    // The problem window has many entries besides the one that leaves it;
    // without a nudge most of a run would stay there.
    if (form == "Form4" && Pick(50) == 0) {
      if (Menu* back = f.FindMenu("メニューメイン碁盤へ")) {
        Note(form + " menu " + back->Name());
        back->Click();
        return;
      }
    }
    const int kind = Pick(100);
    if (kind < 38 && f.Board()) {
      BoardCells& b = *f.Board();
      const int p = 1 + Pick(b.Count());
      static const int usual[] = {ButtonLeft, ButtonLeft, ButtonRight, ButtonMiddle};
      const int button = Pick(10) == 0 ? Pick(8) : usual[Pick(4)];
      const int k = Pick(20);
      const int shift = k < 12 ? 0 : k < 17 ? ShiftKey : Pick(8);
      Note(form + " click " + std::to_string(p) + " button " + std::to_string(button) + " shift " +
           std::to_string(shift));
      b.MouseDown(p, button, shift);
    } else if (kind < 64 && !buttons.empty()) {
      Control* c = buttons[static_cast<size_t>(Pick(static_cast<int>(buttons.size())))];
      Note(form + " press " + c->Name());
      if (auto* b = dynamic_cast<CommandButton*>(c)) {
        // 途中復元 replays only a saved study; 読込み only when it read a
        // game, and then it closes the library.
        const std::string& n = c->Name();
        replay = form == "Form2" && (n == "Command2" || n == "Command6" || n == "Command9" ||
                                     (n == "Command8" && program_->State.VariationStudy != 0));
        b->Click();
        if (form == "Form3" && n == "Command2") replay = f.State() == WindowState::Unloaded;
      } else {
        static_cast<OptionButton*>(c)->Click();
      }
    } else if (kind < 74 && !menus.empty()) {
      Menu* m = menus[static_cast<size_t>(Pick(static_cast<int>(menus.size())))];
      Note(form + " menu " + m->Name());
      // An SGF file replays only when it was opened, which the status says.
      const bool opens = m->Name() == "メニューSGFを開く…" || m->Name().starts_with("メニュー最近のファイル");
      if (opens) program_->MainBoard.StatusBar1.SetText(u"");
      m->Click();
      replay = m->Name() == "メニュー復元" || (opens && program_->MainBoard.StatusBar1.Text().ends_with(u"手）"));
    } else if (kind < 86 && !lists.empty()) {
      auto* l = static_cast<ListBox*>(lists[static_cast<size_t>(Pick(static_cast<int>(lists.size())))]);
      const int i = Pick(l->ListCount() + 1) - 1;
      Note(form + " select " + l->Name() + " " + std::to_string(i));
      l->SetListIndex(i);
    } else if (kind < 95 && !texts.empty()) {
      auto* t = static_cast<TextBox*>(texts[static_cast<size_t>(Pick(static_cast<int>(texts.size())))]);
      const Str text = typist_.Text();
      Note(form + " type " + t->Name() + " \"" + ToUtf8(text) + "\"");
      t->SetText(text);
    } else if (slider) {
      const int v = Pick(3) == 0 ? 1 + Pick(MaxMoves) : program_->State.MoveCount + Pick(9) - 4;
      Note(form + " slide " + std::to_string(v));
      slider->SetValue(v);
      if (slider->OnMouseUp) slider->OnMouseUp();
      replay = true;
    } else {
      Note(form + " nothing");
    }

    if (platform_.ended) return;
    CheckState();
    if (form == "Form2" || replay) CheckMainBoard(replay);
  }

  void CheckState() {
    const GameState& s = program_->State;
    for (int p = 1; p <= PointCount; ++p)
      if (s.Board[p] < -White || s.Board[p] > White)
        return Fail("Board(" + std::to_string(p) + ") = " + std::to_string(s.Board[p]));
    if (s.MoveCount < 0 || s.MoveCount > MaxMoves) return Fail("MoveCount = " + std::to_string(s.MoveCount));
    for (int i = 1; i <= MaxMoves && s.MoveList[i].Colour != 0; ++i) {
      const MoveEntry& e = s.MoveList[i];
      if ((e.Colour != Black && e.Colour != White) || e.Point < 1 || e.Point > PointCount)
        return Fail("MoveList(" + std::to_string(i) + ") holds colour " + std::to_string(e.Colour) + " at " +
                    std::to_string(e.Point));
    }
  }

  // At most one move number is shown (outside the print layout, which shows
  // them all), and a replay leaves the board and the prisoners of a replay
  // from nothing.
  void CheckMainBoard(bool replayed) {
    Form2& board = program_->MainBoard;
    const GameState& s = program_->State;
    if (board.State() != WindowState::Shown) return;
    if (!board.Command5.Visible()) {
      int numbered = 0;
      for (int p = 1; p <= PointCount; ++p)
        if (board.Cells.CaptionAt(p) != u" ") ++numbered;
      if (numbered > 1) Fail(std::to_string(numbered) + " move numbers are shown on the main board");
    }
    if (!replayed) return;
    GameState fresh = s;
    ReplayMoves(fresh, s.MoveCount);
    if (fresh.CapturedBlack != s.CapturedBlack || fresh.CapturedWhite != s.CapturedWhite)
      Fail("prisoners " + std::to_string(s.CapturedBlack) + "/" + std::to_string(s.CapturedWhite) +
           " after a replay, " + std::to_string(fresh.CapturedBlack) + "/" + std::to_string(fresh.CapturedWhite) +
           " replayed afresh");
    for (int p = 1; p <= PointCount; ++p)
      if (fresh.Board[p] != s.Board[p]) {
        Fail("Board(" + std::to_string(p) + ") = " + std::to_string(s.Board[p]) + " after a replay, " +
             std::to_string(fresh.Board[p]) + " replayed afresh");
        break;
      }
  }

  uint64_t seed_;
  std::mt19937_64 rng_;
  Typist typist_;
  MonkeyPlatform platform_;
  std::string dir_;
  std::unique_ptr<Program> program_;
  std::vector<std::string> failures_;
  std::deque<std::string> history_;
  std::map<std::string, long> perForm_;
};

// Writes `records` into a data file from record `at` on.
void Patch(const std::string& path, int length, int at, const std::vector<std::string>& records) {
  std::string bytes = sample::ReadFile(path);
  size_t offset = static_cast<size_t>(at - 1) * static_cast<size_t>(length);
  for (const std::string& r : records) {
    if (bytes.size() < offset + r.size()) bytes.resize(offset + r.size(), '\0');
    bytes.replace(offset, r.size(), r);
    offset += r.size();
  }
  sample::WriteFile(path, bytes);
}

// An engine that answers at once: GNU Go may think for longer than the hang
// limit about a random position. Its moves come round from a short list, so
// some land on stones and are refused; a command it does not know, or a
// command line the player typed that starts nothing, is given up after the
// timeout.
void WriteMonkeyEngine(const std::string& dir) {
  const std::string script = dir + "monkey_engine.sh";
  sample::WriteFile(script,
                    "set -- D4 Q16 pass C3 K10 resign D4 T19 A1\n"
                    "while read -r id cmd rest; do\n"
                    "  case $cmd in\n"
                    "    list_commands) printf '=%s boardsize\\nclear_board\\nkomi\\nplay\\ngenmove\\nundo\\n"
                    "fixed_handicap\\nset_free_handicap\\nlevel\\nfinal_status_list\\nfinal_score\\nquit\\n\\n' $id;;\n"
                    "    genmove) printf '=%s %s\\n\\n' $id $1; set -- \"$@\" $1; shift;;\n"
                    "    fixed_handicap) printf '=%s D4 Q16 D16 Q4\\n\\n' $id;;\n"
                    "    final_status_list) printf '=%s D4 Q16\\n\\n' $id;;\n"
                    "    final_score) printf '=%s B+3.5\\n\\n' $id;;\n"
                    "    quit) printf '=%s\\n\\n' $id; exit;;\n"
                    "    *) printf '=%s\\n\\n' $id;;\n"
                    "  esac\n"
                    "done\n");
  Settings settings;
  settings.Load(dir + SettingsFileName);
  settings.Set("engine", "sh " + script);
  settings.Set("engine.timeout", "2");
  settings.Save();
}

// The sample with damage in game 3 and in the 詰碁 category: moves that are
// no stone, set-up stones off the board, answer links that loop or name
// nothing, a comment on no sequence. The other games and categories stay
// sound, so the player meets both.
void WriteMonkeyData(const std::string& dir) {
  sample::WriteAll(dir);
  std::string moves;
  for (GameMoveRecord r : std::vector<GameMoveRecord>{{3, 9, 7, 5}, {3, 10, Black, 0}, {3, 11, -9, 9999}})
    moves += r.Encode();
  sample::WriteFile(dir + GameMovesFileName, sample::GameMovesFile() + moves);
  const int category = 3;
  const int setupEnd = BlockFirst(ProblemFile::Moves, category) + 7;
  Patch(dir + ProblemMovesFileName, ProblemMoveRecord::Length, setupEnd,
        {ProblemMoveRecord{1001, 7, 50}.Encode(), ProblemMoveRecord{1001, Black, 0}.Encode(),
         ProblemMoveRecord{1001, White, 248}.Encode()});
  const int b = BlockFirst(ProblemFile::Answers, category);
  auto n = [](int v) { return static_cast<int16_t>(v); };
  Patch(dir + AnswerMovesFileName, AnswerMoveRecord::Length, b + 9,
        {AnswerMoveRecord{1001, 6, 7, 63, n(b + 9), n(b + 10)}.Encode(),
         AnswerMoveRecord{1001, 7, White, 9999, n(b + 10), n(b + 9)}.Encode(),
         AnswerMoveRecord{1001, 2, -9, 0, n(b + 11), n(b + 11)}.Encode()});
  Patch(dir + CommentFileName, CommentRecord::Length, BlockFirst(ProblemFile::Comments, category) + 4,
        {CommentRecord{1001, n(b + 40), u"どこにも付かない"}.Encode()});
  WriteMonkeyEngine(dir);
}

void RunMonkey(uint64_t seed, const char* name) {
  const std::string dir = sample::MakeDataDir("monkey");
  ASSERT_FALSE(dir.empty());
  WriteMonkeyData(dir);
  const auto start = Clock::now();
  RunResult r = Monkey(seed, dir).Run(EventsPerRun());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  sample::RemoveDataDir(dir);
  std::string split;
  for (const auto& [form, n] : r.perForm) split += " " + form + " " + std::to_string(n);
  std::printf("monkey events: %ld (%s, seed %llu;%s; %ld restarts, %ld boxes answered, %lld ms)\n", r.events, name,
              static_cast<unsigned long long>(seed), split.c_str(), r.restarts, r.boxes, static_cast<long long>(ms));
  for (const std::string& f : r.failures)
    ADD_FAILURE() << "seed " << seed << " (replay with SOLNEKA_MONKEY_SEED=" << seed << "): " << f;
  EXPECT_GT(r.events, 0);
}

TEST(Monkey, FixedSeed) { RunMonkey(20240601, "fixed seed"); }

TEST(Monkey, FreshSeed) {
  uint64_t seed = std::random_device{}();
  seed = seed << 32 | std::random_device{}();
  if (const char* v = std::getenv("SOLNEKA_MONKEY_SEED"); v && *v) seed = std::strtoull(v, nullptr, 10);
  std::printf("monkey seed: %llu (replay with SOLNEKA_MONKEY_SEED=%llu)\n", static_cast<unsigned long long>(seed),
              static_cast<unsigned long long>(seed));
  RunMonkey(seed, "fresh seed");
}

}  // namespace
}  // namespace sol
