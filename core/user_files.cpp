#include "core/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/record_file.h"

namespace sol {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

std::string ReadUserFile(const std::string& path, std::size_t maxBytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0)
    throw UserFileError(errno == ENOENT ? UserFileError::Missing : UserFileError::Unreadable, path, "cannot open");
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    throw UserFileError(UserFileError::Unreadable, path, "not a regular file");
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
    throw UserFileError(UserFileError::TooLarge, path, "too large");
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw UserFileError(UserFileError::Unreadable, path, "read failed");
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
    // The file may have grown since it was measured.
    if (content.size() > maxBytes) throw UserFileError(UserFileError::TooLarge, path, "too large");
  }
  return content;
}

void WriteUserFile(const std::string& path, std::string_view content) {
  const std::string dir = DirOf(path);
  const std::string scratch = (dir == "/" ? dir : dir + "/") + ScratchFileName();
  auto fail = [&](const char* what) {
    ::unlink(scratch.c_str());
    throw UserFileError(UserFileError::Unwritable, path, what);
  };
  ::unlink(scratch.c_str());
  Fd fd(::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (fd.get() < 0) throw UserFileError(UserFileError::Unwritable, path, "cannot create");
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd.get(), content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("write failed");
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) fail("sync failed");
  if (!fd.Close()) fail("close failed");
  if (::rename(scratch.c_str(), path.c_str()) != 0) fail("rename failed");
  Fd d(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (d.get() >= 0) ::fsync(d.get());
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> ListUserFiles(const std::string& folder, std::string_view extension) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator it(fs::path(folder), error);
  if (error)
    throw UserFileError(
        error == std::errc::no_such_file_or_directory ? UserFileError::Missing : UserFileError::Unreadable, folder,
        "cannot list");
  auto lower = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return t;
  };
  const std::string wanted = lower(std::string(extension));
  std::vector<std::string> paths;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) throw UserFileError(UserFileError::Unreadable, folder, "cannot list");
    const std::string name = it->path().filename().string();
    if (name.size() <= wanted.size() || lower(name.substr(name.size() - wanted.size())) != wanted) continue;
    if (!it->is_regular_file(error)) continue;
    paths.push_back(it->path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace sol
