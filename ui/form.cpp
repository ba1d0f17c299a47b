#include "ui/form.h"

namespace sol {

Control* Form::FindControl(const std::string& name) const {
  for (Control* c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}

void Form::EnsureLoaded() {
  if (state_ != WindowState::Unloaded) return;
  state_ = WindowState::Hidden;
  Load();
}

void Form::Show(bool modal) {
  EnsureLoaded();
  state_ = WindowState::Shown;
  modal_ = modal;
  platform_.ShowWindow(*this, modal);
}

void Form::Hide() {
  if (state_ != WindowState::Shown) return;
  state_ = WindowState::Hidden;
  modal_ = false;
  platform_.HideWindow(*this);
}

void Form::Unload() {
  if (state_ == WindowState::Unloaded) return;
  Unloading();
  state_ = WindowState::Unloaded;
  modal_ = false;
  platform_.UnloadWindow(*this);
}

std::optional<std::string> Form::ReadVar(const std::string&, std::optional<int>, const std::string&) const {
  return std::nullopt;
}

}  // namespace sol
