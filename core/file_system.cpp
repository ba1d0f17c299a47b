#include "core/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include "core/record_file.h"

namespace sol {

File::~File() = default;
FileSystem::~FileSystem() = default;

// File systems that cannot do better (those of tests) create by emptying.
std::unique_ptr<File> FileSystem::Create(const std::string& path, const std::string&) {
  std::unique_ptr<File> f = Open(path);
  f->Truncate(0);
  return f;
}

std::string FileSystem::Resolve(const std::string& path) { return path; }

namespace {

bool Refusal(int err) { return err == EACCES || err == EPERM || err == EROFS || err == EBADF; }

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
  const std::string text = what + " " + path + ": " + std::strerror(err);
  if (Refusal(err)) throw NotWritable(text);
  if (err == EISDIR || err == ENOTDIR || err == ELOOP) throw UnusablePath(text);
  throw FileError(text);
}

[[noreturn]] void Refuse(const std::string& what, const std::string& path) {
  throw NotWritable(what + " " + path + ": the data folder is not written by this process");
}

// A file that is missing where nothing may be created: it reads as empty.
class MissingFile final : public File {
 public:
  explicit MissingFile(std::string path) : path_(std::move(path)) {}
  std::uint64_t Size() override { return 0; }
  std::size_t ReadAt(std::uint64_t, void*, std::size_t) override { return 0; }
  void WriteAt(std::uint64_t, const void*, std::size_t) override { Refuse("write", path_); }
  void Truncate(std::uint64_t) override { Refuse("truncate", path_); }
  void Flush() override {}
  void Sync() override {}

 private:
  std::string path_;
};

class PosixFile final : public File {
 public:
  PosixFile(int fd, std::string path, bool readOnly = false) : fd_(fd), path_(std::move(path)), readOnly_(readOnly) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::uint64_t Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) Fail("stat", path_, errno);
    return static_cast<std::uint64_t>(st.st_size);
  }

  std::size_t ReadAt(std::uint64_t offset, void* buf, std::size_t n) override {
    auto* p = static_cast<char*>(buf);
    std::size_t done = 0;
    while (done < n) {
      ssize_t got = ::pread(fd_, p + done, n - done, Offset(offset + done));
      if (got < 0) {
        if (errno == EINTR) continue;
        Fail("read", path_, errno);
      }
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  void WriteAt(std::uint64_t offset, const void* buf, std::size_t n) override {
    if (readOnly_) Refuse("write", path_);
    const auto* p = static_cast<const char*>(buf);
    std::size_t done = 0;
    while (done < n) {
      ssize_t put = ::pwrite(fd_, p + done, n - done, Offset(offset + done));
      if (put < 0) {
        if (errno == EINTR) continue;
        Fail("write", path_, errno);
      }
      if (put == 0) Fail("write", path_, EIO);
      done += static_cast<std::size_t>(put);
    }
  }

  void Truncate(std::uint64_t size) override {
    if (readOnly_) Refuse("truncate", path_);
    while (::ftruncate(fd_, Offset(size)) != 0) {
      if (errno != EINTR) Fail("truncate", path_, errno);
    }
  }

  // pwrite leaves nothing buffered in this process.
  void Flush() override {}

  void Sync() override {
    while (::fsync(fd_) != 0) {
      if (errno != EINTR) Fail("sync", path_, errno);
    }
  }

 private:
  off_t Offset(std::uint64_t v) const {
    if (v > static_cast<std::uint64_t>(INT64_MAX)) Fail("seek", path_, EOVERFLOW);
    return static_cast<off_t>(v);
  }

  int fd_;
  std::string path_;
  bool readOnly_;
};

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  for (;;) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EINTR) return fd;
  }
}

// Runs `sync` on the opened folder; the errno it failed with, or 0.
int SyncThrough(const std::string& dir, int (*sync)(int)) {
  const int fd = OpenRetrying(dir, O_RDONLY | O_DIRECTORY);
  if (fd < 0) Fail("open directory", dir, errno);
  int rc;
  while ((rc = sync(fd)) != 0 && errno == EINTR) {
  }
  const int err = rc != 0 ? errno : 0;
  ::close(fd);
  return err;
}

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path) override {
    if (!ReadOnly()) {
      int fd = OpenRetrying(path, O_RDWR | O_CREAT, 0666);
      if (fd >= 0) return std::make_unique<PosixFile>(fd, path);
      if (!Refusal(errno)) Fail("open", path, errno);
    }
    // Reading needs no more than read permission, on any mount.
    int fd = OpenRetrying(path, O_RDONLY);
    if (fd < 0 && errno == ENOENT) return std::make_unique<MissingFile>(path);
    if (fd < 0) {
      const std::string text = "open " + path + ": " + std::strerror(errno);
      if (errno == EACCES || errno == EISDIR || errno == ENOTDIR || errno == ELOOP) throw UnusablePath(text);
      throw FileError(text);
    }
    return std::make_unique<PosixFile>(fd, path, true);
  }

  std::unique_ptr<File> Create(const std::string& path, const std::string& like) override {
    if (ReadOnly()) Refuse("create", path);
    struct stat old;
    const bool replacing = !like.empty() && ::stat(like.c_str(), &old) == 0;
    // A file the player made read-only stays as it is, even where the
    // folder would let it be replaced.
    if (replacing && ::access(like.c_str(), W_OK) != 0 && Refusal(errno)) Fail("write", like, errno);
    int fd = OpenRetrying(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0) Fail("create", path, errno);
    if (replacing) {
      // Only the owner (or root) can hand a file over; anyone else's
      // replacement is theirs, with the old file's group where allowed.
      if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
      (void)::fchmod(fd, old.st_mode & 07777);
    }
    return std::make_unique<PosixFile>(fd, path);
  }

  std::string Resolve(const std::string& path) override {
    std::string at = path;
    // As many links as the system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
      struct stat st;
      if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
      std::string target(PATH_MAX, '\0');
      const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
      if (n <= 0 || static_cast<size_t>(n) >= target.size()) Fail("read link", at, n < 0 ? errno : ENAMETOOLONG);
      target.resize(static_cast<size_t>(n));
      at = target.front() == '/' ? target : DirOf(at) + "/" + target;
    }
    Fail("follow", path, ELOOP);
  }

  void Rename(const std::string& from, const std::string& to) override {
    if (ReadOnly()) Refuse("rename", to);
    if (::rename(from.c_str(), to.c_str()) != 0) Fail("rename", from + " -> " + to, errno);
  }

  void Remove(const std::string& path) override {
    if (ReadOnly()) Refuse("remove", path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail("remove", path, errno);
  }

  void SyncDir(const std::string& dir) override {
    // Some file systems cannot sync a directory and say so with EINVAL;
    // there is nothing more to be done on them.
    if (const int err = SyncThrough(dir, ::fsync); err != 0 && err != EINVAL) Fail("sync directory", dir, err);
  }

  void SyncFileSystem(const std::string& dir) override {
    if (const int err = SyncThrough(dir, ::syncfs); err != 0) Fail("sync file system of", dir, err);
  }

  bool Exists(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return true;
    if (errno == ENOENT || errno == ENOTDIR) return false;
    Fail("stat", path, errno);
  }
};

PosixFileSystem& Posix() {
  static PosixFileSystem fs;
  return fs;
}

std::atomic<FileSystem*> current{nullptr};
std::atomic<bool> readOnly{false};
std::mutex noticeMutex;
std::function<void()> notice;

}  // namespace

bool ReadOnly() { return readOnly.load(); }

void SetReadOnly(bool value) { readOnly.store(value); }

void SetNotWritableNotice(std::function<void()> f) {
  std::lock_guard<std::mutex> hold(noticeMutex);
  notice = std::move(f);
}

void NoticeNotWritable() {
  std::function<void()> f;
  {
    std::lock_guard<std::mutex> hold(noticeMutex);
    f = notice;
  }
  if (f) f();
}

FileSystem& Files() {
  FileSystem* fs = current.load();
  return fs ? *fs : Posix();
}

void SetFiles(FileSystem* fs) { current.store(fs); }

}  // namespace sol
