// Everything the windows need from the world outside: boxes, file dialogs,
// sound, help, printing, the date, random numbers, window management and
// quitting.
// The Qt front end implements it for people, the scenario platform for tests.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace sol {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question };
enum class Answer { OK, Cancel, Yes, No };
enum class FileDialog { Open, OpenMany, Save, Folder };

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
};

// A window as the platform sees it: its name ("Form2") and caption.
class Window {
 public:
  virtual ~Window() = default;
  virtual std::string FormName() const = 0;
};

enum class WindowState { Unloaded, Hidden, Shown };

// A program the platform started (an engine), spoken to through its
// standard input and output; what it writes to standard error is dropped.
// Destroying it ends the program, killing it if it does not end by itself,
// and leaves no process behind.
class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  // False when the program has ended or takes no more input.
  virtual bool Write(std::string_view bytes) = 0;
  // What the program wrote since the last call, waiting up to `ms` for the
  // first of it; "" when nothing came in that time, the program ended, or
  // Interrupt was called. The windows stay responsive while it waits, where
  // the platform has windows.
  virtual std::string Read(int ms) = 0;
  virtual bool Running() = 0;
  // Makes a Read in progress return at once (the player stopped the wait).
  virtual void Interrupt() = 0;
};

struct ProcessStart {
  std::unique_ptr<ChildProcess> process;  // null when it could not start
  Str error;                              // why, in the player's words
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual Answer MsgBox(const Str& text, Buttons buttons, Icon icon, const Str& title) = 0;
  // nullopt when the box is cancelled.
  virtual std::optional<Str> InputBox(const Str& prompt, const Str& caption, const Str& defaultText) = 0;
  // The paths the player chose, absolute: one path, or several for OpenMany;
  // empty when the dialog was cancelled. `filter` names the files offered
  // (e.g. u"SGF棋譜 (*.sgf)"; unused for Folder). `suggested` is, for Save, the
  // proposed file (a name, or a full path), else the folder to start in; empty
  // leaves it to the platform.
  virtual std::vector<std::string> ChooseFiles(FileDialog kind, const Str& title, const Str& filter,
                                               const std::string& suggested) = 0;

  // Plays a wave file by its program path; a missing file or device is silent.
  virtual void PlayWave(const Str& path) = 0;
  virtual void Beep() = 0;

  virtual void HelpContents(const Str& helpFile) = 0;
  virtual void ContextHelp(Window& window) = 0;
  // Prints an image of the window on the default printer (or wherever the
  // platform sends printed pages); returns a short text saying where it went.
  virtual Str PrintWindow(Window& window, const Str& title) = 0;

  virtual Date Today() = 0;
  // Today's date and the time of day, "YYYY-MM-DD HH:MM:SS".
  virtual std::string Now();
  // 0 <= r < 1
  virtual double Random() = 0;

  // Window management: the program tells the platform what it shows.
  virtual void ShowWindow(Window& window, bool modal) = 0;
  virtual void HideWindow(Window& window) = 0;
  virtual void UnloadWindow(Window& window) = 0;
  // Ends the program at once.
  virtual void Quit() = 0;

  // The settings of a game against the computer as a line "黒 0 6.5 1"
  // (colour, handicap, komi, strength), starting from `current`; nullopt when
  // cancelled. The desktop shows a field for each; this default asks for the
  // line in an input box.
  virtual std::optional<Str> AskEngineGame(const Str& prompt, const Str& title, const Str& current) {
    return InputBox(prompt, title, current);
  }

  // Starts `argv` (argv[0] looked up on the PATH) in `folder`.
  virtual ProcessStart StartProcess(const std::vector<std::string>& argv, const std::string& folder);
};

}  // namespace sol
