// A long run of writing commands, chosen at random but the same for the same
// seed and the same files: a player registering, annotating, deleting and
// moving problems and storing games. Two programs started on equal files
// with equal seeds go through equal files, command by command.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "tests/support/session.h"

namespace sol::testing {

class Workload {
 public:
  Workload(Session& session, unsigned seed) : s_(session), rng_(seed) { s_.PlayOnBoard({61, 62, 63, 64, 65}); }

  // Runs the next command. Returns whether it changes its files all or
  // nothing; the others change one whole file after another.
  bool Next() {
    ScriptPlatform& p = s_.platform;
    p.BeginAction();
    p.answers.clear();
    bool whole = true;
    const int kind = Weighted({2, 1, 2, 2, 2, 3, 2, 1, 2, 1, 1, 1, 1, 1, 1});
    switch (kind) {
      case 0:
        RegisterProblem();
        break;
      case 1:
        OverwriteProblem();
        break;
      case 2:
        RegisterSequence(false);
        break;
      case 3:
        RegisterSequence(true);
        break;
      case 4:
        RegisterWrongSequence();
        break;
      case 5:
        RegisterComment();
        break;
      case 6:
        DeleteComment();
        break;
      case 7:
        DeleteProblem();
        break;
      case 8:
        DeleteTail();
        break;
      case 9:
        MoveProblem();
        break;
      case 10:
        RenameSubCategories();
        break;
      case 11:
        RecordGame();
        break;
      case 12:
        whole = false;
        UpdateGame();
        break;
      case 13:
        whole = false;
        DeleteGame();
        break;
      default:
        whole = false;
        Adjourn();
        break;
    }
    // Answers the command did not ask for must not answer the next one.
    p.answers.clear();
    p.boxes.clear();
    p.cues.clear();
    p.errors.clear();
    return whole;
  }

 private:
  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  int Weighted(const std::vector<int>& weights) {
    int total = 0;
    for (int w : weights) total += w;
    int r = Pick(total);
    for (size_t i = 0; i < weights.size(); ++i) {
      if (r < weights[i]) return static_cast<int>(i);
      r -= weights[i];
    }
    return 0;
  }
  int Point() { return 1 + Pick(ProblemPoints); }
  Form4& W() { return s_.Problems(); }

  // The problem window of a random category, cleared; false when it lists
  // no problem and `needProblem` is set, else with a random problem chosen.
  bool Window(bool needProblem) {
    s_.OpenProblems(2 * (1 + Pick(2)));
    W().Command12_Click();
    if (!needProblem) return true;
    if (W().List1.ListCount() == 0) return false;
    W().List1.SetListIndex(Pick(W().List1.ListCount()));
    return true;
  }

  void RegisterProblem() {
    Window(false);
    s_.ClickProblemBoard({Point(), Point()});
    s_.ClickProblemBoard({Point()}, ButtonRight);
    W().Text1.SetText(u"0000新しい問題");
    W().Command4_Click();
  }
  void OverwriteProblem() {
    if (!Window(true)) return;
    const Str key = Left(W().List1.List(W().List1.ListIndex()), 4);
    W().Command12_Click();
    s_.ClickProblemBoard({Point(), Point(), Point()});
    W().Text1.SetText(key + u"置き換え");
    s_.platform.answers = {Answer::Yes};
    W().Command4_Click();
  }
  void RegisterSequence(bool branch) {
    if (!Window(true)) return;
    if (branch) {
      if (W().List2.ListCount() == 0) return;
      W().List2.SetListIndex(Pick(W().List2.ListCount()));
      s_.ClickProblemBoard({Point()});
    } else {
      s_.ClickProblemBoard({Point(), Point()});
    }
    W().Command6_Click();
  }
  void RegisterWrongSequence() {
    if (!Window(true)) return;
    s_.ClickProblemBoard({Point(), Point()});
    W().Command7_Click();
  }
  void RegisterComment() {
    if (!Window(true)) return;
    std::vector<int> heads;
    for (int i = 0; i < W().List2.ListCount(); ++i)
      if (W().Answers().At(i).Link > 0) heads.push_back(i);
    if (heads.empty()) return;
    W().List2.SetListIndex(heads[static_cast<size_t>(Pick(static_cast<int>(heads.size())))]);
    W().Text2.SetText(u"評" + Num(Pick(1000)));
    s_.platform.answers = {Answer::OK};
    W().Command9_Click();
  }
  void DeleteComment() {
    if (!Window(true) || W().List3.ListCount() == 0) return;
    W().List3.SetListIndex(Pick(W().List3.ListCount()));
    s_.platform.answers = {Answer::OK};
    W().Command10_Click();
  }
  void DeleteProblem() {
    if (!Window(true)) return;
    s_.platform.answers = {Answer::OK};
    W().Command5_Click();
  }
  void DeleteTail() {
    if (!Window(true) || W().List2.ListCount() == 0) return;
    W().List2.SetListIndex(Pick(W().List2.ListCount()));
    s_.platform.answers = {Answer::OK};
    W().Command8_Click();
  }
  void MoveProblem() {
    if (!Window(true)) return;
    OptionButton* target[] = {&W().Option4, &W().Option5, &W().Option6};
    target[Pick(3)]->Click();
    W().Command11_Click();
  }
  void RenameSubCategories() {
    Window(false);
    const Str names[] = {u"初段 二段 三段", u"基本 応用 重要", u"甲乙丙 丁戊己 庚辛壬"};
    W().Text2.SetText(names[Pick(3)]);
    W().Command20_Click();
  }

  void RecordGame() {
    s_.OpenLibrary();
    const int n = 13 + Pick(48);
    s_.Library().Text1.SetText(Right(Num(n + 100), 2) + u"：記録");
    s_.Library().Command1_Click();
    s_.Library().MenuMainBoard();
  }
  bool ChooseGame() {
    s_.OpenLibrary();
    ListBox& list = s_.Library().List1;
    if (list.ListCount() == 0) return false;
    list.SetListIndex(Pick(list.ListCount()));
    return true;
  }
  void UpdateGame() {
    if (ChooseGame()) {
      Form3& l = s_.Library();
      l.Text1.SetText(Left(l.List1.List(l.List1.ListIndex()), 2) + u"：更新");
      l.Command5_Click();
    }
    s_.Library().MenuMainBoard();
  }
  void DeleteGame() {
    if (ChooseGame()) {
      s_.platform.answers = {Answer::OK};
      s_.Library().Command3_Click();
    }
    s_.Library().MenuMainBoard();
  }
  void Adjourn() {
    s_.platform.answers = {Answer::OK};
    s_.Board().MenuSave();
  }

  Session& s_;
  std::mt19937 rng_;
};

}  // namespace sol::testing
