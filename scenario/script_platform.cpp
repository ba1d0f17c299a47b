#include "scenario/script_platform.h"

#include <stdexcept>

#include "core/cues.h"
#include "core/posix_process.h"
#include "core/text.h"

namespace sol {

const char* ButtonsName(Buttons b) {
  switch (b) {
    case Buttons::OK:
      return "OK";
    case Buttons::OKCancel:
      return "OKCancel";
    case Buttons::YesNo:
      return "YesNo";
    case Buttons::YesNoCancel:
      return "YesNoCancel";
  }
  return "?";
}

const char* DialogKindName(FileDialog kind) {
  switch (kind) {
    case FileDialog::Open:
    case FileDialog::OpenMany:
      return "open";
    case FileDialog::Save:
      return "save";
    case FileDialog::Folder:
      return "folder";
  }
  return "?";
}

namespace {

bool Allows(Buttons b, Answer a) {
  switch (b) {
    case Buttons::OK:
      return a == Answer::OK;
    case Buttons::OKCancel:
      return a == Answer::OK || a == Answer::Cancel;
    case Buttons::YesNo:
      return a == Answer::Yes || a == Answer::No;
    case Buttons::YesNoCancel:
      return a == Answer::Yes || a == Answer::No || a == Answer::Cancel;
  }
  return false;
}
}  // namespace

Answer ScriptPlatform::MsgBox(const Str& text, Buttons buttons, Icon icon, const Str& title) {
  BoxRecord r{title, text, buttons, icon, {}};
  if (snapshotBoards) snapshotBoards(r);
  boxes.push_back(std::move(r));
  if (!answers.empty()) {
    Answer a = answers.front();
    answers.pop_front();
    if (Allows(buttons, a)) return a;
    Unanswered(std::string("the box \"") + ToUtf8(title) + "\" has the buttons " + ButtonsName(buttons) +
               " and cannot be answered that way");
  } else if (buttons == Buttons::OK) {
    return Answer::OK;
  } else {
    Unanswered("no answer queued for the box \"" + ToUtf8(title) + "\": " + ToUtf8(text));
  }
  switch (buttons) {
    case Buttons::OK:
      return Answer::OK;
    case Buttons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

void ScriptPlatform::Unanswered(std::string what) {
  errors.push_back(std::move(what));
  if (++unanswered_ > 20) throw std::runtime_error("the action keeps asking without answers; stopped");
}

std::optional<Str> ScriptPlatform::InputBox(const Str& prompt, const Str& caption, const Str& defaultText) {
  inputBoxes.push_back({caption, prompt, defaultText});
  if (inputs.empty()) {
    Unanswered("no input queued for the input box \"" + ToUtf8(caption) + "\"");
    return std::nullopt;
  }
  auto v = inputs.front();
  inputs.pop_front();
  return v;
}

ProcessStart ScriptPlatform::StartProcess(const std::vector<std::string>& argv, const std::string& folder) {
  return StartPosixProcess(argv, folder);
}

std::vector<std::string> ScriptPlatform::ChooseFiles(FileDialog kind, const Str& title, const Str&,
                                                     const std::string&) {
  dialogs.push_back({kind, title});
  const std::string what = std::string("the ") + DialogKindName(kind) + " dialog \"" + ToUtf8(title) + "\"";
  if (choices.empty()) {
    Unanswered("no choice queued for " + what);
    return {};
  }
  std::vector<std::string> paths = std::move(choices.front());
  choices.pop_front();
  // Only the dialog for several files can return more than one.
  if (kind != FileDialog::OpenMany && paths.size() > 1) {
    Unanswered(what + " takes one path, " + std::to_string(paths.size()) + " were queued");
    return {};
  }
  return paths;
}

void ScriptPlatform::PlayWave(const Str& path) {
  if (path == ConfirmCueFile)
    cues.push_back("chord");
  else if (path == EndCueFile)
    cues.push_back("ding");
  else
    cues.push_back(ToUtf8(path));
}

void ScriptPlatform::HelpContents(const Str&) { helps.push_back("contents"); }

void ScriptPlatform::ContextHelp(Window& window) { helps.push_back("context " + window.FormName()); }

Str ScriptPlatform::PrintWindow(Window& window, const Str&) {
  prints.push_back(window.FormName());
  return u"";
}

double ScriptPlatform::Random() {
  if (randoms.empty()) return 0.0;
  double r = randoms[std::min(randomNext, randoms.size() - 1)];
  if (randomNext < randoms.size()) ++randomNext;
  return r;
}

}  // namespace sol
