#include "qt/control_binders.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QValidator>
#include <typeindex>
#include <unordered_map>

#include "qt/board_widget.h"
#include "qt/form_view.h"
#include "ui/mmcontrol.h"

namespace sol {

namespace {

QString Q(const Str& s) { return QString::fromStdU16String(s); }

// Button and menu texts are shown as written: '&' is not a mnemonic here.
QString Literal(const Str& s) { return Q(s).replace(u'&', QStringLiteral("&&")); }

// An edit the box's model would not take whole is refused, so that a key
// past the limit does nothing instead of cutting the text's end.
class FitValidator : public QValidator {
 public:
  FitValidator(const TextBox& box, QObject* parent) : QValidator(parent), box_(box) {}
  State validate(QString& input, int&) const override {
    return box_.Fits(input.toStdU16String()) ? Acceptable : Invalid;
  }

 private:
  const TextBox& box_;
};

class LabelBinder : public TypedBinder<Label, QLabel> {
  std::function<void()> Wire(FormView&, Label& label, QLabel* l) const override {
    l->setTextFormat(Qt::PlainText);
    return [&label, l] {
      SyncCommon(label, l);
      l->setText(Q(label.Caption()));
      QPalette p = l->palette();
      p.setColor(QPalette::WindowText, QColor::fromRgb(label.ForeColor()));
      l->setPalette(p);
    };
  }
};

class ButtonBinder : public TypedBinder<CommandButton, QPushButton> {
  std::function<void()> Wire(FormView& view, CommandButton& button, QPushButton* b) const override {
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(b, &QPushButton::clicked, &view,
                     [&view, &button] { view.Forward(&button, [&button] { button.Click(); }); });
    return [&button, b] {
      SyncCommon(button, b);
      b->setText(Literal(button.Caption()));
    };
  }
};

class OptionBinder : public TypedBinder<OptionButton, QRadioButton> {
  std::function<void()> Wire(FormView& view, OptionButton& option, QRadioButton* r) const override {
    QObject::connect(r, &QRadioButton::toggled, &view, [&view, &option](bool on) {
      if (view.Syncing() || !on) return;
      view.Forward(&option, [&option] { option.Click(); });
    });
    return [&option, r] {
      SyncCommon(option, r);
      r->setText(Literal(option.Caption()));
      // An exclusive radio button refuses to be cleared; the model says
      // which one is set, so let it.
      r->setAutoExclusive(false);
      r->setChecked(option.Value());
      r->setAutoExclusive(true);
    };
  }
};

class FrameBinder : public TypedBinder<Frame, QGroupBox> {
  std::function<void()> Wire(FormView&, Frame& frame, QGroupBox* g) const override {
    return [&frame, g] {
      SyncCommon(frame, g);
      g->setTitle(Q(frame.Caption()));
    };
  }
};

class TextBinder : public TypedBinder<TextBox, QLineEdit> {
  std::function<void()> Wire(FormView& view, TextBox& text, QLineEdit* e) const override {
    e->setValidator(new FitValidator(text, e));
    QObject::connect(e, &QLineEdit::textEdited, &view, [&view, &text](const QString& t) {
      if (view.Syncing()) return;
      view.Forward(&text, [&text, t] { text.SetText(t.toStdU16String()); });
    });
    return [&text, e] {
      SyncCommon(text, e);
      const QString t = Q(text.Text());
      e->setMaxLength(text.MaxUnits() >= 0 ? text.MaxUnits() : 32767);
      if (e->text() != t) e->setText(t);
      e->setReadOnly(text.Locked());
    };
  }
};

class BoardBinder : public TypedBinder<BoardCells, BoardWidget> {
  std::function<void()> Wire(FormView& view, BoardCells& cells, BoardWidget* b) const override {
    QObject::connect(b, &BoardWidget::pressed, &view, [&view, &cells](int point, int button, int shift) {
      view.Forward(&cells, [&cells, point, button, shift] { cells.MouseDown(point, button, shift); });
    });
    return [&cells, b] {
      SyncCommon(cells, b);
      b->Sync();
    };
  }
};

// The status line: a label in the window's status bar, which shows and
// hides with the control.
class StatusBarBinder : public TypedBinder<StatusBar, QLabel> {
  bool InStatusBar() const override { return true; }
  QLabel* Create(FormView& view, StatusBar&, QWidget*) const override {
    auto* label = new QLabel(view.statusBar());
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(4, 2, 4, 2);
    // A long status text is cut at the window's edge; it never widens the
    // window beyond a small screen.
    label->setMinimumWidth(1);
    view.statusBar()->setStyleSheet(QStringLiteral("QStatusBar { border-top: 1px solid palette(mid); }"));
    view.statusBar()->addWidget(label, 1);
    view.statusBar()->setSizeGripEnabled(true);
    return label;
  }
  std::function<void()> Wire(FormView& view, StatusBar& bar, QLabel* label) const override {
    QStatusBar* shown = view.statusBar();
    return [&bar, label, shown] {
      label->setText(Q(bar.Panel(1)));
      shown->setVisible(bar.Visible());
      shown->setToolTip(Q(bar.HelpText()));
      shown->setWhatsThis(Q(bar.HelpText()));
    };
  }
};

const std::unordered_map<std::type_index, const ControlBinder*>& Binders() {
  static const LabelBinder label;
  static const ButtonBinder button;
  static const OptionBinder option;
  static const FrameBinder frame;
  static const TextBinder text;
  static const BoardBinder board;
  static const StatusBarBinder status;
  static const std::unordered_map<std::type_index, const ControlBinder*> binders = {
      {typeid(Label), &label},           {typeid(CommandButton), &button}, {typeid(OptionButton), &option},
      {typeid(Frame), &frame},           {typeid(TextBox), &text},         {typeid(ListBox), &ListBinder()},
      {typeid(Slider), &SliderBinder()}, {typeid(BoardCells), &board},     {typeid(StatusBar), &status},
  };
  return binders;
}

}  // namespace

void SyncCommon(const Control& c, QWidget* w) {
  w->setVisible(c.Visible());
  w->setEnabled(c.Enabled());
  w->setToolTip(Q(c.HelpText()));
  w->setWhatsThis(Q(c.HelpText()));
}

const ControlBinder* BinderFor(const Control& control) {
  const auto& binders = Binders();
  const auto it = binders.find(typeid(control));
  return it == binders.end() ? nullptr : it->second;
}

bool HasNoWidget(const Control& control) { return typeid(control) == typeid(MMControl); }

QString MenuText(const Menu& menu) {
  if (!menu.AccessKey()) return Literal(menu.Caption());
  return Literal(menu.Caption()) + QStringLiteral("(&%1)").arg(QChar(menu.AccessKey()));
}

std::function<void()> BindMenu(FormView& view, Menu& menu, QAction* action) {
  if (!menu.Shortcut().empty()) action->setShortcut(QKeySequence(Literal(menu.Shortcut())));
  // An entry that opens a menu has nothing of its own to run.
  if (!action->menu())
    QObject::connect(action, &QAction::triggered, &view,
                     [&view, &menu] { view.Forward(&menu, [&menu] { menu.Click(); }); });
  return [&menu, action] {
    action->setText(MenuText(menu));
    action->setVisible(menu.Visible());
    action->setCheckable(menu.Checkable());
    action->setChecked(menu.Checked());
    action->setEnabled(menu.Enabled());
  };
}

}  // namespace sol
