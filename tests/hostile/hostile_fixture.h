// The program on the sample data set with one file damaged, driven through
// its controls, and the checks that hold whatever a file held.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/text.h"
#include "fuzz/sample_data.h"
#include "records/game_files.h"
#include "scenario/script_platform.h"

namespace sol::hostile {

inline std::string Answers(const std::vector<AnswerMoveRecord>& records) {
  std::string out;
  for (const AnswerMoveRecord& r : records) out += r.Encode();
  return out;
}

inline std::string SetupStones(const std::vector<ProblemMoveRecord>& records) {
  std::string out;
  for (const ProblemMoveRecord& r : records) out += r.Encode();
  return out;
}

class Damaged : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = sample::MakeDataDir("hostile");
    ASSERT_FALSE(dir_.empty());
    sample::WriteAll(dir_);
  }
  void TearDown() override {
    program_.reset();
    sample::RemoveDataDir(dir_);
  }

  void Write(const char* name, const std::string& bytes) { sample::WriteFile(dir_ + name, bytes); }
  std::string Read(const char* name) { return sample::ReadFile(dir_ + name); }

  void Start() {
    program_ = std::make_unique<Program>(platform, dir_);
    program_->Start();
  }

  GameState& S() { return program_->State; }
  Form2& Board() { return program_->MainBoard; }
  Form3& Library() { return program_->Library; }
  Form4& Problems() { return program_->Problems; }

  void Menu(Form& f, const char* name) {
    sol::Menu* m = f.FindMenu(name);
    ASSERT_NE(m, nullptr) << name;
    m->Click();
  }

  static int LineOf(const ListBox& list, long number, int digits) {
    for (int i = 0; i < list.ListCount(); ++i)
      if (Val(Left(list.List(i), digits)) == number) return i;
    return -1;
  }

  // Opens the library and selects game n; false when it is not listed.
  bool SelectGame(int n) {
    if (Library().State() != WindowState::Shown) Menu(Board(), "メニュー棋譜");
    const int line = LineOf(Library().List1, n, 2);
    if (line < 0) return false;
    Library().List1.SetListIndex(line);
    return true;
  }

  // Opens the problem window in a mode ("メニュー手筋講座", ...) with problem p loaded.
  void OpenProblem(const char* mode, int p) {
    Form& from = Problems().State() == WindowState::Shown ? static_cast<Form&>(Problems()) : Board();
    Menu(from, mode);
    const int line = LineOf(Problems().List1, p, 4);
    ASSERT_GE(line, 0) << "problem " << p << " is not listed";
    Problems().List1.SetListIndex(line);
  }

  // The points of a board that show a stone of the picture.
  static std::vector<int> Stones(const BoardCells& b, int16_t picture) {
    std::vector<int> out;
    for (int p = 1; p <= b.Count(); ++p)
      if (b.PictureAt(p) == picture) out.push_back(p);
    return out;
  }

  // What holds after every command: the board holds colours only (a wrong
  // first move of the problem window negative), the move list stones only.
  void ExpectSound() {
    for (int p = 1; p <= PointCount; ++p) {
      ASSERT_GE(S().Board[p], -White) << "Board(" << p << ")";
      ASSERT_LE(S().Board[p], White) << "Board(" << p << ")";
      ASSERT_GE(Problems().Position.Board[p], -White) << "problem Board(" << p << ")";
      ASSERT_LE(Problems().Position.Board[p], White) << "problem Board(" << p << ")";
    }
    for (int i = 1; i <= MaxMoves && S().MoveList[i].Colour != 0; ++i) {
      const MoveEntry& e = S().MoveList[i];
      ASSERT_TRUE(e.Colour == Black || e.Colour == White) << "MoveList(" << i << ").Colour = " << e.Colour;
      ASSERT_TRUE(e.Point >= 1 && e.Point <= PointCount) << "MoveList(" << i << ").Point = " << e.Point;
    }
    for (int p = 1; p <= ProblemPoints; ++p) {
      const int16_t pic = Problems().Cells.PictureAt(p);
      ASSERT_TRUE(pic == PictureNone || pic == PictureBlack || pic == PictureWhite) << "picture at " << p;
    }
  }

  ScriptPlatform platform;

 private:
  std::string dir_;
  std::unique_ptr<Program> program_;
};

}  // namespace sol::hostile
