// A window of the program: its controls by name, its menu bar, and whether
// it is loaded and shown. The window classes derive from it and add their
// controls, handlers and variables.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/board_cells.h"
#include "ui/controls.h"
#include "ui/platform.h"

namespace sol {

class Form : public Window {
 public:
  Form(std::string name, Platform& platform) : name_(std::move(name)), platform_(platform) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string FormName() const override { return name_; }
  Platform& GetPlatform() { return platform_; }

  Str Caption;
  Menu MenuBar{"", u""};

  // Controls in the order they were registered (the order a view lays them out).
  const std::vector<Control*>& Controls() const { return controls_; }
  Control* FindControl(const std::string& name) const;
  template <typename T>
  T* Find(const std::string& name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  Menu* FindMenu(const std::string& name) { return MenuBar.Find(name); }
  // The board of the window, if it has one.
  virtual BoardCells* Board() { return nullptr; }
  // The status bar of the window, if it has one.
  virtual StatusBar* Status() { return nullptr; }

  WindowState State() const { return state_; }
  bool Modal() const { return modal_; }
  // Loads the window (runs its load handler once) if it is not loaded.
  void EnsureLoaded();
  void Show(bool modal = false);
  void Hide();
  void Unload();

  // Files the player dropped onto the window (absolute UTF-8 paths); a
  // window that takes no files ignores them.
  virtual void DropFiles(const std::vector<std::string>& paths) { (void)paths; }

  // A window variable by name, with an optional 1-based index and field
  // (`BackupList(2).Number`); nullopt when the window has no such variable.
  virtual std::optional<std::string> ReadVar(const std::string& name, std::optional<int> index,
                                             const std::string& field) const;

 protected:
  void Register(Control& c) { controls_.push_back(&c); }
  virtual void Load() {}
  virtual void Unloading() {}

 private:
  std::string name_;
  Platform& platform_;
  std::vector<Control*> controls_;
  WindowState state_ = WindowState::Unloaded;
  bool modal_ = false;
};

}  // namespace sol
