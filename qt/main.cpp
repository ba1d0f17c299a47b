// The desktop program: the Qt application, the platform, the program and
// the views of its windows.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/instance_lock.h"
#include "app/program.h"
#include "core/file_system.h"
#include "core/messages.h"
#include "qt/qt_platform.h"

namespace {

// Qt ends the process with a terse message when there is no display to
// connect to; say how to run the program instead, before trying.
bool HasDisplay() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return true;
#else
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#endif
}

void UseJapaneseFont(QApplication& app) {
  const QStringList families = QFontDatabase::families();
  for (const char* name : {"Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "IPAGothic", "VL Gothic"}) {
    const QString family = QString::fromUtf8(name);
    if (families.contains(family)) {
      QFont f = app.font();
      f.setFamily(family);
      app.setFont(f);
      return;
    }
  }
}

// Every command runs inside an event: one that runs out of memory ends
// there, its files put back as the stack unwinds, and the program goes on.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  sol::Platform* platform = nullptr;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      if (platform)
        platform->MsgBox(sol::msg::OutOfMemory, sol::Buttons::OK, sol::Icon::Information, sol::msg::CannotWriteTitle);
      return true;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    const char* self = argc > 0 && argv[0] ? argv[0] : "solneka";
    std::fprintf(stderr,
                 "ソルネカ: 画面（X11 / Wayland の表示先）が見つからないため起動できません。\n"
                 "  デスクトップ上で起動するか、画面のない環境では仮想画面を使ってください:\n"
                 "    xvfb-run -a %s\n"
                 "solneka: no display found (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                 "  Start it from a desktop session, or without a screen use a virtual one:\n"
                 "    xvfb-run -a %s\n"
                 "  (or choose a Qt platform plugin with QT_QPA_PLATFORM).\n",
                 self, self);
    return 1;
  }

  Application app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("solneka"));
  // The program decides when it ends (the exit menu asks first).
  QApplication::setQuitOnLastWindowClosed(false);
  UseJapaneseFont(app);

  const QString programDir = QCoreApplication::applicationDirPath();
  sol::QtPlatform platform(programDir);
  app.platform = &platform;
  // Two copies on the same data files would undo each other's changes.
  const sol::InstanceLock lock(QDir::toNativeSeparators(programDir).toStdString());
  if (lock.Result() == sol::InstanceLock::Outcome::HeldElsewhere) {
    platform.MsgBox(sol::AlreadyRunningText, sol::Buttons::OK, sol::Icon::Information, sol::AlreadyRunningTitle);
    return 1;
  }
  // Without the lock another copy may be writing: look, but change nothing.
  if (lock.Result() != sol::InstanceLock::Outcome::Taken) {
    sol::SetReadOnly(true);
    platform.MsgBox(sol::ReadOnlyStartText, sol::Buttons::OK, sol::Icon::Information, sol::AlreadyRunningTitle);
  }
  int result = 0;
  {
    sol::Program program(platform, QDir::toNativeSeparators(programDir).toStdString());
    platform.CreateViews(program.Forms());
    // What Qt left of the command line after taking its own options, as
    // absolute paths (the program's folder is not the one it was started in).
    std::vector<std::string> files;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
      files.push_back(QDir::toNativeSeparators(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
    program.Start(files);
    result = QApplication::exec();
    platform.DestroyViews();
  }
  app.platform = nullptr;
  return result;
}
