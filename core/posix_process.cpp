#include "core/posix_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace sol {

namespace {

class PosixProcess : public ChildProcess {
 public:
  PosixProcess(pid_t pid, int in, int out) : pid_(pid), in_(in), out_(out) {}
  ~PosixProcess() override {
    if (in_ >= 0) ::close(in_);
    // A program that ends when its input closes is given a moment to do so.
    for (int i = 0; i < 50 && !Reaped(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!Reaped()) {
      ::kill(pid_, SIGKILL);
      while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    if (out_ >= 0) ::close(out_);
  }

  bool Write(std::string_view bytes) override {
    if (in_ < 0 || !Running()) return false;
    while (!bytes.empty()) {
      const ssize_t n = ::write(in_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }

  std::string Read(int ms) override {
    std::string got;
    if (out_ < 0) return got;
    pollfd p{out_, POLLIN, 0};
    const int ready = ::poll(&p, 1, ms);
    if (ready <= 0) return got;
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(out_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n > 0) {
        got.append(buffer, static_cast<size_t>(n));
        if (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) continue;
        break;
      }
      // End of the output: the program has ended or closed it.
      ::close(out_);
      out_ = -1;
      break;
    }
    return got;
  }

  bool Running() override { return out_ >= 0 && !Reaped(); }
  void Interrupt() override {}

 private:
  bool Reaped() {
    if (reaped_) return true;
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    reaped_ = r == pid_ || (r < 0 && errno == ECHILD);
    return reaped_;
  }

  pid_t pid_;
  int in_, out_;
  bool reaped_ = false;
};

// The program's file: a path as it is, a name looked up on the PATH and then
// where Debian puts games (/usr/games is not on every PATH); "" when none.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string dirs = std::string(path ? path : "/usr/bin:/bin") + ":/usr/games:/usr/local/games";
  size_t from = 0;
  while (from <= dirs.size()) {
    size_t end = dirs.find(':', from);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = end > from ? dirs.substr(from, end - from) : ".";
    const std::string candidate = dir + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    from = end + 1;
  }
  return {};
}

}  // namespace

ProcessStart StartPosixProcess(const std::vector<std::string>& argv, const std::string& folder) {
  if (argv.empty()) return {nullptr, u"起動するプログラムが指定されていません。"};
  const std::string program = FindProgram(argv.front());
  if (program.empty()) return {nullptr, u"プログラム「" + FromUtf8(argv.front()) + u"」が見つかりません。"};
  int toChild[2], fromChild[2], failure[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) return {nullptr, u"プログラムを起動できません（パイプ）。"};
  if (::pipe2(fromChild, O_CLOEXEC) != 0 || ::pipe2(failure, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return {nullptr, u"プログラムを起動できません（パイプ）。"};
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to exec.
    ::dup2(toChild[0], 0);
    ::dup2(fromChild[1], 1);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, 2);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
      const int e = errno;
      (void)!::write(failure[1], &e, sizeof e);
      ::_exit(127);
    }
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(program.c_str(), args.data());
    const int e = errno;
    (void)!::write(failure[1], &e, sizeof e);
    ::_exit(127);
  }
  ::close(toChild[0]);
  ::close(fromChild[1]);
  ::close(failure[1]);
  if (pid < 0) {
    ::close(toChild[1]);
    ::close(fromChild[0]);
    ::close(failure[0]);
    return {nullptr, u"プログラムを起動できません（プロセスを作れません）。"};
  }
  // The exec's own failure comes back through the third pipe; success closes it.
  int e = 0;
  ssize_t n;
  while ((n = ::read(failure[0], &e, sizeof e)) < 0 && errno == EINTR) {
  }
  ::close(failure[0]);
  if (n == static_cast<ssize_t>(sizeof e)) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    ::close(toChild[1]);
    ::close(fromChild[0]);
    const std::string name = argv.front();
    if (e == ENOENT) return {nullptr, u"プログラム「" + FromUtf8(name) + u"」が見つかりません。"};
    return {nullptr, u"プログラム「" + FromUtf8(name) + u"」を起動できません（" + FromUtf8(std::strerror(e)) + u"）。"};
  }
  // A write to an engine that has ended must fail, not end this program.
  ::signal(SIGPIPE, SIG_IGN);
  return {std::make_unique<PosixProcess>(pid, toChild[1], fromChild[0]), {}};
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < line.size())
        word += line[++i];
      else
        word += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
      inWord = true;
    } else if (c == '\\' && i + 1 < line.size()) {
      word += line[++i];
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote) return {};
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace sol
