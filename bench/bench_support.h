// What the benchmark programs share: the full data set in a working folder
// that every iteration can put back, the copy-and-sync yardstick a file
// rewrite is measured against, and the table the results are summed up in.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sol::bench {

// The data files every benchmark starts from: $SOLNEKA_BENCH_DATA when set,
// else the full data set generated once into a temporary folder.
const std::string& PristineDir();

// A temporary folder holding a copy of the data files. The program under
// test changes them; Restore writes the original bytes back and syncs them,
// so the next iteration starts from the same files and no write-back of the
// restore is left to disturb the timed part.
class WorkDir {
 public:
  WorkDir();
  ~WorkDir();
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  // With a trailing separator.
  const std::string& Path() const { return path_; }
  const std::string& Original(const std::string& name) const { return original_.at(name); }
  void Restore(const std::vector<std::string>& names);
  void RestoreAll();
  // Writes `bytes` as the file `name`, synced.
  void Put(const std::string& name, const std::string& bytes);

 private:
  std::string path_;
  std::map<std::string, std::string> original_;
};

// Copies each named file of `dir` to a new file beside it and syncs the
// copy, as a plain program would save the same data; seconds taken.
double CopyAndSync(const std::string& dir, const std::vector<std::string>& names);

// Seconds since `start`.
inline double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times the part of an iteration that is the operation, for benchmarks with
// manual timing. Besides the mean that Google Benchmark reports it keeps the
// median wall time and the thread's CPU time, which say more on a machine
// that other work shares; and, for rewrites, the copy-and-sync time of the
// same files in the same iteration.
class Stopwatch {
 public:
  explicit Stopwatch(benchmark::State& state) : state_(state) {}
  ~Stopwatch();
  void Start();
  void Stop();
  // Times `op` as the operation of this iteration.
  template <typename Op>
  void Time(Op op) {
    Start();
    op();
    Stop();
  }
  void AddCopyTime(double seconds) { copy_.push_back(seconds); }

 private:
  benchmark::State& state_;
  std::chrono::steady_clock::time_point wall_;
  double cpu_ = 0;
  long syncs_ = 0;
  std::vector<double> walls_, cpus_, copy_;
  std::vector<long> syncCounts_;
};

// From the first call on, every file and directory sync the program asks
// for through Files() is counted; the table shows how many an operation
// made, which is what bounds a rewrite.
void CountSyncs();
long SyncsSoFar();

// How a benchmark is judged in the results table.
struct Target {
  std::string operation;  // what the table calls it
  double maxMs = 16;      // time per operation; 0: not judged by time
  double maxRatio = 0;    // to the copy-and-sync of the same files; 0: none
};
// Registers the row for benchmark `name`.
void Judge(const std::string& name, Target target);

// Runs the registered benchmarks with the usual console output and, when
// argv holds --table=FILE, appends one Markdown row per benchmark to FILE.
int RunAndTabulate(int argc, char** argv);

// One row of the results table, for programs that measure without Google
// Benchmark (start-up, memory). Columns: operation, value, detail, target,
// ratio (none), met.
std::string TableRow(const std::string& operation, double value, const std::string& unit, const std::string& detail,
                     const std::string& target, bool met);
void AppendToTable(const std::string& file, const std::string& rows);

}  // namespace sol::bench
