// The platform of the scenario runner and of the tests: boxes are answered
// from a queue, and everything the program shows the world is recorded.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/platform.h"

namespace sol {

// "OK", "OKCancel", "YesNo" or "YesNoCancel", as scenarios name them.
const char* ButtonsName(Buttons b);

struct BoxRecord {
  Str title, text;
  Buttons buttons = Buttons::OK;
  Icon icon = Icon::None;
  // Stone pictures of every shown board when the box opened, by form name.
  std::map<std::string, std::vector<int16_t>> boards;
};

struct InputRecord {
  Str caption, prompt, defaultText;
};

// "open" (for Open and OpenMany), "save" or "folder", as scenarios name them.
const char* DialogKindName(FileDialog kind);

struct DialogRecord {
  FileDialog kind = FileDialog::Open;
  Str title;
};

class ScriptPlatform : public Platform {
 public:
  Answer MsgBox(const Str& text, Buttons buttons, Icon icon, const Str& title) override;
  std::optional<Str> InputBox(const Str& prompt, const Str& caption, const Str& defaultText) override;
  std::vector<std::string> ChooseFiles(FileDialog kind, const Str& title, const Str& filter,
                                       const std::string& suggested) override;
  void PlayWave(const Str& path) override;
  void Beep() override { ++beeps; }
  void HelpContents(const Str& helpFile) override;
  void ContextHelp(Window& window) override;
  Str PrintWindow(Window& window, const Str& title) override;
  Date Today() override { return today; }
  // The scenario's date at noon: records made in one run keep their order
  // by when they were made.
  std::string Now() override {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d 12:00:00", today.year, today.month, today.day);
    return text;
  }
  double Random() override;
  void ShowWindow(Window&, bool) override {}
  void HideWindow(Window&) override {}
  void UnloadWindow(Window&) override {}
  void Quit() override { ended = true; }
  // A real child program: an engine, or a script standing in for one.
  ProcessStart StartProcess(const std::vector<std::string>& argv, const std::string& folder) override;

  // Queued answers of the next user action.
  std::deque<Answer> answers;
  std::deque<std::optional<Str>> inputs;
  // Absolute paths; an empty entry cancels the dialog.
  std::deque<std::vector<std::string>> choices;
  Date today;
  std::vector<double> randoms{0.0};
  size_t randomNext = 0;

  // What happened, oldest first; `taken` counts the records already checked.
  std::vector<BoxRecord> boxes;
  std::vector<InputRecord> inputBoxes;
  std::vector<DialogRecord> dialogs;
  std::vector<std::string> cues;  // "chord", "ding" or the path played
  int beeps = 0;
  std::vector<std::string> prints;
  std::vector<std::string> helps;  // "contents" or "context Form2"
  bool ended = false;

  // Called before each user action. An action that keeps opening boxes
  // nobody answers (a loop that only OK leaves) is stopped with an exception.
  void BeginAction() { unanswered_ = 0; }

  // Problems found while the program ran (a box nobody answered, ...).
  std::vector<std::string> errors;
  // Called when a box opens, to keep the boards the player saw.
  std::function<void(BoxRecord&)> snapshotBoards;

 private:
  void Unanswered(std::string what);
  int unanswered_ = 0;
};

}  // namespace sol
