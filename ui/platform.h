// Everything the windows need from the world outside: boxes, file dialogs,
// sound, help, printing, the date, random numbers, window management and
// quitting.
// The Qt front end implements it for people, the scenario platform for tests.
#pragma once

#include <optional>
#include <string>
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
  // 0 <= r < 1
  virtual double Random() = 0;

  // Window management: the program tells the platform what it shows.
  virtual void ShowWindow(Window& window, bool modal) = 0;
  virtual void HideWindow(Window& window) = 0;
  virtual void UnloadWindow(Window& window) = 0;
  // Ends the program at once.
  virtual void Quit() = 0;
};

}  // namespace sol
