// How each kind of control is shown: one binder per control type makes the
// widget, forwards what the player does with it to the control, and re-reads
// the control into it.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <type_traits>

#include "ui/controls.h"

class QAction;

namespace sol {

class FormView;

class ControlBinder {
 public:
  virtual ~ControlBinder() = default;
  // The usual widget for the control.
  virtual QWidget* MakeWidget(FormView& view, Control& control, QWidget* parent) const = 0;
  // Whether the binder can drive `widget`: a layout's own widget must be of
  // the usual class or derive from it.
  virtual bool Drives(QWidget* widget) const = 0;
  // Connects the widget to the control; the function returned re-reads the
  // control into the widget.
  virtual std::function<void()> Bind(FormView& view, Control& control, QWidget* widget) const = 0;
  // The widget goes into the window's status bar, not among the others.
  virtual bool InStatusBar() const { return false; }
};

// A binder of one control type and its widget class. It is only ever asked
// about controls of exactly that type (BinderFor picks it by type), so the
// casts below cannot go wrong.
template <typename C, typename W>
class TypedBinder : public ControlBinder {
 public:
  QWidget* MakeWidget(FormView& view, Control& control, QWidget* parent) const final {
    return Create(view, static_cast<C&>(control), parent);
  }
  bool Drives(QWidget* widget) const final { return qobject_cast<W*>(widget) != nullptr; }
  std::function<void()> Bind(FormView& view, Control& control, QWidget* widget) const final {
    return Wire(view, static_cast<C&>(control), static_cast<W*>(widget));
  }

 protected:
  // A widget made for its control (the board) is given it.
  virtual W* Create(FormView&, C& control, QWidget* parent) const {
    if constexpr (std::is_constructible_v<W, C&, QWidget*>)
      return new W(control, parent);
    else
      return new W(parent);
  }
  virtual std::function<void()> Wire(FormView& view, C& control, W* widget) const = 0;
};

// What every widget shows of its control: shown, enabled, its help text.
void SyncCommon(const Control& control, QWidget* widget);

const ControlBinder& ListBinder();
const ControlBinder& SliderBinder();

// The binder for the control's own type; nullptr for a control with no
// widget (the sound player) and for a type no binder knows.
const ControlBinder* BinderFor(const Control& control);
// Whether the control's type is one that is never shown.
bool HasNoWidget(const Control& control);

// The menu entry's text: the caption as written, with its access key after it.
QString MenuText(const Menu& menu);
// Connects an action to its entry; the function returned re-reads the entry.
std::function<void()> BindMenu(FormView& view, Menu& menu, QAction* action);

}  // namespace sol
