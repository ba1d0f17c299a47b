#include "scenario/runner.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/instance_lock.h"
#include "core/file_system.h"
#include "core/game_state.h"
#include "scenario/commands.h"
#include "scenario/session.h"

namespace sol {

namespace {

std::string MakeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/solneka-scenario-XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw Failure("cannot make a temporary directory");
  return buf.data();
}

void RemoveTree(const std::string& dir) {
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  if (error) std::cerr << "could not remove " << dir << "\n";
}

}  // namespace

Session::Session(std::string name, std::string dataDir, std::ostream& out, ScenarioTotals& totals)
    : name_(std::move(name)), out_(out), totals_(totals) {
  if (dataDir.empty()) {
    dir_ = MakeTempDir();
    ownDir_ = true;
  } else {
    dir_ = dataDir;
  }
  TakeLock();
}

// The runner writes the data files itself, and a program that starts on
// the folder meanwhile would undo the session's unfinished changes: the
// folder is the session's while it runs. A copy that has it now gets a few
// seconds to let go.
void Session::TakeLock() {
  for (int wait = 0;; ++wait) {
    lock_ = std::make_unique<InstanceLock>(dir_);
    if (lock_->Result() != InstanceLock::Outcome::HeldElsewhere || wait == 100) break;
    lock_.reset();
    usleep(50000);
  }
  SetReadOnly(lock_->Result() != InstanceLock::Outcome::Taken);
  if (ReadOnly()) Fail("the data folder's lock cannot be taken; nothing is written: " + lock_->Path());
}

Session::~Session() {
  // The program goes first, so that nothing it still holds is written into
  // a directory already removed.
  program_.reset();
  lock_.reset();
  SetReadOnly(false);
  if (ownDir_) RemoveTree(dir_);
}

void Session::Run(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    line_ = number;
    Words words;
    std::string error;
    if (!SplitScenarioLine(line, words, error)) {
      Fail(error);
      continue;
    }
    if (words.empty()) continue;
    try {
      RunCommand(*this, words);
    } catch (const Failure& f) {
      Fail(f.message);
    } catch (const std::exception& e) {
      ReportPlatformErrors();
      platform_.answers.clear();
      platform_.inputs.clear();
      platform_.choices.clear();
      Fail(std::string("the program failed: ") + e.what());
    }
  }
}

void Session::Fail(const std::string& what) {
  ++totals_.failed;
  out_ << name_ << ":" << line_ << ": " << what << "\n";
}

void Session::Check(bool ok, const std::string& expected, const std::string& found) {
  if (ok)
    Pass();
  else
    Fail(expected + " — " + found);
}

void Session::EnsureStarted() {
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
  program_->Start(arguments_);
  ReportPlatformErrors();
}

void Session::ReportPlatformErrors() {
  for (const std::string& e : platform_.errors) Fail(e);
  platform_.errors.clear();
}

std::string Session::DataPath(const std::string& file) const { return MakeDataDir(dir_) + file; }

std::string Session::ResolvePath(const std::string& path) const {
  std::filesystem::path p = std::filesystem::path(path).is_absolute() ? path : DataPath(path);
  std::string full = std::filesystem::absolute(p).lexically_normal().string();
  // "." names the folder itself, without the separator normalising leaves.
  if (full.size() > 1 && full.back() == '/') full.pop_back();
  return full;
}

void Session::AddArgument(const std::string& path) {
  if (Started()) throw Failure("argument comes before the program starts");
  arguments_.push_back(ResolvePath(path));
}

Form& Session::GetForm(const std::string& name) {
  Form* f = program_->FindForm(name);
  if (!f) throw Failure("unknown window " + name);
  return *f;
}

Form& Session::ActiveForm(const std::string& name) {
  Form& f = GetForm(name);
  if (f.State() != WindowState::Shown) throw Failure(name + " is not shown");
  if (!program_->Accepts(f)) throw Failure(name + " sits behind a modal window");
  return f;
}

Control& Session::GetControl(Form& f, const std::string& name) {
  Control* c = f.FindControl(name);
  if (!c && name == "Label6") c = f.Board();
  if (!c) throw Failure("unknown control " + name + " of " + f.FormName());
  return *c;
}

BoardCells& Session::GetBoard(Form& f) {
  if (!f.Board()) throw Failure(f.FormName() + " has no board");
  return *f.Board();
}

void PrintScenarioUsage(std::ostream& out) {
  out << "usage: solneka-scenario [--data DIR] FILE.scn...\n"
      << "commands of a scenario file:\n";
  PrintCommandUsage(out);
}

void RunScenarioText(const std::string& name, const std::string& text, const std::string& dataDir, std::ostream& out,
                     ScenarioTotals& totals) {
  try {
    Session session(name, dataDir, out, totals);
    session.Run(text);
  } catch (const Failure& f) {
    ++totals.failed;
    out << name << ":0: " << f.message << "\n";
  }
}

void RunScenarioFile(const std::string& path, const std::string& dataDir, std::ostream& out, ScenarioTotals& totals) {
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
