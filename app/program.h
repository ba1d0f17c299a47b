// The composition root: the shared state, the platform and the windows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "mainboard/form2.h"
#include "problems/form4.h"
#include "problems/study_records.h"
#include "problems/study_window.h"
#include "records/form3.h"
#include "ui/platform.h"

namespace sol {

class Program {
 public:
  // The data files live in `dataDir`; the help file, cue sounds and starter
  // problems in `shareDir`, by default the same folder.
  Program(Platform& platform, const std::string& dataDir, const std::string& shareDir = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Loads and shows the main board, as the program does when it starts;
  // `arguments` (the command line's files, UTF-8) are then opened on it.
  void Start(const std::vector<std::string>& arguments = {});

  GameState State;
  Form2 MainBoard;
  Form3 Library;
  Form4 Problems;
  StudyRecords Study;
  Form5 StudyWindow;

  std::vector<Form*> Forms();
  Form* FindForm(const std::string& name);
  // The window that takes the player's input: the shown modal window, if
  // any, else every shown window.
  bool Accepts(const Form& form);

 private:
  // Every board shows its coordinates so, and the 表示 menus tick it.
  void ShowCoordinates(CoordinateStyle style);
  // The player's choice from `from`'s 表示 menu, kept in the settings.
  void ChooseCoordinates(CoordinateStyle style, Form& from);
  // At the first start on a data folder without problems: the lectures are
  // filled from the starter library, and the status line says so.
  void FillStarterLibrary();

  Platform& platform_;
};

// A shared variable by name (`Board(61)`, `MoveList(3).Point`, `DataDir`);
// numbers as decimal text. nullopt when there is no such variable.
std::optional<std::string> ReadStateVar(const GameState& s, const std::string& name, std::optional<int> index,
                                        const std::string& field);
// The same, with the position names read from the problem board while the
// problem window is shown.
std::optional<std::string> ReadProgramVar(Program& app, const std::string& name, std::optional<int> index,
                                          const std::string& field);

}  // namespace sol
