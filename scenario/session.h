// One scenario file being played: its data directory, the program started
// for it, and the counts of what has passed and failed.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/instance_lock.h"
#include "app/program.h"
#include "scenario/parse.h"
#include "scenario/runner.h"
#include "scenario/script_platform.h"

namespace sol {

class Session {
 public:
  // `dataDir` empty = a fresh temporary directory, removed afterwards.
  Session(std::string name, std::string dataDir, std::ostream& out, ScenarioTotals& totals);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void Run(const std::string& text);

  void Fail(const std::string& what);
  void Pass() { ++totals_.passed; }
  void Check(bool ok, const std::string& expected, const std::string& found);
  void NoteUnknownCommand() { totals_.unknownCommand = true; }

  // Starts the program the first time a line needs it.
  void EnsureStarted();
  // Fails once for every problem the platform met since the last call.
  void ReportPlatformErrors();

  // Where failures and dumps are written.
  std::ostream& Out() { return out_; }
  // The world outside the program: its boxes, cues, date, ...
  ScriptPlatform& Outside() { return platform_; }
  Program& App() { return *program_; }
  bool Started() const { return program_ != nullptr; }
  std::string DataPath(const std::string& file) const;
  // A path of a scenario line made absolute: relative ones lie in the data
  // directory.
  std::string ResolvePath(const std::string& path) const;
  // Puts a path on the command line the program starts with.
  void AddArgument(const std::string& path);

  Form& GetForm(const std::string& name);
  // A window that can take the player's events now.
  Form& ActiveForm(const std::string& name);
  Control& GetControl(Form& f, const std::string& name);
  BoardCells& GetBoard(Form& f);
  // A control of type T, or a failure saying it is not `what` ("a list").
  template <class T>
  T& GetControlAs(Form& f, const std::string& name, const char* what) {
    auto* c = dynamic_cast<T*>(&GetControl(f, name));
    if (!c) throw Failure(name + " is not " + what);
    return *c;
  }

  // How many of each kind of record the expectations have taken.
  struct Taken {
    size_t boxes = 0, lastBox = SIZE_MAX, inputs = 0, dialogs = 0, cues = 0, prints = 0, helps = 0;
    int beeps = 0;
  } taken;

 private:
  void TakeLock();

  std::string name_;
  std::ostream& out_;
  ScenarioTotals& totals_;
  std::string dir_;
  bool ownDir_ = false;
  int line_ = 0;
  ScriptPlatform platform_;
  std::unique_ptr<InstanceLock> lock_;
  std::unique_ptr<Program> program_;
  std::vector<std::string> arguments_;
};

}  // namespace sol
