#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sol {

InstanceLock::InstanceLock(const std::string& dataDir) {
  path_ = dataDir.empty() ? std::string(".") : dataDir;
  if (path_.back() != '/') path_ += '/';
  path_ += InstanceLockFileName;
  // Never through a link, and never waiting on something that is no file.
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  do {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | flags, 0666);
  } while (fd_ < 0 && errno == EINTR);
  // Another user's lock file that this one may read still locks: a lock
  // needs no more than that.
  if (fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
    do {
      fd_ = ::open(path_.c_str(), O_RDONLY | flags);
    } while (fd_ < 0 && errno == EINTR);
  }
  if (fd_ < 0) return;
  struct stat st;
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  // An flock lock belongs to the open file, not to the process: a second
  // InstanceLock in the same process is refused too.
  int rc;
  do {
    rc = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    outcome_ = Outcome::Taken;
    return;
  }
  outcome_ = errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unavailable;
  ::close(fd_);
  fd_ = -1;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace sol
