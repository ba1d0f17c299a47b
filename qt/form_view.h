// The on-screen face of a window: a main window with the window's menu bar,
// one widget per control and its status bar. A view holds no state of its
// own beyond the revision it last showed of each control: it forwards what
// the player does to the control models, then every view re-reads the
// controls that changed.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"

class QAction;
class QLabel;

namespace sol {

class FormView;

// How a view is put together. Every member may be left empty.
struct ViewLayout {
  // A widget for a control in place of the usual one (a subclass of the
  // usual widget class, so the view still knows how to update it).
  std::function<QWidget*(Control&, QWidget* parent)> makeWidget;
  // Places the widgets in the central widget; the default stacks them in
  // registration order and puts option buttons into the frame before them.
  std::function<void(FormView&)> arrange;
  // The menu entry the title-bar close button stands for; none: closing
  // the window unloads it.
  std::string closeMenu;
  // Keys (Qt::Key) that press a command button wherever the focus is in the
  // window, except on a slider, which keeps its own keys. A hidden or
  // disabled button takes no key.
  std::vector<std::pair<int, std::string>> keys;
  // A double click on a line of the list (first) presses the button (second),
  // after the click has chosen the line.
  std::vector<std::pair<std::string, std::string>> doubleClicks;
  // The label whose caption is printed under the board, while it is shown.
  std::string printText;
  // Local files dropped onto the window go to Form::DropFiles.
  bool takesFiles = false;
};

class FormView : public QMainWindow {
  Q_OBJECT

 public:
  FormView(Form& form, ViewLayout layout, QWidget* parent = nullptr);
  ~FormView() override;

  Form& Model() const { return form_; }
  const ViewLayout& Layout() const { return layout_; }
  // The widget of a control; nullptr for a control without one.
  QWidget* WidgetOf(const std::string& controlName) const;
  template <typename W>
  W* Widget(const std::string& controlName) const {
    return qobject_cast<W*>(WidgetOf(controlName));
  }
  // The widget a layout places: as Widget, except that a name with no
  // widget of that class is a fault of the layout, kept in LayoutFaults.
  template <typename W>
  W* Require(const std::string& controlName) {
    W* w = Widget<W>(controlName);
    if (!w) NoteMissing(controlName);
    return w;
  }
  QWidget* Require(const std::string& controlName) { return Require<QWidget>(controlName); }
  // What the layout names that the window does not have, and controls no
  // binder knows how to show, one line each; empty for a sound view.
  const std::vector<std::string>& LayoutFaults() const { return faults_; }
  // True while the view writes to its widgets: their change signals then
  // are not the player's.
  bool Syncing() const { return syncing_; }
  QAction* ActionOf(const std::string& menuName) const;
  // The widget the layout arranged the controls in (inside a scroll area).
  QWidget* Content() const;
  // Shrinks and moves the window into its screen's available area.
  void FitOnScreen();
  // The label in the status bar that shows panel 1.
  QLabel* StatusLabel() const { return statusLabel_; }

  // Re-reads every control whose revision differs from the one shown last.
  void Refresh();
  // Lets the next close go through (the program ends or unloads the window).
  void AllowClose() { closeAllowed_ = true; }

  // Runs a player's action on the models, then refreshes all views. The
  // control the player touched is re-read even if its model did not change,
  // since its widget may already show something else.
  void Forward(Control* touched, const std::function<void()>& action);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A control or menu entry and what shows it; a menu entry has no widget.
  struct Binding {
    Control* control;
    QWidget* widget;
    uint64_t shown = 0;
    std::function<void()> sync;
  };

  void BindControl(Control& c, QWidget* central);
  void BuildMenus(Menu& parent, QWidget* into);
  void StackDefault();
  void BindKeys();
  void CheckLayoutNames();
  void NoteMissing(const std::string& name);
  void PressButton(const std::string& name);

  Form& form_;
  ViewLayout layout_;
  std::vector<Binding> bindings_;
  std::vector<std::string> faults_;
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, QAction*> actions_;
  QLabel* statusLabel_ = nullptr;
  bool closeAllowed_ = false;
  bool dying_ = false;
  bool syncing_ = false;
};

// Every view that exists, in the order they were made.
const std::vector<FormView*>& AllViews();
FormView* ViewOf(const Window& window);
// Brings every view up to date with its models.
void RefreshAllViews();

// The view of a window with the layout made for it.
std::unique_ptr<FormView> MakeView(Form& form);

}  // namespace sol
