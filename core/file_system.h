#pragma once

// Every file operation of the program goes through Files(), so that tests
// can substitute a file system that fails at a chosen operation. Paths are
// UTF-8. Every failure is reported as FileError.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace sol {

struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The path cannot be used as a file at all: a folder, a loop of links, or
// a file this process may not even read. Trying again will not help.
struct UnusablePath : FileError {
  using FileError::FileError;
};

// The data folder may not be changed: this process does not hold the
// folder's lock, or the system refuses (a read-only folder, file or mount,
// no permission).
struct NotWritable : FileError {
  using FileError::FileError;
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
  // Opens for reading and writing; a missing file is created empty. Where
  // the file cannot be written (or writing is switched off, see
  // SetReadOnly), it is opened for reading only, a missing one reads as
  // empty, and writes to it throw NotWritable.
  virtual std::unique_ptr<File> Open(const std::string& path) = 0;
  // Creates a new file at path, where nothing (not even a dangling link)
  // may be yet; never opened through a link. When `like` names a file, the
  // new one gets its mode and, where the process may, its owner.
  virtual std::unique_ptr<File> Create(const std::string& path, const std::string& like);
  // Where path ends up after following symbolic links; path itself when it
  // is no link or leads nowhere.
  virtual std::string Resolve(const std::string& path);
  // Atomically replaces `to` (if present) with `from`.
  virtual void Rename(const std::string& from, const std::string& to) = 0;
  // Removing a missing file is not an error.
  virtual void Remove(const std::string& path) = 0;
  // Makes renames and creations inside dir durable.
  virtual void SyncDir(const std::string& dir) = 0;
  // Waits until everything written on the file system that holds dir —
  // the content of every file and every creation and rename — is on the
  // storage device: one flush for many files.
  virtual void SyncFileSystem(const std::string& dir) = 0;
  virtual bool Exists(const std::string& path) = 0;
};

// Whether this process leaves the data folder alone. While it does, Open
// opens for reading only and every replacement throws NotWritable.
bool ReadOnly();
void SetReadOnly(bool readOnly);
// Shows the player that a change was refused because the folder cannot be
// written; set by the program, nothing by default.
void SetNotWritableNotice(std::function<void()> notice);
void NoticeNotWritable();

// The file system in use; the POSIX one unless SetFiles was called.
FileSystem& Files();
// nullptr restores the POSIX file system. The caller keeps ownership.
void SetFiles(FileSystem* fs);

}  // namespace sol
