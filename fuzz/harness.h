// What the fuzz targets share: a platform whose boxes are answered by the
// target, a session that drives the windows through their controls, and the
// checks that hold after every command whatever the files held.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/replay.h"
#include "core/text.h"
#include "fuzz/sample_data.h"
#include "scenario/script_platform.h"

namespace sol::fuzz {

// Stops the run; libFuzzer keeps the input that led here.
[[noreturn]] inline void Fail(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::fputs("fuzz check failed: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputs("\n", stderr);
  va_end(args);
  std::abort();
}

// Boxes are answered by `choose` (an index into the buttons the box has);
// without it the first button (OK, Yes) is taken. A command that goes on
// opening boxes is taken for one that never ends.
class FuzzPlatform : public ScriptPlatform {
 public:
  std::function<int(int choices)> choose;
  std::function<std::optional<Str>()> input;

  void Begin() { opened_ = 0; }

  Answer MsgBox(const Str&, Buttons buttons, Icon, const Str& title) override {
    Opened("message box", title);
    static const std::vector<Answer> ok{Answer::OK}, okCancel{Answer::OK, Answer::Cancel},
        yesNo{Answer::Yes, Answer::No}, yesNoCancel{Answer::Yes, Answer::No, Answer::Cancel};
    const std::vector<Answer>& allowed = buttons == Buttons::OK         ? ok
                                         : buttons == Buttons::OKCancel ? okCancel
                                         : buttons == Buttons::YesNo    ? yesNo
                                                                        : yesNoCancel;
    // A box that only one answer leaves gets that answer in the end.
    int pick = choose && opened_ <= 50 ? choose(static_cast<int>(allowed.size())) : 0;
    if (pick < 0 || pick >= static_cast<int>(allowed.size())) pick = 0;
    return allowed[static_cast<size_t>(pick)];
  }

  std::optional<Str> InputBox(const Str&, const Str& caption, const Str&) override {
    Opened("input box", caption);
    return input && opened_ <= 50 ? input() : std::nullopt;
  }

  void PlayWave(const Str&) override { ++waves; }
  void HelpContents(const Str&) override {}
  void ContextHelp(Window&) override {}
  Str PrintWindow(Window&, const Str&) override { return u""; }

  int waves = 0;

 private:
  void Opened(const char* what, const Str& title) {
    if (++opened_ > 1000) Fail("one command keeps opening a %s \"%s\"", what, ToUtf8(title).c_str());
  }
  int opened_ = 0;
};

// What every command leaves true: the board holds colours only (the problem
// window marks a wrong first move with a negative one), and the move list
// holds stones only, however damaged the files were.
inline void CheckBoard(const BoardPoints& board, const char* which) {
  for (int p = 1; p <= PointCount; ++p)
    if (board[p] < -White || board[p] > White) Fail("%s(%d) = %d", which, p, board[p]);
}

inline void CheckState(const GameState& s) {
  CheckBoard(s.Board, "Board");
  if (s.MoveCount < 0 || s.MoveCount > MaxMoves) Fail("MoveCount = %d", s.MoveCount);
  for (int i = 1; i <= MaxMoves && s.MoveList[i].Colour != 0; ++i) {
    const MoveEntry& e = s.MoveList[i];
    if ((e.Colour != Black && e.Colour != White) || e.Point < 1 || e.Point > PointCount)
      Fail("MoveList(%d) = {%d, %d, %d}", i, e.Number, e.Colour, e.Point);
  }
  if (s.CaptureLogCount < 0 || s.CaptureLogCount > CaptureLogSize) Fail("CaptureLogCount = %d", s.CaptureLogCount);
}

// After a replay the board and the prisoners are those of a replay from
// nothing of the same moves.
inline void CheckReplayed(const GameState& s) {
  GameState fresh = s;
  ReplayMoves(fresh, s.MoveCount);
  if (fresh.CapturedBlack != s.CapturedBlack || fresh.CapturedWhite != s.CapturedWhite)
    Fail("prisoners %d/%d after a replay, %d/%d replayed afresh", s.CapturedBlack, s.CapturedWhite, fresh.CapturedBlack,
         fresh.CapturedWhite);
  for (int p = 1; p <= PointCount; ++p)
    if (fresh.Board[p] != s.Board[p])
      Fail("Board(%d) = %d after a replay, %d replayed afresh", p, s.Board[p], fresh.Board[p]);
}

// The program on one data directory, driven through its controls.
class Session {
 public:
  explicit Session(std::string dir) : dir_(std::move(dir)) {}

  FuzzPlatform platform;
  std::unique_ptr<Program> program;

  const std::string& Dir() const { return dir_; }
  std::string PathOf(const char* name) const { return dir_ + name; }
  GameState& State() { return program->State; }
  Form2& Board() { return program->MainBoard; }
  Form3& Library() { return program->Library; }
  Form4& Problems() { return program->Problems; }

  void Start() {
    program = std::make_unique<Program>(platform, dir_);
    platform.Begin();
    program->Start();
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
  }

  bool Shown(Form& f) { return f.State() == WindowState::Shown && program->Accepts(f); }

  // Each returns false when the window does not take input or has no such entry.
  bool Menu(Form& f, const char* name) {
    sol::Menu* m = f.FindMenu(name);
    if (!m || !Shown(f)) return false;
    platform.Begin();
    m->Click();
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Press(Form& f, CommandButton& b) {
    if (!Shown(f)) return false;
    platform.Begin();
    b.Click();
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Choose(Form& f, OptionButton& o) {
    if (!Shown(f)) return false;
    platform.Begin();
    o.Click();
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Select(Form& f, ListBox& l, int i) {
    if (!Shown(f) || i < -1 || i >= l.ListCount()) return false;
    platform.Begin();
    l.SetListIndex(i);
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Type(Form& f, TextBox& t, const Str& text) {
    if (!Shown(f)) return false;
    platform.Begin();
    t.SetText(text);
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Click(Form& f, int point, int button, int shift) {
    if (!Shown(f) || !f.Board()) return false;
    platform.Begin();
    f.Board()->MouseDown(point, button, shift);
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }
  bool Slide(int value) {
    Form2& b = Board();
    if (!Shown(b)) return false;
    platform.Begin();
    b.Slider1.SetValue(value);
    if (b.Slider1.OnMouseUp) b.Slider1.OnMouseUp();
    CheckState(State());
    CheckBoard(Problems().Position.Board, "Position.Board");
    return true;
  }

  // Opens the problem window in a mode from whichever window takes input.
  bool OpenProblems(int lessonMode) {
    static const char* names[] = {"",
                                  "メニュー手筋講座",
                                  "メニュー手筋登録",
                                  "メニューヨセ講座",
                                  "メニューヨセ登録",
                                  "メニュー詰碁講座",
                                  "メニュー詰碁登録",
                                  "メニュー定石講座",
                                  "メニュー定石登録"};
    if (lessonMode < 1 || lessonMode > 8) return false;
    if (Shown(Problems())) return Menu(Problems(), names[lessonMode]);
    return Menu(Board(), names[lessonMode]);
  }

  bool OpenLibrary() { return Shown(Library()) || Menu(Board(), "メニュー棋譜"); }

 private:
  std::string dir_;
};

// The data directory of this process, made once, reused by every input and
// removed when the process ends.
inline const std::string& ProcessDataDir() {
  struct Dir {
    Dir() : path(sample::MakeDataDir("fuzz")) {
      if (path.empty()) Fail("cannot make a data directory");
    }
    ~Dir() { sample::RemoveDataDir(path); }
    std::string path;
  };
  static const Dir dir;
  return dir.path;
}

// Every data file as the sample has it, the scratch file removed.
inline void WriteSample(const std::string& dir) { sample::WriteAll(dir); }

inline std::string ProblemFilePathIn(const std::string& dir, ProblemFile f) {
  switch (f) {
    case ProblemFile::List:
      return dir + ProblemListFileName;
    case ProblemFile::Moves:
      return dir + ProblemMovesFileName;
    case ProblemFile::Answers:
      return dir + AnswerMovesFileName;
    case ProblemFile::Comments:
      return dir + CommentFileName;
  }
  return dir;
}

// Answer and comment lines visited per problem and input.
constexpr int MaxLines = 24;

// The reads of the game record files: the main board's load, the library's
// list, the read of each game with the replays after it, the capacity
// report and the restore of the adjourned game.
inline void LoadGames(Session& s) {
  Form2& board = s.Board();
  Form3& library = s.Library();
  if (s.OpenLibrary()) {
    s.Menu(library, "メニュー残情報");
    const int games = library.List1.ListCount();
    for (int i = 0; i < games; ++i) {
      if (!s.OpenLibrary() || i >= library.List1.ListCount()) break;
      s.Select(library, library.List1, i);
      s.Press(library, library.Command2);
      if (!s.Shown(board)) continue;
      CheckReplayed(s.State());
      s.Press(board, board.Command6);
      CheckReplayed(s.State());
      s.Slide(3);
      CheckReplayed(s.State());
      s.Press(board, board.Command2);
      CheckReplayed(s.State());
      for (int k = 0; k < 3; ++k) s.Press(board, board.Command4);
      for (int k = 0; k < 2; ++k) s.Press(board, board.Command1);
    }
    s.Menu(library, "メニューメイン碁盤へ");
  }
  if (s.Menu(board, "メニュー復元")) CheckReplayed(s.State());
}

// The problem window in the lecture and the registration mode of a
// category: its list and sub-category names and, with `everyProblem`, every
// listed problem with its answer lines and comments (the first of them: the
// rest only repeat the same work), the data check and the lecture's stepping.
inline void LoadProblems(Session& s, int category, bool everyProblem) {
  Form4& problems = s.Problems();
  for (int mode = 2 * category - 1; mode <= 2 * category; ++mode) {
    if (!s.OpenProblems(mode) || !everyProblem) continue;
    const bool lecture = mode % 2 == 1;
    const int count = problems.List1.ListCount();
    for (int i = 0; i < count; ++i) {
      if (!s.Select(problems, problems.List1, i)) break;
      if (lecture) {
        for (int k = 0; k < 4; ++k) s.Press(problems, problems.Command1);
        s.Press(problems, problems.Command3);
        s.Press(problems, problems.Command15);
        s.Press(problems, problems.Command2);
        continue;
      }
      const int lines = std::min(problems.List2.ListCount(), MaxLines);
      for (int j = 0; j < lines; ++j) s.Select(problems, problems.List2, j);
      const int comments = std::min(problems.List3.ListCount(), MaxLines);
      for (int j = 0; j < comments; ++j) s.Select(problems, problems.List3, j);
      s.Press(problems, problems.Command13);
    }
  }
  s.Menu(problems, "メニューメイン碁盤へ");
}

// The target of one game record file: the input is the file's bytes, the
// other files are the sample's. The list file also holds the problem
// categories' sub-category names.
inline int LoadGameFile(const char* name, const std::string& bytes) {
  const std::string& dir = ProcessDataDir();
  WriteSample(dir);
  sample::WriteFile(dir + name, bytes);
  Session s(dir);
  s.Start();
  LoadGames(s);
  if (std::string(name) == GameListFileName)
    for (int c = 1; c <= 4; ++c) LoadProblems(s, c, false);
  return 0;
}

// The target of one problem file: the first byte of the input picks a
// category, the rest is the file from the start of that category's block;
// the blocks before it and the other files are the sample's.
inline int LoadProblemFile(ProblemFile f, const std::string& sampleFile, const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int category = data[0] % 4 + 1;
  const size_t start = static_cast<size_t>(BlockFirst(f, category) - 1) * static_cast<size_t>(RecordLength(f));
  std::string bytes = sampleFile.substr(0, std::min(start, sampleFile.size()));
  bytes.resize(start, '\0');
  bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string& dir = ProcessDataDir();
  WriteSample(dir);
  sample::WriteFile(ProblemFilePathIn(dir, f), bytes);
  Session s(dir);
  s.Start();
  if (s.OpenLibrary()) {
    s.Menu(s.Library(), "メニュー残情報");
    s.Menu(s.Library(), "メニューメイン碁盤へ");
  }
  LoadProblems(s, category, true);
  return 0;
}

inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace sol::fuzz
