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

QWidget* Window(const char* formName) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(formName)) return w;
  return nullptr;
}

// The menu entry of a window by its caption; false when there is none.
bool Choose(const char* formName, const QString& caption) {
  QWidget* w = Window(formName);
  if (!w) return false;
  for (QAction* a : w->findChildren<QAction*>())
    if (a->text() == caption) {
      a->trigger();
      for (int i = 0; i < 5; ++i) QApplication::processEvents();
      return true;
    }
  return false;
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
      struct Step {
        const char* form;
        const char* caption;
      };
      const Step walk[] = {
          {"Form2", "手筋講座"},     {"Form4", "手筋登録"}, {"Form4", "ヨセ講座"}, {"Form4", "ヨセ登録"},
          {"Form4", "詰碁講座"},     {"Form4", "詰碁登録"}, {"Form4", "定石講座"}, {"Form4", "定石登録"},
          {"Form4", "メイン碁盤へ"}, {"Form2", "棋譜処理"}, {"Form3", "残情報"},   {"Form3", "メイン碁盤へ"},
      };
      for (const Step& s : walk) {
        (Choose(s.form, QString::fromUtf8(s.caption)) ? steps : missing)++;
        rss_ += std::string("rss_kb_after_") + s.caption + "=" + std::to_string(ResidentKb()) + "\n";
        // The eighth mode is the last of the problem window's.
        if (&s == &walk[7]) modesPeakKb_ = PeakKb();
      }
    }
    if (FILE* f = std::fopen(report_, "w")) {
      std::fprintf(
          f, "paint_ns=%lld\nsteps=%d\nmissing=%d\nmaxrss_kb=%ld\nmaxrss_kb_modes=%ld\nrss_kb_at_first_paint=%ld\n%s",
          paintNs_, steps, missing, PeakKb(), modesPeakKb_, paintRss_, rss_.c_str());
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
};

void Install() {
  const char* report = std::getenv("SOLNEKA_PROBE_REPORT");
  if (!report || !*report || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(new Probe(report));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
