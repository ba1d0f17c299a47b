// Record layouts, block geometry, block scans and block ends.
#include "problems/store.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "core/cp932.h"
#include "core/file_system.h"
#include "core/record_file.h"
#include "problems/store_detail.h"

namespace sol {

using store_detail::Whole;

namespace {

static_assert(LayoutLength(ProblemListLayout) == ProblemListRecord::Length);
static_assert(LayoutLength(ProblemMoveLayout) == ProblemMoveRecord::Length);
static_assert(LayoutLength(AnswerMoveLayout) == AnswerMoveRecord::Length);
static_assert(LayoutLength(CommentLayout) == CommentRecord::Length);

int BlockSize(ProblemFile f) {
  switch (f) {
    case ProblemFile::List:
      return 500;
    case ProblemFile::Moves:
      return 10000;
    case ProblemFile::Answers:
      return 2000;
    case ProblemFile::Comments:
      return 500;
  }
  throw std::out_of_range("problem file");
}

// The used records of the block; with `problem`, only that problem's, the
// others not decoded at all.
template <typename R>
std::vector<Numbered<R>> Scan(const GameState& s, ProblemFile f, int category, std::optional<int> problem = {}) {
  const std::string bytes = store_detail::ReadBlockBytes(ProblemFilePath(s, f), f, category);
  const int length = RecordLength(f);
  const int used = store_detail::UsedCount(bytes, length);
  const int first = BlockFirst(f, category);
  std::vector<Numbered<R>> out;
  if (!problem) out.reserve(static_cast<size_t>(used));
  for (int i = 0; i < used; ++i) {
    const std::string_view record = std::string_view(bytes).substr(static_cast<size_t>(i) * length, length);
    if (problem && store_detail::ProblemNumberOf(record) != *problem) continue;
    out.push_back({first + i, R::Decode(record)});
  }
  return out;
}

}  // namespace

ProblemListRecord ProblemListRecord::Decode(std::string_view bytes) { return DecodeRecord<ProblemListLayout>(bytes); }
std::string ProblemListRecord::Encode() const { return EncodeRecord<ProblemListLayout>(*this); }
ProblemMoveRecord ProblemMoveRecord::Decode(std::string_view bytes) { return DecodeRecord<ProblemMoveLayout>(bytes); }
std::string ProblemMoveRecord::Encode() const { return EncodeRecord<ProblemMoveLayout>(*this); }
AnswerMoveRecord AnswerMoveRecord::Decode(std::string_view bytes) { return DecodeRecord<AnswerMoveLayout>(bytes); }
std::string AnswerMoveRecord::Encode() const { return EncodeRecord<AnswerMoveLayout>(*this); }
CommentRecord CommentRecord::Decode(std::string_view bytes) { return DecodeRecord<CommentLayout>(bytes); }
std::string CommentRecord::Encode() const { return EncodeRecord<CommentLayout>(*this); }

int BlockFirst(ProblemFile f, int category) {
  if (category < 1 || category > 4) throw std::out_of_range("problem category " + std::to_string(category));
  return (category - 1) * BlockSize(f) + 1;
}

int BlockLast(ProblemFile f, int category) {
  if (category < 1 || category > 4) throw std::out_of_range("problem category " + std::to_string(category));
  return category == 4 ? MaxRecordNumber : category * BlockSize(f);
}

bool BlockFull(ProblemFile f, int category, int end, int room) {
  return category >= 1 && category <= 4 && end >= BlockLast(f, category) - room;
}

const std::string& ProblemFilePath(const GameState& s, ProblemFile f) {
  switch (f) {
    case ProblemFile::List:
      return s.ProblemListFile;
    case ProblemFile::Moves:
      return s.ProblemMovesFile;
    case ProblemFile::Answers:
      return s.AnswerMovesFile;
    case ProblemFile::Comments:
      return s.CommentFile;
  }
  throw std::out_of_range("problem file");
}

int RecordLength(ProblemFile f) {
  switch (f) {
    case ProblemFile::List:
      return ProblemListRecord::Length;
    case ProblemFile::Moves:
      return ProblemMoveRecord::Length;
    case ProblemFile::Answers:
      return AnswerMoveRecord::Length;
    case ProblemFile::Comments:
      return CommentRecord::Length;
  }
  throw std::out_of_range("problem file");
}

std::vector<Numbered<ProblemListRecord>> ScanProblemList(const GameState& s, int category) {
  return Scan<ProblemListRecord>(s, ProblemFile::List, category);
}

void ForEachProblemListRecord(const GameState& s, int category,
                              const std::function<void(const ProblemListRecord&)>& visit) {
  const std::string bytes =
      store_detail::ReadBlockBytes(ProblemFilePath(s, ProblemFile::List), ProblemFile::List, category);
  const int length = RecordLength(ProblemFile::List);
  const int used = store_detail::UsedCount(bytes, length);
  for (int i = 0; i < used; ++i)
    visit(ProblemListRecord::Decode(std::string_view(bytes).substr(static_cast<size_t>(i) * length, length)));
}

std::vector<Numbered<ProblemMoveRecord>> ScanProblemMoves(const GameState& s, int category) {
  return Scan<ProblemMoveRecord>(s, ProblemFile::Moves, category);
}

std::vector<Numbered<AnswerMoveRecord>> ScanAnswers(const GameState& s, int category) {
  return Scan<AnswerMoveRecord>(s, ProblemFile::Answers, category);
}

std::vector<Numbered<AnswerMoveRecord>> ScanAnswers(const GameState& s, int category, int problem) {
  return Scan<AnswerMoveRecord>(s, ProblemFile::Answers, category, problem);
}

std::vector<Numbered<CommentRecord>> ScanComments(const GameState& s, int category) {
  return Scan<CommentRecord>(s, ProblemFile::Comments, category);
}

std::vector<Numbered<CommentRecord>> ScanComments(const GameState& s, int category, int problem) {
  return Scan<CommentRecord>(s, ProblemFile::Comments, category, problem);
}

int16_t& BlockEndOf(BlockEnds& ends, ProblemFile f) {
  switch (f) {
    case ProblemFile::List:
      return ends.ListEnd;
    case ProblemFile::Moves:
      return ends.MovesEnd;
    case ProblemFile::Answers:
      return ends.AnswersEnd;
    case ProblemFile::Comments:
      return ends.CommentsEnd;
  }
  throw std::out_of_range("problem file");
}

int16_t BlockEndOf(const BlockEnds& ends, ProblemFile f) { return BlockEndOf(const_cast<BlockEnds&>(ends), f); }

int FindBlockEnd(const GameState& s, ProblemFile f, int category) {
  const std::string bytes = store_detail::ReadBlockBytes(ProblemFilePath(s, f), f, category);
  return BlockFirst(f, category) - 1 + store_detail::UsedCount(bytes, RecordLength(f));
}

void FindBlockEnds(GameState& s, int category) {
  store_detail::CheckCategory(category);
  // Each field is set as soon as its file has been read, so a failure in a
  // later file leaves the earlier ones correct.
  for (ProblemFile f : {ProblemFile::List, ProblemFile::Moves, ProblemFile::Answers, ProblemFile::Comments})
    BlockEndOf(s.BlockEnd[static_cast<size_t>(category)], f) = static_cast<int16_t>(FindBlockEnd(s, f, category));
}

int ReportedRoom(ProblemFile f, int category, int blockEnd) {
  const int last = category == 4 ? MaxRecordNumber - 1 : BlockLast(f, category);
  return last - blockEnd;
}

std::string EndMarker(ProblemFile f) { return std::string(static_cast<size_t>(RecordLength(f)), '\0'); }

namespace store_detail {

void CheckCategory(int category) {
  if (category < 1 || category > 4) throw FileError("problem category " + std::to_string(category) + " out of range");
}

std::string Whole(std::string_view bytes, int length) {
  std::string rec(bytes.substr(0, static_cast<size_t>(length)));
  rec.resize(static_cast<size_t>(length), '\0');
  return rec;
}

int UsedCount(std::string_view bytes, int length) {
  const size_t step = static_cast<size_t>(length);
  int used = 0;
  for (size_t at = 0; at < bytes.size() && ProblemNumberOf(bytes.substr(at, step)) != 0; at += step) ++used;
  return used;
}

std::string ReadBlockBytes(const std::string& path, ProblemFile f, int category) {
  CheckCategory(category);
  const std::uint64_t length = static_cast<std::uint64_t>(RecordLength(f));
  const std::uint64_t start = static_cast<std::uint64_t>(BlockFirst(f, category) - 1) * length;
  const std::uint64_t blockBytes =
      static_cast<std::uint64_t>(BlockLast(f, category) - BlockFirst(f, category) + 1) * length;
  std::unique_ptr<File> file = Files().Open(path);
  const std::uint64_t size = file->Size();
  if (size <= start) return {};
  std::string bytes(static_cast<size_t>(std::min(size - start, blockBytes)), '\0');
  const size_t got = file->ReadAt(start, bytes.data(), bytes.size());
  if (got > bytes.size()) throw FileError("read returned too much from " + path);
  bytes.resize(got);
  // A trailing partial record reads as if padded with zeros.
  if (bytes.size() % length != 0)
    bytes.resize(bytes.size() + static_cast<size_t>(length - bytes.size() % length), '\0');
  return bytes;
}

}  // namespace store_detail

}  // namespace sol
