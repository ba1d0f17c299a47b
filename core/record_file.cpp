#include "core/record_file.h"

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <new>
#include <stdexcept>

namespace sol {

RecordFile::RecordFile(const std::string& path, int recordLength) : path_(path), length_(recordLength) {
  if (recordLength < 1) throw FileError("record length must be positive: " + path);
  file_ = Files().Open(path);
}

long RecordFile::Count() {
  std::uint64_t records = file_->Size() / static_cast<std::uint64_t>(length_);
  return records > static_cast<std::uint64_t>(LONG_MAX) ? LONG_MAX : static_cast<long>(records);
}

std::uint64_t RecordFile::OffsetOf(long r) const {
  if (r < 1 || r > MaxRecordNumber) throw FileError("record number " + std::to_string(r) + " out of range in " + path_);
  return static_cast<std::uint64_t>(r - 1) * static_cast<std::uint64_t>(length_);
}

std::string RecordFile::Read(long r) {
  std::uint64_t offset = OffsetOf(r);
  std::string rec(static_cast<std::size_t>(length_), '\0');
  std::size_t got = file_->ReadAt(offset, rec.data(), rec.size());
  if (got > rec.size()) throw FileError("read returned too much from " + path_);
  // Bytes past the end stay zero.
  return rec;
}

std::string RecordFile::ReadRecords(long first, long count) {
  if (count <= 0) return {};
  const std::uint64_t offset = OffsetOf(first);
  (void)OffsetOf(first + count - 1);
  std::string bytes(static_cast<std::size_t>(count) * static_cast<std::size_t>(length_), '\0');
  if (file_->ReadAt(offset, bytes.data(), bytes.size()) > bytes.size())
    throw FileError("read returned too much from " + path_);
  return bytes;
}

void RecordFile::Write(long r, const std::string& bytes) {
  std::uint64_t offset = OffsetOf(r);
  if (bytes.size() != static_cast<std::size_t>(length_))
    throw FileError("record of " + std::to_string(bytes.size()) + " bytes written to " + path_ + " (record length " +
                    std::to_string(length_) + ")");
  file_->WriteAt(offset, bytes.data(), bytes.size());
}

void RecordFile::Flush() { file_->Flush(); }

void RecordFile::Sync() { file_->Sync(); }

void RecordFile::Truncate(long records) {
  if (records < 0) throw FileError("negative record count for " + path_);
  file_->Truncate(static_cast<std::uint64_t>(records) * static_cast<std::uint64_t>(length_));
}

void PutInt16(std::string& rec, std::size_t offset, std::int16_t v) {
  if (offset > rec.size() || rec.size() - offset < 2) throw std::out_of_range("PutInt16 offset");
  PutInt16(rec.data() + offset, v);
}

void PutInt16(char* at, std::int16_t v) {
  auto u = static_cast<std::uint16_t>(v);
  at[0] = static_cast<char>(u & 0xFF);
  at[1] = static_cast<char>(u >> 8);
}

void ReplaceFileOn(FileSystem& fs, const std::string& target, const std::string& scratchPath,
                   std::string_view content) {
  if (target == scratchPath) throw FileError("scratch file is the target itself: " + target);
  if (ReadOnly()) throw NotWritable("the data folder is not written by this process: " + target);
  const std::string real = fs.Resolve(target);
  const std::string dir = DirOf(real);
  const std::string scratch = (dir == "/" ? "" : dir) + "/" + scratchPath.substr(scratchPath.find_last_of('/') + 1);
  // Left over from a command of this process that failed, or put there by
  // someone else: never written through, only removed.
  fs.Remove(scratch);
  try {
    std::unique_ptr<File> f = fs.Create(scratch, real);
    f->WriteAt(0, content.data(), content.size());
    f->Flush();
    f->Sync();
    f.reset();
    // A failed rename leaves the target as it was.
    fs.Rename(scratch, real);
  } catch (const FileError&) {
    try {
      fs.Remove(scratch);
    } catch (const FileError&) {
    }
    throw;
  }
  fs.SyncDir(dir);
}

void ReplaceFile(const std::string& target, const std::string& scratchPath, std::string_view content) {
  ReplaceFileOn(Files(), target, scratchPath, content);
}

std::string ReadWholeFile(const std::string& path) {
  std::unique_ptr<File> file = Files().Open(path);
  std::uint64_t size = file->Size();
  if (size > MaxWholeFileBytes) throw DamagedFile("larger than any data file can be", path);
  std::string content;
  try {
    content.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw FileError("not enough memory to read " + path);
  }
  std::size_t got = file->ReadAt(0, content.data(), content.size());
  if (got > content.size()) throw FileError("read returned too much from " + path);
  content.resize(got);
  return content;
}

std::string ScratchFileName() { return ScratchFilePrefix + std::to_string(::getpid()) + ".dat"; }

std::string DirOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  std::size_t end = path.find_last_not_of('/', slash);
  if (end == std::string::npos) return "/";
  return path.substr(0, end + 1);
}

}  // namespace sol
