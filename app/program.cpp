#include "app/program.h"

namespace sol {

Program::Program(Platform& platform, const std::string& programDir)
    : MainBoard(State, platform), platform_(platform) {
  State.DataDir = MakeDataDir(programDir);
}

void Program::Start() { MainBoard.Show(); }

std::vector<Form*> Program::Forms() { return {&MainBoard}; }

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
