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
#include <string>
#include <string_view>

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
std::int16_t GetInt16(std::string_view rec, std::size_t offset);
void PutInt16(std::string& rec, std::size_t offset, std::int16_t v);

// Writes content as the whole new target: scratchPath is emptied, written,
// flushed and synced, then renamed over target, then the directory is
// synced. The target is never removed first; if anything before the rename
// fails the target is untouched and the FileError propagates. scratchPath
// must be in the target's directory and differ from it.
void ReplaceFile(const std::string& target, const std::string& scratchPath, std::string_view content);

// The whole content; a missing file is created empty and reads as "".
std::string ReadWholeFile(const std::string& path);

// The directory part of path: "." when there is none, "/" for the root.
std::string DirOf(const std::string& path);

}  // namespace sol
