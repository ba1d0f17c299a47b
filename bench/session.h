// The whole program on the full data set, driven the way the scenario
// runner drives it: the windows' handlers called directly, boxes answered
// from a queue.
#pragma once

#include <memory>
#include <string>

#include "app/program.h"
#include "bench/bench_support.h"
#include "bench/full_data.h"
#include "core/text.h"
#include "scenario/script_platform.h"

namespace sol::bench {

class Session {
 public:
  Session() : program_(std::make_unique<Program>(platform, work.Path())) { program_->Start(); }

  WorkDir work;
  ScriptPlatform platform;

  Program& P() { return *program_; }
  GameState& State() { return program_->State; }
  Form4& Problems() { return program_->Problems; }
  Form3& Library() { return program_->Library; }

  // The problem window in `mode`, opened from the main board the first time.
  Form4& Mode(int mode) {
    if (program_->Problems.State() != WindowState::Shown)
      program_->MainBoard.OpenProblems(mode);
    else
      program_->Problems.SwitchMode(mode);
    return program_->Problems;
  }

  // The first line of the problem list that shows problem n; -1 if none.
  int LineOf(int n) {
    const ListBox& l = program_->Problems.List1;
    for (int i = 0; i < l.ListCount(); ++i)
      if (Val(Left(l.List(i), 4)) == n) return i;
    return -1;
  }

  // What the platform kept of earlier commands is dropped, so that a long
  // run does not grow its records without end.
  void Forget() {
    platform.cues.clear();
    platform.boxes.clear();
    platform.answers.clear();
  }

 private:
  std::unique_ptr<Program> program_;
};

}  // namespace sol::bench
