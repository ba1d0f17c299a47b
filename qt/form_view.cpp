#include "qt/form_view.h"

#include <map>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QGuiApplication>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QKeyEvent>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <memory>

#include "qt/board_widget.h"
#include "qt/form2_view.h"
#include "qt/form3_view.h"
#include "qt/form4_view.h"
#include "ui/mmcontrol.h"

namespace sol {

namespace {

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

std::vector<FormView*>& Registry() {
  static std::vector<FormView*> views;
  return views;
}

QString Q(const Str& s) { return QString::fromStdU16String(s); }

// Button and menu texts are shown as written: '&' is not a mnemonic here.
QString Literal(const Str& s) { return Q(s).replace(u'&', QStringLiteral("&&")); }

// The menu bar's entries open from the keyboard with Alt and a letter, shown
// after the caption as Japanese desktop programs do: 棋譜処理(K).
QString MenuBarText(const Str& caption) {
  static const std::map<Str, char> letters = {
      {u"棋譜処理", 'K'}, {u"打ち掛け", 'U'}, {u"対局処理", 'T'}, {u"定石", 'J'},       {u"手筋", 'S'},
      {u"ヨセ", 'Y'},     {u"詰碁", 'M'},     {u"棋譜印刷", 'P'}, {u"ヘルプ", 'H'},     {u"終了", 'X'},
      {u"メイン碁盤へ", 'B'}, {u"残情報", 'Z'}, {u"表示", 'V'}};
  const auto it = letters.find(caption);
  if (it == letters.end()) return Literal(caption);
  return Literal(caption) + QStringLiteral("(&%1)").arg(QChar(it->second));
}

// A click on the slider's groove puts the thumb where the mouse is, as a
// drag would, instead of stepping a page towards it.
class JumpingSliderStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// Calls `f` when a mouse button is released over the watched widget, before
// the widget itself handles the release.
class ReleaseWatcher : public QObject {
 public:
  ReleaseWatcher(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) f_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> f_;
};

// The keys a slider moves its thumb with; they are the slider's while it
// has the focus, before any shortcut of the window.
class SliderKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
          event->accept();
          return true;
        default:
          break;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

// Lines drawn and measured without their trailing blanks: the fixed-width
// records pad every line, and the padding alone must not widen a list or
// end a line in an ellipsis.
class TrimmedLines : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    QString& t = option->text;
    qsizetype n = t.size();
    while (n > 0 && (t[n - 1] == u' ' || t[n - 1] == QChar(0x3000))) --n;
    t.truncate(n);
  }
};

QFont ListFont() {
  // A monospaced face that also holds the kana and kanji, so that lists laid
  // out in fixed columns line up.
  const QStringList families = QFontDatabase::families();
  for (const char* name : {"Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "Noto Sans Mono"})
    if (families.contains(QString::fromLatin1(name))) return QFont(QString::fromLatin1(name));
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

}  // namespace

const std::vector<FormView*>& AllViews() { return Registry(); }

FormView* ViewOf(const Window& window) {
  for (FormView* v : Registry())
    if (static_cast<const Window*>(&v->Model()) == &window) return v;
  return nullptr;
}

void RefreshAllViews() {
  // A copy: a refresh never makes or destroys views, but be safe against it.
  const std::vector<FormView*> views = Registry();
  for (FormView* v : views) v->Refresh();
}

std::unique_ptr<FormView> MakeView(Form& form) {
  if (form.FormName() == "Form2") return std::make_unique<FormView>(form, Form2Layout());
  if (form.FormName() == "Form3") return std::make_unique<FormView>(form, Form3Layout());
  if (form.FormName() == "Form4") return std::make_unique<FormView>(form, Form4Layout());
  return std::make_unique<FormView>(form, ViewLayout{});
}

FormView::FormView(Form& form, ViewLayout layout, QWidget* parent)
    : QMainWindow(parent), form_(form), layout_(std::move(layout)) {
  Registry().push_back(this);
  setObjectName(QString::fromStdString(form.FormName()));
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("central"));
  setCentralWidget(central);

  for (Control* c : form.Controls()) {
    if (auto* bar = dynamic_cast<StatusBar*>(c)) {
      statusLabel_ = new QLabel(statusBar());
      statusLabel_->setObjectName(QString::fromStdString(c->Name()));
      statusLabel_->setTextFormat(Qt::PlainText);
      statusLabel_->setContentsMargins(4, 2, 4, 2);
      // A long status text is cut at the window's edge; it never widens the
      // window beyond a small screen.
      statusLabel_->setMinimumWidth(1);
      statusBar()->setStyleSheet(QStringLiteral("QStatusBar { border-top: 1px solid palette(mid); }"));
      statusBar()->addWidget(statusLabel_, 1);
      statusBar()->setSizeGripEnabled(true);
      widgets_[c->Name()] = statusLabel_;
      bindings_.push_back({c, statusLabel_, 0, [this, bar] {
                             statusLabel_->setText(Q(bar->Panel(1)));
                             statusBar()->setVisible(bar->Visible());
                             statusBar()->setToolTip(Q(bar->HelpText()));
                             statusBar()->setWhatsThis(Q(bar->HelpText()));
                           }});
      continue;
    }
    QWidget* w = MakeWidget(*c, central);
    if (!w) continue;
    w->setObjectName(QString::fromStdString(c->Name()));
    widgets_[c->Name()] = w;
    Bind(*c, w);
  }
  BuildMenus();
  if (layout_.arrange)
    layout_.arrange(*this);
  else
    StackDefault();
  BindKeys();
  // On a screen too small for the window (a small laptop, a large scale
  // factor) the content scrolls instead of being cut off.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("scroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(takeCentralWidget());
  setCentralWidget(scroll);
  Refresh();
}

QWidget* FormView::Content() const {
  auto* scroll = qobject_cast<QScrollArea*>(centralWidget());
  return scroll ? scroll->widget() : centralWidget();
}

void FormView::FitOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize most = (room.size() - frame).expandedTo(QSize(1, 1));
  if (width() > most.width() || height() > most.height()) resize(size().boundedTo(most));
  const QRect outer = frameGeometry();
  const int x = std::clamp(outer.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width()));
  const int y = std::clamp(outer.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height()));
  if (x != outer.x() || y != outer.y()) move(x, y);
}

void FormView::PressButton(const std::string& name) {
  auto* button = dynamic_cast<CommandButton*>(form_.FindControl(name));
  if (!button || !button->Visible() || !button->Enabled()) return;
  Forward(button, [button] { button->Click(); });
}

void FormView::BindKeys() {
  for (const auto& [key, button] : layout_.keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, name = button] { PressButton(name); });
  }
  for (const auto& [listName, button] : layout_.doubleClicks) {
    auto* list = Widget<QListWidget>(listName);
    if (!list) continue;
    connect(list, &QListWidget::itemDoubleClicked, this, [this, name = button] {
      if (!syncing_) PressButton(name);
    });
  }
}

FormView::~FormView() {
  // The widgets die after this body has run; nothing they signal on the way
  // out may reach the models.
  dying_ = true;
  auto& views = Registry();
  views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

QWidget* FormView::WidgetOf(const std::string& controlName) const {
  auto it = widgets_.find(controlName);
  return it == widgets_.end() ? nullptr : it->second;
}

QAction* FormView::ActionOf(const std::string& menuName) const {
  auto it = actions_.find(menuName);
  return it == actions_.end() ? nullptr : it->second;
}

QWidget* FormView::MakeWidget(Control& c, QWidget* parent) {
  if (dynamic_cast<MMControl*>(&c)) return nullptr;
  if (layout_.makeWidget)
    if (QWidget* w = layout_.makeWidget(c, parent)) return w;
  if (auto* cells = dynamic_cast<BoardCells*>(&c)) return new BoardWidget(*cells, parent);
  if (dynamic_cast<Label*>(&c)) return new QLabel(parent);
  if (dynamic_cast<CommandButton*>(&c)) return new QPushButton(parent);
  if (dynamic_cast<OptionButton*>(&c)) return new QRadioButton(parent);
  if (dynamic_cast<Frame*>(&c)) return new QGroupBox(parent);
  if (dynamic_cast<TextBox*>(&c)) return new QLineEdit(parent);
  if (dynamic_cast<ListBox*>(&c)) return new QListWidget(parent);
  if (dynamic_cast<Slider*>(&c)) return new QSlider(Qt::Horizontal, parent);
  return nullptr;
}

void FormView::Bind(Control& c, QWidget* w) {
  auto common = [control = &c, w] {
    w->setVisible(control->Visible());
    w->setEnabled(control->Enabled());
    w->setToolTip(Q(control->HelpText()));
    w->setWhatsThis(Q(control->HelpText()));
  };
  std::function<void()> sync = common;

  if (auto* label = dynamic_cast<Label*>(&c); label && qobject_cast<QLabel*>(w)) {
    auto* l = static_cast<QLabel*>(w);
    l->setTextFormat(Qt::PlainText);
    sync = [common, label, l] {
      common();
      l->setText(Q(label->Caption()));
      QPalette p = l->palette();
      p.setColor(QPalette::WindowText, QColor::fromRgb(label->ForeColor()));
      l->setPalette(p);
    };
  } else if (auto* button = dynamic_cast<CommandButton*>(&c); button && qobject_cast<QPushButton*>(w)) {
    auto* b = static_cast<QPushButton*>(w);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    connect(b, &QPushButton::clicked, this, [this, button] { Forward(button, [button] { button->Click(); }); });
    sync = [common, button, b] {
      common();
      b->setText(Literal(button->Caption()));
    };
  } else if (auto* option = dynamic_cast<OptionButton*>(&c); option && qobject_cast<QRadioButton*>(w)) {
    auto* r = static_cast<QRadioButton*>(w);
    connect(r, &QRadioButton::toggled, this, [this, option](bool on) {
      if (syncing_ || !on) return;
      Forward(option, [option] { option->Click(); });
    });
    sync = [common, option, r] {
      common();
      r->setText(Literal(option->Caption()));
      // An exclusive radio button refuses to be cleared; the model says
      // which one is set, so let it.
      r->setAutoExclusive(false);
      r->setChecked(option->Value());
      r->setAutoExclusive(true);
    };
  } else if (auto* frame = dynamic_cast<Frame*>(&c); frame && qobject_cast<QGroupBox*>(w)) {
    auto* g = static_cast<QGroupBox*>(w);
    sync = [common, frame, g] {
      common();
      g->setTitle(Q(frame->Caption()));
    };
  } else if (auto* text = dynamic_cast<TextBox*>(&c); text && qobject_cast<QLineEdit*>(w)) {
    auto* e = static_cast<QLineEdit*>(w);
    e->setValidator(new FitValidator(*text, e));
    connect(e, &QLineEdit::textEdited, this, [this, text](const QString& t) {
      if (syncing_) return;
      Forward(text, [text, t] { text->SetText(t.toStdU16String()); });
    });
    sync = [common, text, e] {
      common();
      const QString t = Q(text->Text());
      e->setMaxLength(text->MaxUnits() >= 0 ? text->MaxUnits() : 32767);
      if (e->text() != t) e->setText(t);
      e->setReadOnly(text->Locked());
    };
  } else if (auto* list = dynamic_cast<ListBox*>(&c); list && qobject_cast<QListWidget*>(w)) {
    auto* lw = static_cast<QListWidget*>(w);
    lw->setFont(ListFont());
    lw->setItemDelegate(new TrimmedLines(lw));
    lw->setSelectionMode(QAbstractItemView::SingleSelection);
    lw->setUniformItemSizes(true);
    // Selection, not the current item, is what the player chose: focus
    // alone makes an item current. A press that selected an item has been
    // forwarded already; a press on the selected item is forwarded on its own.
    auto pressSelected = std::make_shared<bool>(false);
    connect(lw, &QListWidget::itemSelectionChanged, this, [this, list, lw, pressSelected] {
      if (syncing_) return;
      const QList<QListWidgetItem*> chosen = lw->selectedItems();
      const int row = chosen.isEmpty() ? -1 : lw->row(chosen.front());
      *pressSelected = QApplication::mouseButtons() != Qt::NoButton;
      Forward(list, [list, row] { list->SetListIndex(row); });
    });
    connect(lw, &QListWidget::itemPressed, this, [this, list, lw, pressSelected](QListWidgetItem* item) {
      if (syncing_) return;
      if (*pressSelected) {
        *pressSelected = false;
        return;
      }
      const int row = lw->row(item);
      Forward(list, [list, row] { list->SetListIndex(row); });
    });
    auto structureShown = std::make_shared<uint64_t>(0);
    auto textShown = std::make_shared<uint64_t>(0);
    auto topShown = std::make_shared<int>(-1);
    sync = [common, list, lw, structureShown, textShown, topShown] {
      common();
      if (*structureShown != list->StructureRevision()) {
        *structureShown = list->StructureRevision();
        *textShown = list->TextRevision();
        // Lines go in by the thousand: a list of 31,000 problems added line
        // by line costs the view a layout per line, and all at once a second
        // copy of every line.
        lw->clear();
        QStringList lines;
        for (int i = 0; i < list->ListCount(); ++i) {
          lines.append(Q(list->List(i)));
          if (lines.size() == 1024 || i + 1 == list->ListCount()) {
            lw->addItems(lines);
            lines.clear();
          }
        }
        *topShown = -1;
      } else if (*textShown != list->TextRevision()) {
        *textShown = list->TextRevision();
        for (int i = 0; i < list->ListCount(); ++i) {
          const QString t = Q(list->List(i));
          if (QListWidgetItem* item = lw->item(i); item && item->text() != t) item->setText(t);
        }
      }
      if (lw->currentRow() != list->ListIndex() || (list->ListIndex() >= 0) != !lw->selectedItems().isEmpty())
        lw->setCurrentRow(list->ListIndex());
      if (*topShown != list->TopIndex()) {
        *topShown = list->TopIndex();
        if (QListWidgetItem* item = lw->item(list->TopIndex()))
          lw->scrollToItem(item, QAbstractItemView::PositionAtTop);
      }
    };
  } else if (auto* slider = dynamic_cast<Slider*>(&c); slider && qobject_cast<QSlider*>(w)) {
    auto* s = static_cast<QSlider*>(w);
    auto* style = new JumpingSliderStyle;
    style->setParent(s);
    s->setStyle(style);
    s->setFocusPolicy(Qt::StrongFocus);
    s->installEventFilter(new SliderKeys(s));
    connect(s, &QSlider::valueChanged, this, [this, slider, s](int v) {
      if (syncing_) return;
      // Moved by a key or the wheel, with no button to release: the board
      // follows at once, as it does when a drag ends.
      const bool settled = !s->isSliderDown() && QApplication::mouseButtons() == Qt::NoButton;
      Forward(slider, [slider, v, settled] {
        slider->SetValue(v);
        if (settled && slider->OnMouseUp) slider->OnMouseUp();
      });
    });
    s->installEventFilter(new ReleaseWatcher(s, [this, slider, s] {
      if (!s->isEnabled()) return;
      const int v = s->value();
      Forward(slider, [slider, v] {
        slider->SetValue(v);
        if (slider->OnMouseUp) slider->OnMouseUp();
      });
    }));
    sync = [common, slider, s] {
      common();
      if (s->minimum() != slider->Min() || s->maximum() != slider->Max()) s->setRange(slider->Min(), slider->Max());
      s->setValue(slider->Value());
    };
  } else if (auto* cells = dynamic_cast<BoardCells*>(&c); cells && qobject_cast<BoardWidget*>(w)) {
    auto* b = static_cast<BoardWidget*>(w);
    connect(b, &BoardWidget::pressed, this, [this, cells](int point, int button, int shift) {
      Forward(cells, [cells, point, button, shift] { cells->MouseDown(point, button, shift); });
    });
    sync = [common, b] {
      common();
      b->Sync();
    };
  }
  bindings_.push_back({&c, w, 0, std::move(sync)});
}

void FormView::BuildMenus() {
  for (auto& item : form_.MenuBar.Items()) {
    if (item->Items().empty()) {
      AddMenuAction(*item, menuBar());
      continue;
    }
    QMenu* m = menuBar()->addMenu(MenuBarText(item->Caption()));
    menus_.push_back({item.get(), m->menuAction(), 0});
    if (!item->Name().empty()) actions_[item->Name()] = m->menuAction();
    AddMenuItems(*item, m);
  }
}

void FormView::AddMenuItems(Menu& parent, QMenu* into) {
  for (auto& item : parent.Items()) {
    if (item->Items().empty()) {
      AddMenuAction(*item, into);
      continue;
    }
    QMenu* m = into->addMenu(Literal(item->Caption()));
    menus_.push_back({item.get(), m->menuAction(), 0});
    if (!item->Name().empty()) actions_[item->Name()] = m->menuAction();
    AddMenuItems(*item, m);
  }
}

bool FormView::OnMenuBar(const Menu& m) const {
  for (const auto& item : form_.MenuBar.Items())
    if (item.get() == &m) return true;
  return false;
}

QAction* FormView::AddMenuAction(Menu& m, QWidget* into) {
  auto* a = new QAction(OnMenuBar(m) ? MenuBarText(m.Caption()) : Literal(m.Caption()), into);
  into->addAction(a);
  Menu* menu = &m;
  connect(a, &QAction::triggered, this, [this, menu] { Forward(menu, [menu] { menu->Click(); }); });
  menus_.push_back({menu, a, 0});
  if (!m.Name().empty()) actions_[m.Name()] = a;
  return a;
}

void FormView::StackDefault() {
  auto* box = new QVBoxLayout(centralWidget());
  QGroupBox* frame = nullptr;
  for (const Binding& b : bindings_) {
    if (b.widget == statusLabel_) continue;
    if (auto* g = qobject_cast<QGroupBox*>(b.widget)) {
      frame = g;
      new QVBoxLayout(g);
      box->addWidget(g);
    } else if (frame && qobject_cast<QRadioButton*>(b.widget)) {
      frame->layout()->addWidget(b.widget);
    } else {
      box->addWidget(b.widget, qobject_cast<BoardWidget*>(b.widget) ? 1 : 0);
    }
  }
}

void FormView::Refresh() {
  if (dying_) return;
  const bool wasSyncing = syncing_;
  syncing_ = true;
  const QString caption = Q(form_.Caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  for (Binding& b : bindings_) {
    if (b.control->Revision() == b.shown) continue;
    b.shown = b.control->Revision();
    b.sync();
  }
  for (MenuBinding& m : menus_) {
    if (m.menu->Revision() == m.shown) continue;
    m.shown = m.menu->Revision();
    m.action->setText(OnMenuBar(*m.menu) ? MenuBarText(m.menu->Caption()) : Literal(m.menu->Caption()));
    m.action->setVisible(m.menu->Visible());
    m.action->setCheckable(m.menu->Checkable());
    m.action->setChecked(m.menu->Checked());
    m.action->setEnabled(m.menu->Enabled());
  }
  syncing_ = wasSyncing;
}

void FormView::Forward(Control* touched, const std::function<void()>& action) {
  if (dying_) return;
  action();
  for (Binding& b : bindings_)
    if (b.control == touched) b.shown = 0;
  for (MenuBinding& m : menus_)
    if (m.menu == touched) m.shown = 0;
  RefreshAllViews();
}

void FormView::closeEvent(QCloseEvent* event) {
  if (closeAllowed_ || dying_) {
    closeAllowed_ = false;
    event->accept();
    return;
  }
  // The program decides whether the window goes; ask it once this event
  // is over, so that whatever it does (a question, ending) is not nested
  // inside the close.
  event->ignore();
  QPointer<FormView> self(this);
  QTimer::singleShot(0, this, [self] {
    if (!self) return;
    if (!self->layout_.closeMenu.empty()) {
      if (Menu* m = self->form_.FindMenu(self->layout_.closeMenu)) self->Forward(m, [m] { m->Click(); });
      return;
    }
    Form* form = &self->form_;
    self->Forward(nullptr, [form] { form->Unload(); });
  });
}

}  // namespace sol
