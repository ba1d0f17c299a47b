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

#include "app/data_folder.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "core/allocator.h"
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

// The data and share folders for what Qt left of the command line after
// taking its own options.
sol::FolderChoice ChooseFolders(const QStringList& arguments) {
  sol::FolderInputs in;
  for (qsizetype i = 1; i < arguments.size(); ++i) in.arguments.push_back(arguments[i].toStdString());
  in.workingDir = QDir::currentPath().toStdString();
  in.solnekaHome = qEnvironmentVariable("SOLNEKA_HOME").toStdString();
  in.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME").toStdString();
  in.home = qEnvironmentVariable("HOME").toStdString();
  in.programDir = QCoreApplication::applicationDirPath().toStdString();
#ifdef SOLNEKA_SHARE_DIR
  in.installedShareDir = SOLNEKA_SHARE_DIR;
#endif
  in.holdsShippedFiles = [](const std::string& dir) {
    return QFileInfo::exists(QString::fromStdString(dir) + QStringLiteral("/ソルネカ.HLP"));
  };
  in.writable = sol::CanWriteFolder;
  return sol::ChooseFolders(in);
}

}  // namespace

int main(int argc, char** argv) {
  sol::KeepLargeBuffersInHeap();
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

  const QStringList arguments = QCoreApplication::arguments();
  const sol::FolderChoice folders = ChooseFolders(arguments);
  const QString dataDir = QString::fromStdString(folders.dataDir);
  const QString shareDir = QString::fromStdString(folders.shareDir);
  sol::QtPlatform platform(shareDir, dataDir);
  app.platform = &platform;
  // The self-check reports on the terminal, where no one waits to answer a box.
  auto tell = [&](const sol::Str& text, const sol::Str& title) {
    if (folders.selfCheck)
      std::fprintf(stderr, "%s\n", sol::ToUtf8(text).c_str());
    else
      platform.MsgBox(text, sol::Buttons::OK, sol::Icon::Information, title);
  };
  // Without a usable data folder the program ends before anything is read
  // or written.
  sol::Str problem = folders.error;
  if (problem.empty()) problem = sol::PrepareDataFolder(folders.dataDir, folders.origin);
  if (!problem.empty()) {
    tell(problem, sol::DataFolderTitle);
    return 1;
  }
  // Two copies on the same data files would undo each other's changes.
  const sol::InstanceLock lock(QDir::toNativeSeparators(dataDir).toStdString());
  if (lock.Result() == sol::InstanceLock::Outcome::HeldElsewhere) {
    tell(sol::AlreadyRunningText, sol::AlreadyRunningTitle);
    return 1;
  }
  // Without the lock another copy may be writing: look, but change nothing.
  if (lock.Result() != sol::InstanceLock::Outcome::Taken) {
    sol::SetReadOnly(true);
    tell(sol::ReadOnlyStartText, sol::AlreadyRunningTitle);
  }
  int result = 0;
  {
    sol::Program program(platform, QDir::toNativeSeparators(dataDir).toStdString(),
                         QDir::toNativeSeparators(shareDir).toStdString());
    platform.CreateViews(program.Forms());
    // The files to open as absolute paths (the program's folder is not the
    // one it was started in).
    std::vector<std::string> files;
    for (const std::string& f : folders.files)
      files.push_back(QDir::toNativeSeparators(QFileInfo(QString::fromStdString(f)).absoluteFilePath()).toStdString());
    if (folders.selfCheck) {
      // Starts as on a first run (an empty data folder gets the starter
      // problems), tells what it found and ends.
      program.Start({});
      bool ok = false;
      std::fputs(sol::DescribeFolders(program.State, ok).c_str(), stdout);
      platform.DestroyViews();
      app.platform = nullptr;
      return ok ? 0 : 1;
    }
    program.Start(files);
    result = QApplication::exec();
    platform.DestroyViews();
  }
  app.platform = nullptr;
  return result;
}
