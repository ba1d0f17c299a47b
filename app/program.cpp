#include "app/program.h"

namespace sol {

Program::Program(Platform& platform, const std::string& programDir)
    : MainBoard(State, platform), Library(State, platform), Problems(State, platform), platform_(platform) {
  State.DataDir = MakeDataDir(programDir);
  MainBoard.Library = &Library;
  // The library is rebuilt from the files each time it opens, also when an
  // adjournment left it loaded unseen.
  MainBoard.OpenLibrary = [this] {
    Library.Unload();
    Library.Show(true);
  };
  MainBoard.CloseLibrary = [this] { Library.Unload(); };
  Library.PlayCue = [this](int kind) { MainBoard.PlayCue(kind); };
  MainBoard.OpenProblems = [this](int lessonMode) {
    State.LessonMode = static_cast<int16_t>(lessonMode);
    Problems.Show();
  };
  Problems.HideMainBoard = [this] { MainBoard.Hide(); };
  Problems.ShowMainBoard = [this] { MainBoard.Show(); };
  Library.MainSlider = &MainBoard.Slider1;
}

void Program::Start() { MainBoard.Show(); }

std::vector<Form*> Program::Forms() { return {&MainBoard, &Library, &Problems}; }

Form* Program::FindForm(const std::string& name) {
  for (Form* f : Forms())
    if (f->FormName() == name) return f;
  return nullptr;
}

bool Program::Accepts(const Form& form) {
  if (form.State() != WindowState::Shown) return false;
  for (Form* f : Forms())
    if (f != &form && f->State() == WindowState::Shown && f->Modal()) return false;
  return true;
}

}  // namespace sol
