// Start-up and memory of the real program on full data files. The program
// is copied into a folder with the full data set (it keeps its files beside
// itself) and started on the offscreen platform with startup_probe loaded,
// which reports when the main window first paints. Start-up is the time
// from just before the exec to that paint, over several runs. A last run
// opens every window and mode and reports the peak resident memory.
//
//   solneka-bench-startup --program=build/bin/solneka --probe=build/bin/libsolneka_probe.so
//                         [--runs=10] [--table=FILE]
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

std::map<std::string, long long> ReadReport(const std::string& path) {
  std::map<std::string, long long> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) out[line.substr(0, eq)] = std::atoll(line.c_str() + eq + 1);
  }
  return out;
}

struct Run {
  bool ok = false;
  double startupMs = 0;
  long maxRssKb = 0;
  long modesRssKb = 0;  // peak when the eight modes of the problem window have been opened
  long long steps = 0, missing = 0;
  std::string missed;  // the menu entries the walk did not find
  std::string why;     // what went wrong when !ok
};

// The text of one line `key=...` of the report.
std::string ReportText(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

Run StartOnce(const std::string& program, const std::string& probe, const std::string& report, bool walk) {
  fs::remove(report);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("LD_PRELOAD=", 0) == 0 || v.rfind("SOLNEKA_PROBE_", 0) == 0)
      continue;
    env.push_back(v);
  }
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("LD_PRELOAD=" + probe);
  env.push_back("SOLNEKA_PROBE_REPORT=" + report);
  if (walk) env.push_back("SOLNEKA_PROBE_WALK=1");
  std::vector<char*> envp;
  for (std::string& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};

  Run run;
  pid_t pid = 0;
  const long long start = NowNs();
  if (const int e = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()); e != 0) {
    run.why = "cannot start " + program + ": " + std::strerror(e);
    return run;
  }
  int status = 0;
  rusage usage{};
  // A program that never paints is stopped after a while.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    const pid_t done = wait4(pid, &status, WNOHANG, &usage);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      run.why = "the program did not end within 60 s";
      return run;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const auto r = ReadReport(report);
  if (!r.count("paint_ns")) {
    run.why = "the main window never painted (no report from the probe; exit status " + std::to_string(status) + ")";
    return run;
  }
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!run.ok) run.why = "the program ended with status " + std::to_string(status);
  run.startupMs = static_cast<double>(r.at("paint_ns") - start) / 1e6;
  run.maxRssKb = usage.ru_maxrss;
  run.modesRssKb = r.count("maxrss_kb_modes") ? static_cast<long>(r.at("maxrss_kb_modes")) : 0;
  run.steps = r.count("steps") ? r.at("steps") : 0;
  run.missing = r.count("missing") ? r.at("missing") : 0;
  run.missed = ReportText(report, "missed");
  if (walk)
    for (const auto& [key, value] : r)
      if (key.rfind("rss_kb_", 0) == 0) std::printf("  %s: %.1f MB\n", key.c_str() + 7, value / 1024.0);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  std::string program, probe, table;
  int runs = 10;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--program=", 0) == 0) program = a.substr(10);
    if (a.rfind("--probe=", 0) == 0) probe = a.substr(8);
    if (a.rfind("--runs=", 0) == 0) runs = std::max(1, std::atoi(a.c_str() + 7));
    if (a.rfind("--table=", 0) == 0) table = a.substr(8);
  }
  if (program.empty() || probe.empty()) {
    std::fprintf(stderr, "usage: solneka-bench-startup --program=PATH --probe=PATH [--runs=N] [--table=FILE]\n");
    return 2;
  }
  program = fs::absolute(program).string();
  probe = fs::absolute(probe).string();

  // The installed layout: the program, its sounds and help beside the data.
  const std::string& data = sol::bench::PristineDir();
  const fs::path home = fs::path(data).parent_path().string() + "-install";
  fs::remove_all(home);
  fs::create_directories(home);
  for (const auto& entry : fs::directory_iterator(data))
    if (entry.path().extension() == ".dat") fs::copy_file(entry.path(), home / entry.path().filename());
  const fs::path bin = fs::path(program).parent_path();
  fs::copy_file(program, home / "solneka");
  if (fs::exists(bin / "sounds")) fs::copy(bin / "sounds", home / "sounds", fs::copy_options::recursive);
  for (const auto& entry : fs::directory_iterator(bin))
    if (entry.path().extension() == ".HLP") fs::copy_file(entry.path(), home / entry.path().filename());
  const std::string installed = (home / "solneka").string();
  const std::string report = (home / "probe-report.txt").string();

  // The first start fills the page cache; it is not counted.
  (void)StartOnce(installed, probe, report, false);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const Run r = StartOnce(installed, probe, report, false);
    if (!r.ok) {
      std::fprintf(stderr, "run %d: %s\n", i + 1, r.why.c_str());
      fs::remove_all(home);
      return 1;
    }
    times.push_back(r.startupMs);
    std::printf("start %2d: %.1f ms to the first paint of the main window\n", i + 1, r.startupMs);
  }
  const Run walk = StartOnce(installed, probe, report, true);
  fs::remove_all(home);
  if (!walk.ok || walk.missing > 0) {
    std::fprintf(stderr, "the walk through every window did not complete (%lld steps, %lld missing: %s)%s%s\n",
                 walk.steps, walk.missing, walk.missed.c_str(), walk.why.empty() ? "" : ": ", walk.why.c_str());
    return 1;
  }

  std::sort(times.begin(), times.end());
  const double median =
      times.size() % 2 ? times[times.size() / 2] : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  const double rssMb = static_cast<double>(walk.maxRssKb) / 1024.0;
  const double modesMb = static_cast<double>(walk.modesRssKb) / 1024.0;
  char detail[128];
  std::snprintf(detail, sizeof detail, "%zu runs, %.0f–%.0f ms", times.size(), times.front(), times.back());
  std::printf("start to first paint: median %.1f ms (%s)\n", median, detail);
  std::printf("peak resident memory after the eight modes: %.1f MB, after every window: %.1f MB (%lld steps)\n",
              modesMb, rssMb, walk.steps);
  if (!table.empty()) {
    std::string rows = sol::bench::TableRow("起動からメイン画面の初回描画まで（offscreen、中央値）", median, "ms",
                                            detail, "< 300 ms", median < 300);
    rows += sol::bench::TableRow("最大常駐メモリ（問題画面の全8モードを開いた後）", modesMb, "MB", "8 menu entries",
                                 "< 80 MB", modesMb < 80);
    char walked[64];
    std::snprintf(walked, sizeof walked, "%lld menu entries", walk.steps);
    rows += sol::bench::TableRow("最大常駐メモリ（続けてメイン碁盤・棋譜処理・残情報も開いた後）", rssMb, "MB", walked,
                                 "< 80 MB", rssMb < 80);
    sol::bench::AppendToTable(table, rows);
  }
  return 0;
}
