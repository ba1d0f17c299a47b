#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "bench/full_data.h"
#include "core/file_system.h"
#include "core/game_state.h"

namespace sol::bench {

namespace {

const char* const DataFiles[] = {GameListFileName,     GameMovesFileName,   ProblemListFileName,
                                 ProblemMovesFileName, AnswerMovesFileName, CommentFileName};

std::string TempFolder(const char* tag) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/solneka-" + tag + "-XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("cannot make a temporary folder");
  return std::string(buf.data()) + "/";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteSynced(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("cannot write " + path);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      ::close(fd);
      throw std::runtime_error("cannot write " + path);
    }
    done += static_cast<size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
}

void SyncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

struct Generated {
  std::string dir;
  Generated() {
    dir = TempFolder("data");
    WriteFullData(dir);
  }
  ~Generated() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

std::map<std::string, Target>& Targets() {
  static std::map<std::string, Target> targets;
  return targets;
}

std::string Fixed(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

std::string Value(double v) {
  return v >= 100 ? Fixed(v, 0) : v >= 10 ? Fixed(v, 1) : v >= 1 ? Fixed(v, 2) : Fixed(v, 3);
}

double ToMs(double t, benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond:
      return t / 1e6;
    case benchmark::kMicrosecond:
      return t / 1e3;
    case benchmark::kMillisecond:
      return t;
    case benchmark::kSecond:
      return t * 1e3;
  }
  return t;
}

class TableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
      const std::string name = r.run_name.function_name;
      const auto t = Targets().find(name);
      const Target target = t != Targets().end() ? t->second : Target{name};
      auto counter = [&r](const char* key) {
        const auto c = r.counters.find(key);
        return c == r.counters.end() ? -1.0 : c->second.value;
      };
      const double mean = ToMs(r.GetAdjustedRealTime(), r.time_unit);
      const double median = counter("median_ms") >= 0 ? counter("median_ms") : mean;
      const double cpu = counter("cpu_ms");
      const double copy = counter("copy_ms");
      std::string ratioText = "–", targetText;
      bool met = true;
      if (target.maxMs > 0) {
        targetText = "< " + Value(target.maxMs) + " ms";
        met = median < target.maxMs;
      }
      if (copy > 0) {
        const double ratio = median / copy;
        ratioText = Fixed(ratio, 2) + "× (copy " + Value(copy) + " ms)";
        if (target.maxRatio > 0) {
          targetText += (targetText.empty() ? "" : ", ") + std::string("≤ ") + Fixed(target.maxRatio, 0) + "× copy";
          met = met && ratio <= target.maxRatio;
        }
      }
      std::string detail = "mean " + Value(mean);
      if (cpu >= 0) detail += ", CPU " + Value(cpu);
      if (counter("syncs") > 0)
        detail +=
            ", " + Fixed(counter("syncs"), counter("syncs") == static_cast<long>(counter("syncs")) ? 0 : 1) + " syncs";
      rows_ += "| " + target.operation + " | " + Value(median) + " ms | " + detail + " | " +
               (targetText.empty() ? "–" : targetText) + " | " + ratioText + " | " +
               (targetText.empty() ? "–"
                : met              ? "yes"
                                   : "**no**") +
               " |\n";
    }
  }
  const std::string& Rows() const { return rows_; }

 private:
  std::string rows_;
};

}  // namespace

const std::string& PristineDir() {
  static const std::string dir = [] {
    const char* given = std::getenv("SOLNEKA_BENCH_DATA");
    if (given && *given) return WithSlash(given);
    static Generated generated;
    return generated.dir;
  }();
  return dir;
}

WorkDir::WorkDir() : path_(TempFolder("work")) {
  for (const char* name : DataFiles) original_[name] = Slurp(PristineDir() + name);
  RestoreAll();
}

WorkDir::~WorkDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WorkDir::Restore(const std::vector<std::string>& names) {
  for (const std::string& n : names) WriteSynced(path_ + n, original_.at(n));
  SyncFolder(path_);
}

void WorkDir::RestoreAll() {
  std::vector<std::string> names;
  for (const auto& [n, bytes] : original_) names.push_back(n);
  Restore(names);
}

void WorkDir::Put(const std::string& name, const std::string& bytes) {
  WriteSynced(path_ + name, bytes);
  SyncFolder(path_);
}

double CopyAndSync(const std::string& dir, const std::vector<std::string>& names) {
  for (const std::string& n : names) ::unlink((dir + "copy-" + n).c_str());
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& n : names) {
    const int in = ::open((dir + n).c_str(), O_RDONLY);
    if (in < 0) throw std::runtime_error("cannot read " + dir + n);
    struct stat st {};
    ::fstat(in, &st);
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t k = ::read(in, bytes.data() + got, bytes.size() - got);
      if (k <= 0) break;
      got += static_cast<size_t>(k);
    }
    ::close(in);
    WriteSynced(dir + "copy-" + n, bytes);
  }
  return Since(start);
}

void Judge(const std::string& name, Target target) { Targets()[name] = std::move(target); }

namespace {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

namespace {

std::atomic<long> syncCount{0};

class CountedFile : public File {
 public:
  explicit CountedFile(std::unique_ptr<File> f) : f_(std::move(f)) {}
  std::uint64_t Size() override { return f_->Size(); }
  std::size_t ReadAt(std::uint64_t offset, void* buf, std::size_t n) override { return f_->ReadAt(offset, buf, n); }
  void WriteAt(std::uint64_t offset, const void* buf, std::size_t n) override { f_->WriteAt(offset, buf, n); }
  void Truncate(std::uint64_t size) override { f_->Truncate(size); }
  void Flush() override { f_->Flush(); }
  void Sync() override {
    ++syncCount;
    f_->Sync();
  }

 private:
  std::unique_ptr<File> f_;
};

class CountingFiles : public FileSystem {
 public:
  explicit CountingFiles(FileSystem& below) : below_(below) {}
  std::unique_ptr<File> Open(const std::string& path) override {
    return std::make_unique<CountedFile>(below_.Open(path));
  }
  void Rename(const std::string& from, const std::string& to) override { below_.Rename(from, to); }
  void Remove(const std::string& path) override { below_.Remove(path); }
  void SyncDir(const std::string& dir) override {
    ++syncCount;
    below_.SyncDir(dir);
  }
  void SyncFileSystem(const std::string& dir) override {
    ++syncCount;
    below_.SyncFileSystem(dir);
  }
  bool Exists(const std::string& path) override { return below_.Exists(path); }

 private:
  FileSystem& below_;
};

}  // namespace

void CountSyncs() {
  static CountingFiles counting(Files());
  if (&Files() != &counting) SetFiles(&counting);
}

long SyncsSoFar() { return syncCount.load(); }

void Stopwatch::Start() {
  syncs_ = SyncsSoFar();
  cpu_ = ThreadCpuSeconds();
  wall_ = std::chrono::steady_clock::now();
}

void Stopwatch::Stop() {
  const double wall = Since(wall_);
  cpus_.push_back(ThreadCpuSeconds() - cpu_);
  syncCounts_.push_back(SyncsSoFar() - syncs_);
  walls_.push_back(wall);
  state_.SetIterationTime(wall);
}

Stopwatch::~Stopwatch() {
  if (walls_.empty()) return;
  state_.counters["median_ms"] = Median(walls_) * 1e3;
  double cpu = 0;
  for (double c : cpus_) cpu += c;
  state_.counters["cpu_ms"] = cpu / static_cast<double>(cpus_.size()) * 1e3;
  if (!copy_.empty()) state_.counters["copy_ms"] = Median(copy_) * 1e3;
  long syncs = 0;
  for (long n : syncCounts_) syncs += n;
  if (syncs > 0) state_.counters["syncs"] = static_cast<double>(syncs) / static_cast<double>(syncCounts_.size());
}

std::string TableRow(const std::string& operation, double value, const std::string& unit, const std::string& detail,
                     const std::string& target, bool met) {
  return "| " + operation + " | " + Value(value) + " " + unit + " | " + detail + " | " + target + " | – | " +
         (met ? "yes" : "**no**") + " |\n";
}

void AppendToTable(const std::string& file, const std::string& rows) {
  std::ofstream out(file, std::ios::app);
  out << rows;
}

int RunAndTabulate(int argc, char** argv) {
  CountSyncs();
  std::string table;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--table=", 8) == 0)
      table = argv[i] + 8;
    else
      args.push_back(argv[i]);
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (!table.empty()) AppendToTable(table, reporter.Rows());
  return 0;
}

}  // namespace sol::bench
