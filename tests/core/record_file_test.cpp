#include "core/record_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/file_system.h"
#include "tests/support/faulty_files.h"

namespace sol {
namespace {

// A fresh directory per test, removed afterwards.
class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "sol_core_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    SetFiles(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  static void WriteRaw(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
  }
  static std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string dir_;
};

using testing::FaultyFiles;

using PosixFiles = TempDir;

TEST_F(PosixFiles, OpenCreatesAndReadsShortAtEnd) {
  const std::string path = PathOf("a.dat");
  EXPECT_FALSE(Files().Exists(path));
  auto file = Files().Open(path);
  EXPECT_TRUE(Files().Exists(path));
  EXPECT_EQ(file->Size(), 0u);

  file->WriteAt(4, "xy", 2);
  EXPECT_EQ(file->Size(), 6u);
  char buf[10] = {};
  ASSERT_EQ(file->ReadAt(0, buf, sizeof buf), 6u);
  EXPECT_EQ(std::string(buf, 6), std::string("\0\0\0\0xy", 6));
  EXPECT_EQ(file->ReadAt(6, buf, 4), 0u);
  EXPECT_EQ(file->ReadAt(100, buf, 4), 0u);

  file->Truncate(5);
  file->Flush();
  file->Sync();
  EXPECT_EQ(file->Size(), 5u);
  file.reset();
  EXPECT_EQ(ReadRaw(path), std::string("\0\0\0\0x", 5));
}

TEST_F(PosixFiles, RenameRemoveAndErrors) {
  const std::string a = PathOf("a"), b = PathOf("b");
  WriteRaw(a, "new");
  WriteRaw(b, "old");
  Files().Rename(a, b);
  EXPECT_FALSE(Files().Exists(a));
  EXPECT_EQ(ReadRaw(b), "new");
  Files().SyncDir(dir_);

  Files().Remove(b);
  EXPECT_FALSE(Files().Exists(b));
  EXPECT_NO_THROW(Files().Remove(b));

  const std::string missing = PathOf("no/such/file");
  EXPECT_FALSE(Files().Exists(missing));
  try {
    Files().Open(missing);
    ADD_FAILURE() << "open succeeded";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
  }
  EXPECT_THROW(Files().Rename(a, b), FileError);
  EXPECT_THROW(Files().SyncDir(PathOf("nodir")), FileError);
  EXPECT_THROW(Files().Open(dir_), FileError);
}

TEST_F(PosixFiles, SetFilesSwapsAndRestores) {
  FaultyFiles faulty(0);
  FileSystem* posix = &Files();
  SetFiles(&faulty);
  EXPECT_EQ(&Files(), &faulty);
  Files().Exists(PathOf("x"));
  EXPECT_EQ(faulty.Operations(), 1);
  SetFiles(nullptr);
  EXPECT_EQ(&Files(), posix);
}

using RecordFiles = TempDir;

TEST_F(RecordFiles, CountIgnoresPartialRecord) {
  const std::string path = PathOf("rec.dat");
  {
    RecordFile f(path, 4);
    EXPECT_EQ(f.RecordLength(), 4);
    EXPECT_EQ(f.Count(), 0);
  }
  EXPECT_TRUE(Files().Exists(path));
  WriteRaw(path, "aaaabbbbcc");
  RecordFile f(path, 4);
  EXPECT_EQ(f.Count(), 2);
  WriteRaw(path, "aaa");
  EXPECT_EQ(f.Count(), 0);
  WriteRaw(path, "aaaabbbb");
  EXPECT_EQ(f.Count(), 2);
}

TEST_F(RecordFiles, ReadingPastTheEndGivesZeros) {
  const std::string path = PathOf("rec.dat");
  WriteRaw(path, "aaaabbbbcc");
  RecordFile f(path, 4);
  EXPECT_EQ(f.Read(1), "aaaa");
  EXPECT_EQ(f.Read(2), "bbbb");
  EXPECT_EQ(f.Read(3), std::string("cc\0\0", 4));
  EXPECT_EQ(f.Read(4), std::string(4, '\0'));
  EXPECT_EQ(f.Read(MaxRecordNumber), std::string(4, '\0'));
  // Several records in one read come out as Read gives them one by one.
  EXPECT_EQ(f.ReadRecords(2, 3), std::string("bbbbcc\0\0\0\0\0\0", 12));
  EXPECT_EQ(f.ReadRecords(1, 0), "");
  EXPECT_EQ(ReadRaw(path), "aaaabbbbcc");  // reading never extends
}

TEST_F(RecordFiles, WritingPastTheEndExtendsWithZeros) {
  const std::string path = PathOf("rec.dat");
  {
    RecordFile f(path, 3);
    f.Write(1, "abc");
    f.Write(4, "xyz");
    EXPECT_EQ(f.Count(), 4);
    EXPECT_EQ(f.Read(2), std::string(3, '\0'));
    f.Write(2, "def");
    f.Flush();
    f.Sync();
  }
  EXPECT_EQ(ReadRaw(path), std::string("abcdef\0\0\0xyz", 12));

  // Overwriting a record leaves its neighbours alone, also after reopening.
  RecordFile f(path, 3);
  f.Write(1, std::string("\0\xFF ", 3));
  EXPECT_EQ(f.Read(1), std::string("\0\xFF ", 3));
  EXPECT_EQ(f.Read(2), "def");
  EXPECT_EQ(f.Count(), 4);
}

TEST_F(RecordFiles, RecordNumbersOutsideRangeAreRefused) {
  RecordFile f(PathOf("rec.dat"), 2);
  for (long r : {0L, -1L, 32768L, -32768L, 1000000L}) {
    EXPECT_THROW(f.Read(r), FileError) << r;
    EXPECT_THROW(f.Write(r, "ab"), FileError) << r;
    EXPECT_THROW(f.ReadRecords(r, 1), FileError) << r;
  }
  EXPECT_THROW(f.ReadRecords(MaxRecordNumber, 2), FileError);
  EXPECT_EQ(f.Count(), 0);
  f.Write(MaxRecordNumber, "zz");
  EXPECT_EQ(f.Count(), MaxRecordNumber);
  EXPECT_EQ(f.Read(MaxRecordNumber), "zz");
}

TEST_F(RecordFiles, BadLengthsAreRefused) {
  EXPECT_THROW(RecordFile(PathOf("z.dat"), 0), FileError);
  EXPECT_THROW(RecordFile(PathOf("z.dat"), -3), FileError);
  EXPECT_THROW(RecordFile(PathOf("no/dir.dat"), 4), FileError);

  RecordFile f(PathOf("rec.dat"), 4);
  EXPECT_THROW(f.Write(1, "abc"), FileError);
  EXPECT_THROW(f.Write(1, "abcde"), FileError);
  EXPECT_THROW(f.Write(1, ""), FileError);
  EXPECT_EQ(f.Count(), 0);
  EXPECT_THROW(f.Truncate(-1), FileError);
}

TEST_F(RecordFiles, TruncateCutsAndExtends) {
  const std::string path = PathOf("rec.dat");
  WriteRaw(path, "aabbccd");
  RecordFile f(path, 2);
  f.Truncate(2);
  EXPECT_EQ(ReadRaw(path), "aabb");
  f.Truncate(3);
  EXPECT_EQ(ReadRaw(path), std::string("aabb\0\0", 6));
  f.Truncate(0);
  EXPECT_EQ(f.Count(), 0);
}

TEST(Int16Fields, LittleEndianRoundTrip) {
  std::string rec(6, '\x55');
  for (std::int16_t v : {0, 1, -1, 255, 256, -256, 12345, -12345, INT16_MAX, INT16_MIN}) {
    PutInt16(rec, 2, v);
    EXPECT_EQ(GetInt16(rec, 2), v);
    EXPECT_EQ(rec[1], '\x55');
    EXPECT_EQ(rec[4], '\x55');
  }
  PutInt16(rec, 0, 0x1234);
  EXPECT_EQ(rec.substr(0, 2), "\x34\x12");
  PutInt16(rec, 0, -2);
  EXPECT_EQ(rec.substr(0, 2), "\xFE\xFF");
  PutInt16(rec, 4, INT16_MIN);
  EXPECT_EQ(rec.substr(4, 2), std::string("\x00\x80", 2));
  EXPECT_EQ(GetInt16(std::string("\xFF\x7F", 2), 0), INT16_MAX);
  EXPECT_EQ(GetInt16(std::string("\x01\x80", 2), 0), -32767);
}

TEST(Int16Fields, OffsetsOutsideRecordThrow) {
  std::string rec(4, '\0');
  EXPECT_THROW(GetInt16(rec, 3), std::out_of_range);
  EXPECT_THROW(GetInt16(rec, 4), std::out_of_range);
  EXPECT_THROW(GetInt16(rec, SIZE_MAX), std::out_of_range);
  EXPECT_THROW(PutInt16(rec, 3, 1), std::out_of_range);
  EXPECT_THROW(PutInt16(rec, SIZE_MAX, 1), std::out_of_range);
  EXPECT_EQ(rec, std::string(4, '\0'));
  EXPECT_NO_THROW(PutInt16(rec, 2, 1));
}

using Replace = TempDir;

TEST_F(Replace, WritesWholeNewContent) {
  const std::string target = PathOf("data.dat"), scratch = PathOf("data.tmp");
  WriteRaw(target, "old content that is long");
  WriteRaw(scratch, "stale scratch content, longer than the new one");
  ReplaceFile(target, scratch, std::string_view("new\0data", 8));
  EXPECT_EQ(ReadRaw(target), std::string("new\0data", 8));
  EXPECT_FALSE(Files().Exists(scratch));

  // A missing target is simply created; empty content is allowed.
  const std::string other = PathOf("other.dat");
  ReplaceFile(other, scratch, "");
  EXPECT_TRUE(Files().Exists(other));
  EXPECT_EQ(ReadRaw(other), "");
  EXPECT_THROW(ReplaceFile(target, target, "x"), FileError);
  EXPECT_EQ(ReadRaw(target), std::string("new\0data", 8));
}

TEST_F(Replace, UsesTheExpectedOperationsInOrder) {
  const std::string target = PathOf("data.dat"), scratch = PathOf("data.tmp");
  FaultyFiles faulty(0);
  SetFiles(&faulty);
  ReplaceFile(target, scratch, "abc");
  const std::vector<std::string> expected = {"Remove " + scratch,
                                             "Open " + scratch,
                                             "Truncate " + scratch,
                                             "WriteAt " + scratch,
                                             "Flush " + scratch,
                                             "Sync " + scratch,
                                             "Rename " + scratch + " " + target,
                                             "SyncDir " + dir_};
  EXPECT_EQ(faulty.log, expected);
}

TEST_F(Replace, AnyFailureBeforeRenameLeavesTargetWhole) {
  const std::string target = PathOf("data.dat"), scratch = PathOf("data.tmp");
  const std::string old = "old records\n";
  FaultyFiles counter(0);
  SetFiles(&counter);
  ReplaceFile(PathOf("probe.dat"), scratch, "x");
  const int total = counter.Operations();
  const int renameAt = total - 1;  // the directory sync comes last

  for (int k = 1; k <= total; ++k) {
    WriteRaw(target, old);
    FaultyFiles faulty(k);
    SetFiles(&faulty);
    EXPECT_THROW(ReplaceFile(target, scratch, "brand new records"), FileError) << k;
    SetFiles(nullptr);
    for (const std::string& op : faulty.log) EXPECT_NE(op, "Remove " + target) << k;
    if (k <= renameAt)
      EXPECT_EQ(ReadRaw(target), old) << "failing operation " << k << ": " << faulty.log.back();
    else
      EXPECT_EQ(ReadRaw(target), "brand new records") << k;
  }
}

using WholeFile = TempDir;

TEST_F(WholeFile, ReadsEverythingAndCreatesMissing) {
  const std::string path = PathOf("w.dat");
  EXPECT_EQ(ReadWholeFile(path), "");
  EXPECT_TRUE(Files().Exists(path));
  std::string big(100000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  WriteRaw(path, big);
  EXPECT_EQ(ReadWholeFile(path), big);
  EXPECT_THROW(ReadWholeFile(PathOf("no/such")), FileError);
}

TEST(DirOfPath, Cases) {
  EXPECT_EQ(DirOf("/a/b/c.dat"), "/a/b");
  EXPECT_EQ(DirOf("a/c.dat"), "a");
  EXPECT_EQ(DirOf("a//c.dat"), "a");
  EXPECT_EQ(DirOf("c.dat"), ".");
  EXPECT_EQ(DirOf(""), ".");
  EXPECT_EQ(DirOf("/c.dat"), "/");
  EXPECT_EQ(DirOf("//c.dat"), "/");
  EXPECT_EQ(DirOf("/データ/棋譜.dat"), "/データ");
}

}  // namespace
}  // namespace sol
