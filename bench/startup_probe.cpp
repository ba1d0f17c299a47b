// Loaded into the real program with LD_PRELOAD by solneka-bench-startup; it
// does nothing unless SOLNEKA_PROBE_REPORT names a file. It notes when the
// main window receives its first paint event and writes the moment
// (CLOCK_MONOTONIC, ns) to that file. With SOLNEKA_PROBE_WALK set it then
// opens every mode of the problem window, the library window and its
// capacity report through their menu entries, as a player would, and adds
// the process's peak resident memory. Then it ends the program.
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench/window_walk.h"

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Resident memory now, from /proc.
long ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class Probe : public QObject {
 public:
  explicit Probe(const char* report) : report_(report) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->window()->objectName() == QLatin1String("Form2")) {
        painted_ = true;
        paintNs_ = NowNs();
        paintRss_ = ResidentKb();
        QTimer::singleShot(0, this, [this] { Finish(); });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Finish() {
    int steps = 0, missing = 0;
    if (std::getenv("SOLNEKA_PROBE_WALK")) {
      int n = 0;
      for (const sol::bench::WalkStep& s : sol::bench::WindowWalk) {
        if (QAction* entry = sol::bench::MenuEntry(s)) {
          entry->trigger();
          for (int i = 0; i < 5; ++i) QApplication::processEvents();
          ++steps;
        } else {
          ++missing;
          missed_ += std::string(missed_.empty() ? "" : " ") + s.form + ":" + s.menu;
        }
        rss_ += std::string("rss_kb_after_") + s.menu + "=" + std::to_string(ResidentKb()) + "\n";
        if (++n == sol::bench::WalkModeSteps) modesPeakKb_ = PeakKb();
      }
    }
    if (FILE* f = std::fopen(report_, "w")) {
      std::fprintf(
          f,
          "paint_ns=%lld\nsteps=%d\nmissing=%d\nmaxrss_kb=%ld\nmaxrss_kb_modes=%ld\nrss_kb_at_first_paint=%ld\n%s"
          "missed=%s\n",
          paintNs_, steps, missing, PeakKb(), modesPeakKb_, paintRss_, rss_.c_str(), missed_.c_str());
      std::fclose(f);
    }
    QCoreApplication::exit(0);
  }

  const char* report_;
  bool painted_ = false;
  long long paintNs_ = 0;
  long paintRss_ = 0;
  long modesPeakKb_ = 0;
  std::string rss_;
  std::string missed_;  // the steps whose entry was not there
};

void Install() {
  const char* report = std::getenv("SOLNEKA_PROBE_REPORT");
  if (!report || !*report || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(new Probe(report));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
