// Every change to a problem file: appends, block rewrites, removal of answer
// records with the renumbering it implies, deletion and renumbering of a
// problem. Each builds the whole new file in memory and hands it to
// ReplaceFile, so a data file is never left half written.
#include <algorithm>
#include <memory>
#include <unordered_map>

#include "core/file_system.h"
#include "core/record_file.h"
#include "problems/store.h"
#include "problems/store_detail.h"

namespace sol {

using store_detail::CheckCategory;
using store_detail::ProblemNumberOf;
using store_detail::Whole;

namespace {

// Far above the largest file a record number can address (32767 records of
// 50 bytes); anything bigger is not one of our files and is not copied.
constexpr std::uint64_t MaxDataFileBytes = std::uint64_t{64} << 20;

constexpr size_t RecordNumberOffset = FieldOffset(AnswerMoveLayout, &AnswerMoveRecord::RecordNumber);
constexpr size_t BranchLinkOffset = FieldOffset(AnswerMoveLayout, &AnswerMoveRecord::BranchLink);
constexpr size_t AnswerRecordOffset = FieldOffset(CommentLayout, &CommentRecord::AnswerRecord);

// A data file as read, with the used records of one category's block.
struct Block {
  ProblemFile file;
  int category;
  int first;
  int last;
  int length;
  std::string content;
  std::vector<std::string> used;

  int Capacity() const { return last - first + 1; }
};

Block Load(const GameState& s, ProblemFile f, int category) {
  CheckCategory(category);
  Block b{f, category, BlockFirst(f, category), BlockLast(f, category), RecordLength(f), {}, {}};
  const std::string& path = ProblemFilePath(s, f);
  {
    std::unique_ptr<File> file = Files().Open(path);
    const std::uint64_t size = file->Size();
    if (size > MaxDataFileBytes) throw FileError("too large for a problem file: " + path);
    b.content.resize(static_cast<size_t>(size));
    if (file->ReadAt(0, b.content.data(), b.content.size()) != b.content.size())
      throw FileError("the file became shorter while it was read: " + path);
  }
  const size_t start = static_cast<size_t>(b.first - 1) * b.length;
  if (b.content.size() > start) {
    const std::string_view block =
        std::string_view(b.content).substr(start, static_cast<size_t>(b.Capacity()) * b.length);
    const int n = store_detail::UsedCount(block, b.length);
    b.used.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) b.used.push_back(Whole(block.substr(static_cast<size_t>(i) * b.length), b.length));
  }
  return b;
}

void SetBlockEnd(GameState& s, const Block& b, int end) {
  BlockEndOf(s.BlockEnd[static_cast<size_t>(b.category)], b.file) = static_cast<int16_t>(end);
}

// The block of `b` becomes `records`; false, with nothing written, when they
// do not fit. Content that comes out the same is not written again.
bool Commit(GameState& s, const Block& b, const std::vector<std::string>& records) {
  if (records.size() > static_cast<size_t>(b.Capacity())) {
    SetBlockEnd(s, b, b.first - 1 + static_cast<int>(b.used.size()));
    return false;
  }
  for (const std::string& r : records) {
    if (r.size() != static_cast<size_t>(b.length))
      throw FileError("record of " + std::to_string(r.size()) + " bytes for " + ProblemFilePath(s, b.file));
    if (ProblemNumberOf(r) == 0) throw FileError("a record with problem number 0 would end the block early");
  }
  const int n = static_cast<int>(records.size());
  const bool marker = b.first + n <= b.last;
  std::string out = b.content;
  const size_t needed = static_cast<size_t>(b.first - 1 + n + (marker ? 1 : 0)) * b.length;
  if (out.size() < needed) out.resize(needed, '\0');
  size_t at = static_cast<size_t>(b.first - 1) * b.length;
  for (const std::string& r : records) {
    out.replace(at, r.size(), r);
    at += r.size();
  }
  if (marker) out.replace(at, static_cast<size_t>(b.length), EndMarker(b.file));
  if (out != b.content) ReplaceFile(ProblemFilePath(s, b.file), s.TempFile, out);
  SetBlockEnd(s, b, b.first - 1 + n);
  return true;
}

bool AppendTo(GameState& s, const Block& b, const std::vector<std::string>& records) {
  std::vector<std::string> all = b.used;
  all.insert(all.end(), records.begin(), records.end());
  return Commit(s, b, all);
}

void StableSortByProblem(std::vector<std::string>& records) {
  std::stable_sort(records.begin(), records.end(),
                   [](const std::string& a, const std::string& b) { return ProblemNumberOf(a) < ProblemNumberOf(b); });
}

std::string ReservedAnswerBytes(int record) {
  return AnswerMoveRecord{ReservedAnswerProblem, 0, 0, 0, static_cast<int16_t>(record), 0}.Encode();
}

// Whether the block holds the reserved record where it belongs.
bool HoldsReserved(const Block& answers) {
  const int reserved = ReservedAnswerRecord(answers.category);
  const size_t at = static_cast<size_t>(reserved - answers.first);
  return reserved != 0 && at < answers.used.size() && ProblemNumberOf(answers.used[at]) == ReservedAnswerProblem;
}

// Removes the answer records at `records` and renumbers what refers to them;
// with dropProblem other than 0 every comment of that problem goes as well.
// With nothing to remove the block is rewritten only when `repack` asks for
// it, to put the reserved record in place.
AnswerRenumbering RemoveAnswerRecords(GameState& s, int category, const std::vector<int>& records, int16_t dropProblem,
                                      bool repack = false) {
  const Block answers = Load(s, ProblemFile::Answers, category);
  const int n = static_cast<int>(answers.used.size());
  std::vector<char> gone(static_cast<size_t>(n), 0);
  for (int r : records)
    if (r >= answers.first && r < answers.first + n) gone[static_cast<size_t>(r - answers.first)] = 1;

  std::vector<int> removed;
  std::unordered_map<int, int16_t> problemOfRemoved;
  for (int i = 0; i < n; ++i)
    if (gone[static_cast<size_t>(i)]) {
      removed.push_back(answers.first + i);
      problemOfRemoved[answers.first + i] = ProblemNumberOf(answers.used[static_cast<size_t>(i)]);
    }

  AnswerRenumbering renumber;
  const bool rewrite = !removed.empty() || repack;
  if (rewrite) {
    renumber.reserved = ReservedAnswerRecord(category);
    renumber.removed = removed;
    // The reserved record is taken out with the rest and put back in place.
    if (HoldsReserved(answers) && !gone[static_cast<size_t>(renumber.reserved - answers.first)]) {
      renumber.removed.insert(std::lower_bound(renumber.removed.begin(), renumber.removed.end(), renumber.reserved),
                              renumber.reserved);
      gone[static_cast<size_t>(renumber.reserved - answers.first)] = 1;
    }
  }

  std::vector<std::string> keptAnswers;
  keptAnswers.reserve(static_cast<size_t>(n) - removed.size() + 1);
  for (int i = 0; i < n; ++i) {
    if (gone[static_cast<size_t>(i)]) continue;
    if (renumber.reserved != 0 && answers.first + static_cast<int>(keptAnswers.size()) == renumber.reserved)
      keptAnswers.push_back(ReservedAnswerBytes(renumber.reserved));
    std::string rec = answers.used[static_cast<size_t>(i)];
    PutInt16(rec, RecordNumberOffset, static_cast<int16_t>(answers.first + static_cast<int>(keptAnswers.size())));
    const int16_t link = GetInt16(rec, BranchLinkOffset);
    if (link != 0 && link != StartsAtProblem) PutInt16(rec, BranchLinkOffset, static_cast<int16_t>(renumber(link)));
    keptAnswers.push_back(std::move(rec));
  }

  const Block comments = Load(s, ProblemFile::Comments, category);
  std::vector<std::string> keptComments;
  keptComments.reserve(comments.used.size());
  for (const std::string& used : comments.used) {
    const int16_t problem = ProblemNumberOf(used);
    const int16_t target = GetInt16(used, AnswerRecordOffset);
    if (dropProblem != 0 && problem == dropProblem) continue;
    const auto head = problemOfRemoved.find(target);
    if (head != problemOfRemoved.end() && head->second == problem) continue;
    std::string rec = used;
    PutInt16(rec, AnswerRecordOffset, static_cast<int16_t>(renumber(target)));
    keptComments.push_back(std::move(rec));
  }

  // Both files are read and both new blocks built before either is replaced,
  // so only a failure of the second replacement can leave the comments
  // pointing into the old numbering. Putting the reserved record back can
  // need one record more than the block holds; then nothing moves.
  if (!rewrite) {
    SetBlockEnd(s, answers, answers.first - 1 + n);
  } else if (!Commit(s, answers, keptAnswers)) {
    return {};
  }
  (void)Commit(s, comments, keptComments);
  return renumber;
}

}  // namespace

bool AppendRecords(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records) {
  return AppendTo(s, Load(s, f, category), records);
}

bool AppendProblemMoves(GameState& s, int category, const std::vector<ProblemMoveRecord>& records) {
  std::vector<std::string> bytes;
  for (const ProblemMoveRecord& r : records) bytes.push_back(r.Encode());
  return AppendRecords(s, ProblemFile::Moves, category, bytes);
}

bool AppendAnswers(GameState& s, int category, std::vector<AnswerMoveRecord>& records) {
  const Block b = Load(s, ProblemFile::Answers, category);
  std::vector<AnswerMoveRecord> placed = records;
  std::vector<std::string> bytes;
  int next = b.first + static_cast<int>(b.used.size());
  const int reserved = ReservedAnswerRecord(category);
  for (AnswerMoveRecord& r : placed) {
    if (next == reserved) bytes.push_back(ReservedAnswerBytes(next++));
    // Past the block the number is meaningless; Commit refuses the append.
    r.RecordNumber = static_cast<int16_t>(std::min(next++, MaxRecordNumber));
    bytes.push_back(r.Encode());
  }
  if (!AppendTo(s, b, bytes)) return false;
  records = std::move(placed);
  return true;
}

bool AppendComment(GameState& s, int category, const CommentRecord& record) {
  return AppendRecords(s, ProblemFile::Comments, category, {record.Encode()});
}

void RewriteBlock(GameState& s, ProblemFile f, int category, const RecordEdit& edit) {
  const Block b = Load(s, f, category);
  std::vector<std::string> kept;
  kept.reserve(b.used.size());
  for (size_t i = 0; i < b.used.size(); ++i) {
    std::string rec = b.used[i];
    if (edit(b.first + static_cast<int>(i), rec)) kept.push_back(std::move(rec));
  }
  (void)Commit(s, b, kept);
}

bool ReplaceBlock(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records) {
  return Commit(s, Load(s, f, category), records);
}

bool RewriteProblemList(GameState& s, int category, std::vector<ProblemListRecord> records) {
  const auto byNumber = [](const ProblemListRecord& a, const ProblemListRecord& b) {
    return a.ProblemNumber < b.ProblemNumber;
  };
  // The window's list is nearly always in order already; 31,000 records are
  // not moved about for nothing.
  if (!std::is_sorted(records.begin(), records.end(), byNumber))
    std::stable_sort(records.begin(), records.end(), byNumber);
  std::vector<std::string> bytes;
  bytes.reserve(records.size());
  for (const ProblemListRecord& r : records) bytes.push_back(r.Encode());
  return ReplaceBlock(s, ProblemFile::List, category, bytes);
}

int TranslateRecordNumber(int old, const std::vector<int>& removed) {
  return old - static_cast<int>(std::lower_bound(removed.begin(), removed.end(), old) - removed.begin());
}

int ReservedAnswerRecord(int category) {
  return BlockFirst(ProblemFile::Answers, category) <= StartsAtProblem &&
                 StartsAtProblem <= BlockLast(ProblemFile::Answers, category)
             ? StartsAtProblem
             : 0;
}

int AnswerRenumbering::operator()(int old) const {
  const int lowered = TranslateRecordNumber(old, removed);
  // A number past the last record a file can have names nothing; it stays.
  return reserved != 0 && lowered >= reserved && lowered < MaxRecordNumber ? lowered + 1 : lowered;
}

AnswerRenumbering RemoveAnswers(GameState& s, int category, const std::vector<int>& records) {
  return RemoveAnswerRecords(s, category, records, 0);
}

AnswerRenumbering FreeReservedAnswerRecord(GameState& s, int category) {
  const Block answers = Load(s, ProblemFile::Answers, category);
  const int reserved = ReservedAnswerRecord(category);
  if (reserved == 0 || reserved >= answers.first + static_cast<int>(answers.used.size()) || HoldsReserved(answers))
    return {};
  return RemoveAnswerRecords(s, category, {}, 0, true);
}

std::vector<int> WithDependentSequences(const std::vector<Numbered<AnswerMoveRecord>>& block,
                                        const std::vector<int>& records) {
  const size_t n = block.size();
  std::unordered_map<int, size_t> indexOf;
  for (size_t i = 0; i < n; ++i) indexOf.emplace(block[i].record, i);

  // The next record of the same problem, so that walking a sequence skips the
  // records of other problems between its moves in one step each.
  std::vector<size_t> nextSame(n, n);
  {
    std::unordered_map<int16_t, size_t> later;
    for (size_t i = n; i-- > 0;) {
      const auto it = later.find(block[i].value.ProblemNumber);
      if (it != later.end()) nextSame[i] = it->second;
      later[block[i].value.ProblemNumber] = i;
    }
  }
  std::unordered_multimap<int, size_t> headsLinkedTo;
  for (size_t i = 0; i < n; ++i) {
    const int16_t link = block[i].value.BranchLink;
    if (link > 0 && link != StartsAtProblem) headsLinkedTo.emplace(link, i);
  }

  std::vector<char> in(n, 0);
  std::vector<size_t> work;
  for (int r : records) {
    const auto it = indexOf.find(r);
    if (it != indexOf.end() && !in[it->second]) {
      in[it->second] = 1;
      work.push_back(it->second);
    }
  }
  // Each record enters `work` once, so this ends after at most n rounds
  // whatever the links say.
  while (!work.empty()) {
    const size_t parent = work.back();
    work.pop_back();
    const auto [from, to] = headsLinkedTo.equal_range(block[parent].record);
    for (auto it = from; it != to; ++it) {
      size_t i = it->second;
      if (in[i] || block[i].value.ProblemNumber != block[parent].value.ProblemNumber) continue;
      do {
        if (!in[i]) {
          in[i] = 1;
          work.push_back(i);
        }
        i = nextSame[i];
      } while (i < n && block[i].value.BranchLink == 0);
    }
  }

  std::vector<int> out(records);
  for (size_t i = 0; i < n; ++i)
    if (in[i]) out.push_back(block[i].record);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

void RemoveComments(GameState& s, int category, const std::vector<CommentRef>& comments) {
  RewriteBlock(s, ProblemFile::Comments, category, [&](int, std::string& rec) {
    const CommentRef ref{ProblemNumberOf(rec), GetInt16(rec, AnswerRecordOffset)};
    return std::find(comments.begin(), comments.end(), ref) == comments.end();
  });
}

void DeleteProblemRecords(GameState& s, int category, int16_t problem) {
  CheckCategory(category);
  if (problem == 0) return;
  const auto other = [problem](int, std::string& rec) { return ProblemNumberOf(rec) != problem; };
  RewriteBlock(s, ProblemFile::List, category, other);
  RewriteBlock(s, ProblemFile::Moves, category, other);
  std::vector<int> records;
  for (const auto& a : ScanAnswers(s, category))
    if (a.value.ProblemNumber == problem) records.push_back(a.record);
  RemoveAnswerRecords(s, category, records, problem);
}

void RenumberInBlock(GameState& s, ProblemFile f, int category, int16_t from, int16_t to) {
  if (to == 0) throw FileError("problem number 0 would end the block early");
  const Block b = Load(s, f, category);
  std::vector<std::string> records = b.used;
  for (std::string& rec : records)
    if (ProblemNumberOf(rec) == from) PutInt16(rec, 0, to);
  if (f == ProblemFile::List) StableSortByProblem(records);
  (void)Commit(s, b, records);
}

bool RenumberProblemRecords(GameState& s, int category, int16_t from, int16_t to) {
  CheckCategory(category);
  if (to < 1) return false;
  if (from == to) return true;
  for (const auto& r : ScanProblemList(s, category))
    if (r.value.ProblemNumber == to) return false;
  for (ProblemFile f : {ProblemFile::List, ProblemFile::Moves, ProblemFile::Answers, ProblemFile::Comments})
    RenumberInBlock(s, f, category, from, to);
  return true;
}

}  // namespace sol
