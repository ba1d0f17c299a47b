#pragma once

// Fixed-length record files and whole-file replacement.
//
// A record file has no header: record r (from 1) occupies bytes
// (r-1)*L .. r*L-1. Bytes that are not in the file read as zeros.
//
// Crash guarantee: after a crash each data file is wholly old or wholly
// new, never a mixture and never missing. This holds because a data file is
// changed only by ReplaceFile, which writes a scratch file, syncs it and
// renames it over the target. RecordFile::Write changes a file in place and
// gives no such guarantee by itself.
//
// All file access goes through Files(); failures surface as FileError.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "core/file_system.h"

namespace sol {

constexpr int MaxRecordNumber = 32767;

class RecordFile {
 public:
  // Creates a missing file empty. recordLength < 1 is a FileError.
  RecordFile(const std::string& path, int recordLength);

  int RecordLength() const { return length_; }
  const std::string& Path() const { return path_; }
  // Whole records in the file; a partial trailing record does not count.
  long Count();

  // Exactly RecordLength() bytes. Record numbers outside
  // 1..MaxRecordNumber are a FileError.
  std::string Read(long r);
  // Records first .. first+count-1 in one read, count * RecordLength()
  // bytes, as Read would give them one by one. The numbers must lie in
  // 1..MaxRecordNumber (FileError otherwise); count 0 reads nothing.
  std::string ReadRecords(long first, long count);
  // bytes.size() must be RecordLength(). Writing past the end extends the
  // file; any gap reads as zeros.
  void Write(long r, const std::string& bytes);

  void Flush();
  void Sync();
  // Cuts (or zero-extends) the file to `records` records.
  void Truncate(long records);

 private:
  std::uint64_t OffsetOf(long r) const;

  std::string path_;
  int length_;
  std::unique_ptr<File> file_;
};

// Little-endian signed 16-bit fields, assembled byte by byte. An offset
// whose two bytes are not inside rec throws std::out_of_range.
// Defined here: every scan of a block reads a field or two of each of tens
// of thousands of records.
inline std::int16_t GetInt16(std::string_view rec, std::size_t offset) {
  if (offset > rec.size() || rec.size() - offset < 2) throw std::out_of_range("GetInt16 offset");
  const unsigned lo = static_cast<unsigned char>(rec[offset]);
  const unsigned hi = static_cast<unsigned char>(rec[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}
void PutInt16(std::string& rec, std::size_t offset, std::int16_t v);
// The two bytes at `at`, which the caller has made sure are there.
void PutInt16(char* at, std::int16_t v);

// Writes content as the whole new target: a scratch file of scratchPath's
// name is created fresh (whatever was there is removed, a link never
// followed), written, flushed and synced, then renamed over target, then the
// directory is synced. A target that is a symbolic link is replaced where
// the link leads, the scratch file beside it, so that the link stays and
// leads to the new content. The new file keeps the old one's mode and, where
// the process may, its owner. The target is never removed first; if anything
// before the rename fails the target is untouched, the scratch file is
// removed and the FileError propagates (NotWritable where the folder or the
// target cannot be written). scratchPath must differ from target; only its
// name is used.
void ReplaceFile(const std::string& target, const std::string& scratchPath, std::string_view content);
// As ReplaceFile, on the given file system.
void ReplaceFileOn(FileSystem& fs, const std::string& target, const std::string& scratchPath, std::string_view content);

// No data file the format can address is anywhere near this large; a larger
// one is damaged and is not read whole.
constexpr std::uint64_t MaxWholeFileBytes = std::uint64_t{16} << 20;

// A file that is damaged as a whole (too large to be what it should be).
struct DamagedFile : FileError {
  DamagedFile(const std::string& what, std::string path) : FileError(what + ": " + path), Path(std::move(path)) {}
  std::string Path;
};

// The whole content; a missing file is created empty and reads as "".
// DamagedFile when it is larger than MaxWholeFileBytes.
std::string ReadWholeFile(const std::string& path);

// The name of this process's scratch file: no other process uses it, and
// RecoverFiles removes those that processes which ended left behind.
inline constexpr const char* ScratchFilePrefix = ".solneka-tmp-";
std::string ScratchFileName();

// The directory part of path: "." when there is none, "/" for the root.
std::string DirOf(const std::string& path);

}  // namespace sol
