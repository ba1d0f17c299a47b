// The whole program on a data directory, driven the way a player drives it:
// clicks on the boards, lines chosen in lists, texts typed, boxes answered
// from the script platform's queue.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/text.h"
#include "records/game_files.h"
#include "scenario/script_platform.h"

namespace sol::testing {

class Session {
 public:
  explicit Session(const std::string& dir) {
    platform.today = {2024, 5, 6};
    program = std::make_unique<Program>(platform, dir);
    program->Start();
  }

  ScriptPlatform platform;
  std::unique_ptr<Program> program;

  Form2& Board() { return program->MainBoard; }
  Form3& Library() { return program->Library; }
  Form4& Problems() { return program->Problems; }
  GameState& State() { return program->State; }

  void PlayOnBoard(const std::vector<int>& points) {
    for (int p : points) Board().Cells.MouseDown(p, ButtonLeft, 0);
  }

  // Opens the library afresh, as its menu entry does.
  void OpenLibrary() { Board().OpenLibrary(); }
  // The line of game n in the library list, selected; false when not listed.
  bool SelectGame(int n) {
    return SelectLine(Library().List1, [n](const Str& l) { return LineGameNumber(l) == n; });
  }

  // The problem window in the given mode, opened from the main board or
  // switched to in place.
  void OpenProblems(int lessonMode) {
    if (Problems().State() != WindowState::Shown)
      Board().OpenProblems(lessonMode);
    else if (State().LessonMode != lessonMode)
      Problems().SwitchMode(lessonMode);
  }
  bool SelectProblem(int number) {
    return SelectLine(Problems().List1, [number](const Str& l) { return Val(Left(l, 4)) == number; });
  }
  // The answer line of the given record number.
  bool SelectAnswer(int record) {
    return SelectLine(Problems().List2, [record](const Str& l) { return Val(Mid(l, 41, 10)) == record; });
  }
  // The comment on the sequence whose head is the given record.
  bool SelectComment(int record) {
    return SelectLine(Problems().List3, [record](const Str& l) { return Val(Mid(l, 5, 5)) == record; });
  }
  void ClickProblemBoard(const std::vector<int>& points, int button = ButtonLeft) {
    for (int p : points) Problems().Cells.MouseDown(p, button, 0);
  }

  // Runs the data check on every problem of the category and returns what
  // it reports about the ones that are not clean.
  std::vector<std::string> DataCheckFaults(int category) {
    OpenProblems(2 * category);
    std::vector<std::string> out;
    ListBox& list = Problems().List1;
    for (int i = 0; i < list.ListCount(); ++i) {
      list.SetListIndex(i);
      Problems().Command13_Click();
      const Str text = Problems().StatusBar1.Text();
      if (text != u"手順エラー件数は 0件、コメントエラー件数は 0件です。")
        out.push_back(ToUtf8(Left(list.List(i), 4)) + ": " + ToUtf8(text));
    }
    return out;
  }

 private:
  template <typename Match>
  static bool SelectLine(ListBox& list, Match match) {
    for (int i = 0; i < list.ListCount(); ++i)
      if (match(list.List(i))) {
        list.SetListIndex(i);
        return true;
      }
    return false;
  }
};

}  // namespace sol::testing
