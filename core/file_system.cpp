#include "core/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace sol {

File::~File() = default;
FileSystem::~FileSystem() = default;

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw FileError(what + " " + path + ": " + std::strerror(err));
}

class PosixFile final : public File {
public:
    PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
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
};

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
    for (;;) {
        int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<File> Open(const std::string& path) override {
        int fd = OpenRetrying(path, O_RDWR | O_CREAT, 0666);
        if (fd < 0) Fail("open", path, errno);
        return std::make_unique<PosixFile>(fd, path);
    }

    void Rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) Fail("rename", from + " -> " + to, errno);
    }

    void Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail("remove", path, errno);
    }

    void SyncDir(const std::string& dir) override {
        int fd = OpenRetrying(dir, O_RDONLY | O_DIRECTORY);
        if (fd < 0) Fail("open directory", dir, errno);
        int rc;
        while ((rc = ::fsync(fd)) != 0 && errno == EINTR) {
        }
        int err = errno;
        ::close(fd);
        // Some file systems cannot sync a directory and say so with EINVAL;
        // there is nothing more to be done on them.
        if (rc != 0 && err != EINVAL) Fail("sync directory", dir, err);
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

}  // namespace

FileSystem& Files() {
    FileSystem* fs = current.load();
    return fs ? *fs : Posix();
}

void SetFiles(FileSystem* fs) { current.store(fs); }

}  // namespace sol
