// A file system for tests: passes everything to the POSIX one, logs each
// operation and fails the chosen ones with a FileError.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace sol::testing {

// Operations are logged as "Open PATH", "ReadAt PATH", "Rename FROM TO", …
// The failAt-th operation fails (counting from 1; 0 = never), and so does
// every operation for which failIf says so.
class FaultyFiles : public FileSystem {
 public:
  explicit FaultyFiles(int failAt = 0) : failAt_(failAt) {
    SetFiles(nullptr);
    real_ = &Files();
  }
  // Passes the operations to `real` instead of the POSIX file system.
  FaultyFiles(int failAt, FileSystem& real) : real_(&real), failAt_(failAt) {}

  std::vector<std::string> log;
  std::function<bool(const std::string& operation)> failIf;
  int Operations() const { return count_; }

  void Step(const std::string& what) {
    log.push_back(what);
    if (++count_ == failAt_ || (failIf && failIf(what))) throw FileError("injected failure: " + what);
  }

  std::unique_ptr<File> Open(const std::string& path) override;
  // Links are followed as below; looking where one leads never fails.
  std::string Resolve(const std::string& path) override { return real_->Resolve(path); }
  void Rename(const std::string& from, const std::string& to) override {
    Step("Rename " + from + " " + to);
    real_->Rename(from, to);
  }
  void Remove(const std::string& path) override {
    Step("Remove " + path);
    real_->Remove(path);
  }
  void SyncDir(const std::string& dir) override {
    Step("SyncDir " + dir);
    real_->SyncDir(dir);
  }
  void SyncFileSystem(const std::string& dir) override {
    Step("SyncFileSystem " + dir);
    real_->SyncFileSystem(dir);
  }
  bool Exists(const std::string& path) override {
    Step("Exists " + path);
    return real_->Exists(path);
  }

 private:
  FileSystem* real_;
  int failAt_;
  int count_ = 0;
};

class FaultyFile : public File {
 public:
  FaultyFile(FaultyFiles& fs, std::unique_ptr<File> real, std::string path)
      : fs_(fs), real_(std::move(real)), path_(std::move(path)) {}
  std::uint64_t Size() override {
    fs_.Step("Size " + path_);
    return real_->Size();
  }
  std::size_t ReadAt(std::uint64_t off, void* buf, std::size_t n) override {
    fs_.Step("ReadAt " + path_);
    return real_->ReadAt(off, buf, n);
  }
  void WriteAt(std::uint64_t off, const void* buf, std::size_t n) override {
    fs_.Step("WriteAt " + path_);
    real_->WriteAt(off, buf, n);
  }
  void Truncate(std::uint64_t n) override {
    fs_.Step("Truncate " + path_);
    real_->Truncate(n);
  }
  void Flush() override {
    fs_.Step("Flush " + path_);
    real_->Flush();
  }
  void Sync() override {
    fs_.Step("Sync " + path_);
    real_->Sync();
  }

 private:
  FaultyFiles& fs_;
  std::unique_ptr<File> real_;
  std::string path_;
};

inline std::unique_ptr<File> FaultyFiles::Open(const std::string& path) {
  Step("Open " + path);
  return std::make_unique<FaultyFile>(*this, real_->Open(path), path);
}

// The POSIX file system without its syncs, for tests that run many commands
// and never look at what a power cut would leave.
class NoSyncFiles : public FileSystem {
 public:
  NoSyncFiles() {
    SetFiles(nullptr);
    real_ = &Files();
  }
  std::unique_ptr<File> Open(const std::string& path) override;
  std::string Resolve(const std::string& path) override { return real_->Resolve(path); }
  void Rename(const std::string& from, const std::string& to) override { real_->Rename(from, to); }
  void Remove(const std::string& path) override { real_->Remove(path); }
  void SyncDir(const std::string&) override {}
  void SyncFileSystem(const std::string&) override {}
  bool Exists(const std::string& path) override { return real_->Exists(path); }

 private:
  class Unsynced : public File {
   public:
    explicit Unsynced(std::unique_ptr<File> real) : real_(std::move(real)) {}
    std::uint64_t Size() override { return real_->Size(); }
    std::size_t ReadAt(std::uint64_t off, void* buf, std::size_t n) override { return real_->ReadAt(off, buf, n); }
    void WriteAt(std::uint64_t off, const void* buf, std::size_t n) override { real_->WriteAt(off, buf, n); }
    void Truncate(std::uint64_t n) override { real_->Truncate(n); }
    void Flush() override { real_->Flush(); }
    void Sync() override {}

   private:
    std::unique_ptr<File> real_;
  };
  FileSystem* real_;
};

inline std::unique_ptr<File> NoSyncFiles::Open(const std::string& path) {
  return std::make_unique<Unsynced>(real_->Open(path));
}

// A fresh directory, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir() : ScratchDir(std::filesystem::temp_directory_path().string()) {}
  // A directory inside `base`.
  explicit ScratchDir(const std::string& base) {
    std::string pattern = (std::filesystem::path(base) / "sol_test_XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  // Memory-backed storage where the system has it, for tests that write
  // files by the thousand; else the usual temporary directory.
  static std::string FastBase() {
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK | X_OK) == 0;
    return shm ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string();
  }
  ~ScratchDir() {
    SetFiles(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string PathOf(const std::string& name) const { return path_ + "/" + name; }

  static void WriteRaw(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
  }
  static std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string content(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return content;
  }

 private:
  std::string path_;
};

}  // namespace sol::testing
