// A file system for tests: passes everything to the POSIX one, logs each
// operation and fails the chosen ones with a FileError.
#pragma once

#include <stdlib.h>

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

  std::vector<std::string> log;
  std::function<bool(const std::string& operation)> failIf;
  int Operations() const { return count_; }

  void Step(const std::string& what) {
    log.push_back(what);
    if (++count_ == failAt_ || (failIf && failIf(what))) throw FileError("injected failure: " + what);
  }

  std::unique_ptr<File> Open(const std::string& path) override;
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

// A fresh directory, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sol_test_XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
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
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
};

}  // namespace sol::testing
