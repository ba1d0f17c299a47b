// The 学習記録 window: per category and sub-category what the learner has
// tried and solved, the records written out as CSV, and cleared.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "core/game_state.h"
#include "problems/study_records.h"
#include "ui/form.h"

namespace sol {

// The set-up fingerprints of every problem of a category. FileError.
std::map<int, std::uint64_t> SetupFingerprints(const GameState& s, int category);

class Form5 : public Form {
 public:
  Form5(GameState& state, Platform& platform);

  StatusBar* Status() override { return &StatusBar1; }

  Label Label1{"Label1"};              // heading
  Label Label2{"Label2"};              // what the marks mean
  ListBox List1{"List1"};              // a line per sub-category
  CommandButton Command1{"Command1"};  // CSV書出し…
  CommandButton Command2{"Command2"};  // 記録を消去
  CommandButton Command3{"Command3"};  // 閉じる
  StatusBar StatusBar1{"StatusBar1"};

  // Wired by the program.
  StudyRecords* Study = nullptr;
  // The records changed here (cleared); the lectures show them again.
  std::function<void()> Changed;

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 protected:
  void Load() override;

 private:
  void ShowLines();
  GameState& s_;
};

}  // namespace sol
