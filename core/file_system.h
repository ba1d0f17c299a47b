#pragma once

// Every file operation of the program goes through Files(), so that tests
// can substitute a file system that fails at a chosen operation. Paths are
// UTF-8. Every failure is reported as FileError.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace sol {

struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An open file; closed when destroyed.
class File {
public:
    virtual ~File();
    virtual std::uint64_t Size() = 0;
    // Reads up to n bytes; fewer only at the end of the file.
    virtual std::size_t ReadAt(std::uint64_t offset, void* buf, std::size_t n) = 0;
    // Writes all n bytes. Writing past the end extends the file; the gap
    // reads as zeros.
    virtual void WriteAt(std::uint64_t offset, const void* buf, std::size_t n) = 0;
    virtual void Truncate(std::uint64_t size) = 0;
    // Hands written data to the operating system.
    virtual void Flush() = 0;
    // Waits until written data is on the storage device.
    virtual void Sync() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem();
    // Opens for reading and writing; a missing file is created empty.
    virtual std::unique_ptr<File> Open(const std::string& path) = 0;
    // Atomically replaces `to` (if present) with `from`.
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    // Removing a missing file is not an error.
    virtual void Remove(const std::string& path) = 0;
    // Makes renames and creations inside dir durable.
    virtual void SyncDir(const std::string& dir) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// The file system in use; the POSIX one unless SetFiles was called.
FileSystem& Files();
// nullptr restores the POSIX file system. The caller keeps ownership.
void SetFiles(FileSystem* fs);

}  // namespace sol
