#include "qt/form_view.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "qt/board_widget.h"
#include "qt/control_binders.h"
#include "qt/form2_view.h"
#include "qt/form3_view.h"
#include "qt/form4_view.h"
#include "qt/study_view.h"

namespace sol {

namespace {

std::vector<FormView*>& Registry() {
  static std::vector<FormView*> views;
  return views;
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
  if (form.FormName() == "Form5") return std::make_unique<FormView>(form, StudyLayout());
  return std::make_unique<FormView>(form, ViewLayout{});
}

FormView::FormView(Form& form, ViewLayout layout, QWidget* parent)
    : QMainWindow(parent), form_(form), layout_(std::move(layout)) {
  Registry().push_back(this);
  setObjectName(QString::fromStdString(form.FormName()));
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("central"));
  setCentralWidget(central);

  for (Control* c : form.Controls()) BindControl(*c, central);
  BuildMenus(form_.MenuBar, menuBar());
  if (layout_.arrange)
    layout_.arrange(*this);
  else
    StackDefault();
  BindKeys();
  setAcceptDrops(layout_.takesFiles);
  CheckLayoutNames();
  for (const std::string& fault : faults_) qWarning("%s: %s", form.FormName().c_str(), fault.c_str());
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
  auto* button = form_.Find<CommandButton>(name);
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
    auto* list = Widget<QListView>(listName);
    if (!list) continue;
    connect(list, &QAbstractItemView::doubleClicked, this, [this, name = button] {
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

void FormView::BindControl(Control& c, QWidget* central) {
  const ControlBinder* binder = BinderFor(c);
  if (!binder) {
    if (!HasNoWidget(c)) faults_.push_back(c.Name() + ": no binder shows a control of its type");
    return;
  }
  QWidget* w = nullptr;
  if (layout_.makeWidget && !binder->InStatusBar()) w = layout_.makeWidget(c, central);
  if (w && !binder->Drives(w)) {
    faults_.push_back(c.Name() + ": the layout's own widget is not of the class its binder drives");
    delete w;
    w = nullptr;
  }
  if (!w) w = binder->MakeWidget(*this, c, central);
  w->setObjectName(QString::fromStdString(c.Name()));
  widgets_[c.Name()] = w;
  if (binder->InStatusBar()) statusLabel_ = qobject_cast<QLabel*>(w);
  bindings_.push_back({&c, w, 0, binder->Bind(*this, c, w)});
}

void FormView::BuildMenus(Menu& parent, QWidget* into) {
  for (auto& item : parent.Items()) {
    if (item->IsSeparator()) {
      QAction* line = new QAction(into);
      line->setSeparator(true);
      into->addAction(line);
      continue;
    }
    QAction* action = nullptr;
    QMenu* submenu = nullptr;
    if (item->Items().empty()) {
      action = new QAction(into);
    } else {
      submenu = new QMenu(into);
      action = submenu->menuAction();
    }
    into->addAction(action);
    bindings_.push_back({item.get(), nullptr, 0, BindMenu(*this, *item, action)});
    if (!item->Name().empty()) {
      // Named as the program names the entry, so that tools find it whatever its caption.
      action->setObjectName(QString::fromStdString(item->Name()));
      actions_[item->Name()] = action;
    }
    if (submenu) BuildMenus(*item, submenu);
  }
}

void FormView::NoteMissing(const std::string& name) {
  faults_.push_back(name + (WidgetOf(name) ? ": the layout takes its widget for one of another class"
                                           : ": the layout names a widget the window does not have"));
}

void FormView::CheckLayoutNames() {
  auto button = [this](const std::string& name) {
    if (!form_.Find<CommandButton>(name))
      faults_.push_back(name + ": the layout names a button the window does not have");
  };
  for (const auto& [key, name] : layout_.keys) button(name);
  for (const auto& [list, name] : layout_.doubleClicks) {
    if (!Widget<QListView>(list)) NoteMissing(list);
    button(name);
  }
  if (!layout_.closeMenu.empty() && !form_.FindMenu(layout_.closeMenu))
    faults_.push_back(layout_.closeMenu + ": the layout names a menu entry the window does not have");
  if (!layout_.printText.empty() && !form_.Find<Label>(layout_.printText))
    faults_.push_back(layout_.printText + ": the layout names a label the window does not have");
}

void FormView::StackDefault() {
  auto* box = new QVBoxLayout(centralWidget());
  QGroupBox* frame = nullptr;
  for (const Binding& b : bindings_) {
    if (!b.widget || b.widget == statusLabel_) continue;
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
  const QString caption = QString::fromStdU16String(form_.Caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  for (Binding& b : bindings_) {
    if (b.control->Revision() == b.shown) continue;
    b.shown = b.control->Revision();
    b.sync();
  }
  syncing_ = wasSyncing;
}

void FormView::Forward(Control* touched, const std::function<void()>& action) {
  if (dying_) return;
  action();
  for (Binding& b : bindings_)
    if (b.control == touched) b.shown = 0;
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

namespace {

// The paths of a drag that carries local files and nothing else; empty
// for anything else (text, a web address).
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace

void FormView::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).empty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void FormView::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = LocalFiles(event->mimeData());
  if (paths.empty()) return event->ignore();
  event->acceptProposedAction();
  // Opening may ask questions; the drag's source is let go first.
  QPointer<FormView> self(this);
  QTimer::singleShot(0, this, [self, paths = std::move(paths)] {
    if (self) self->Forward(nullptr, [&] { self->form_.DropFiles(paths); });
  });
}

}  // namespace sol
