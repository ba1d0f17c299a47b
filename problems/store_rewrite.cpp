// Every change to a problem file: appends, block rewrites, removal of answer
// records with the renumbering it implies, deletion and renumbering of a
// problem. Each builds the whole new file in memory and hands it to
// ReplaceFile, so a data file is never left half written. The records that
// stay keep the bytes they were read with; only the fields a command changes
// are written into them.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "core/cp932.h"
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

// A file's bytes, read into memory that is not cleared first: every command
// reads megabytes of these files whole.
class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(size_t size) : data_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}
  char* data() { return data_.get(); }
  size_t size() const { return size_; }
  std::string_view View() const { return {data_.get(), size_}; }
  // Longer by zeros up to `size` bytes.
  void Extend(size_t size) {
    if (size <= size_) return;
    std::unique_ptr<char[]> longer = std::make_unique_for_overwrite<char[]>(size);
    if (size_ > 0) std::memcpy(longer.get(), data_.get(), size_);
    std::memset(longer.get() + size_, 0, size - size_);
    data_ = std::move(longer);
    size_ = size;
  }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

// A data file as read, with the used records of one category's block. A
// block's records are handled as one run of bytes: a command copies the
// records it keeps and changes only the fields it must.
struct Block {
  ProblemFile file;
  int category;
  int first;
  int last;
  int length;
  FileBytes content;  // the whole file
  int count = 0;      // used records
  // The used records when the file ends inside the last of them, padded
  // with zeros; otherwise empty and the records are read from `content`.
  std::string padded;

  int Capacity() const { return last - first + 1; }
  size_t Bytes(int records) const { return static_cast<size_t>(records) * static_cast<size_t>(length); }
  size_t Start() const { return Bytes(first - 1); }
  // The used records, `length` bytes each.
  std::string_view Used() const {
    if (count == 0) return {};
    if (!padded.empty()) return padded;
    return content.View().substr(Start(), Bytes(count));
  }
  std::string_view Record(int i) const { return Used().substr(Bytes(i), static_cast<size_t>(length)); }
};

Block Load(const GameState& s, ProblemFile f, int category) {
  CheckCategory(category);
  Block b{f, category, BlockFirst(f, category), BlockLast(f, category), RecordLength(f), {}, 0, {}};
  const std::string& path = ProblemFilePath(s, f);
  {
    std::unique_ptr<File> file = Files().Open(path);
    const std::uint64_t size = file->Size();
    if (size > MaxDataFileBytes) throw FileError("too large for a problem file: " + path);
    b.content = FileBytes(static_cast<size_t>(size));
    if (file->ReadAt(0, b.content.data(), b.content.size()) != b.content.size())
      throw FileError("the file became shorter while it was read: " + path);
  }
  const size_t start = b.Start();
  if (b.content.size() > start) {
    const std::string_view block = b.content.View().substr(start, b.Bytes(b.Capacity()));
    b.count = store_detail::UsedCount(block, b.length);
    if (block.size() < b.Bytes(b.count)) b.padded = Whole(block, static_cast<int>(b.Bytes(b.count)));
  }
  return b;
}

void SetBlockEnd(GameState& s, const Block& b, int end) {
  BlockEndOf(s.BlockEnd[static_cast<size_t>(b.category)], b.file) = static_cast<int16_t>(end);
}

// The end of a block whose first `n` records are in place in b's content
// (`changed`: they differ from what the file held): the file is made long
// enough for them and, where the block has room, for an empty record after
// them, and written when anything changed.
void FinishBlock(GameState& s, Block& b, int n, bool changed) {
  const bool marker = b.first + n <= b.last;
  const size_t start = b.Start();
  FileBytes& out = b.content;
  const size_t needed = start + b.Bytes(n + (marker ? 1 : 0));
  changed = changed || out.size() < needed;
  out.Extend(needed);
  if (marker) {
    char* end = out.data() + start + b.Bytes(n);
    changed = changed || std::any_of(end, end + b.length, [](char c) { return c != '\0'; });
    std::memset(end, 0, static_cast<size_t>(b.length));
  }
  if (changed) ReplaceFile(ProblemFilePath(s, b.file), s.TempFile, out.View());
  SetBlockEnd(s, b, b.first - 1 + n);
}

// The block of `b` becomes `records` (whole records, none of them inside
// b's content); false, with nothing written, when they do not fit. Content
// that comes out the same is not written again.
bool Commit(GameState& s, Block& b, std::string_view records) {
  const size_t length = static_cast<size_t>(b.length);
  const int n = static_cast<int>(records.size() / length);
  if (n > b.Capacity()) {
    SetBlockEnd(s, b, b.first - 1 + b.count);
    return false;
  }
  if (records.size() % length != 0)
    throw FileError("record of " + std::to_string(records.size() % length) + " bytes for " +
                    ProblemFilePath(s, b.file));
  for (size_t at = 0; at < records.size(); at += length)
    if (ProblemNumberOf(records.substr(at, length)) == 0)
      throw FileError("a record with problem number 0 would end the block early");
  const size_t start = b.Start();
  FileBytes& out = b.content;
  bool changed = out.size() < start + records.size();
  out.Extend(start + records.size());
  changed = changed || out.View().substr(start, records.size()) != records;
  if (!records.empty()) std::memcpy(out.data() + start, records.data(), records.size());
  FinishBlock(s, b, n, changed);
  return true;
}

// The records given one by one, as one run of bytes; FileError for one of
// the wrong length.
std::string Joined(const GameState& s, const Block& b, const std::vector<std::string>& records) {
  std::string out;
  out.reserve(b.Bytes(static_cast<int>(records.size())));
  for (const std::string& r : records) {
    if (r.size() != static_cast<size_t>(b.length))
      throw FileError("record of " + std::to_string(r.size()) + " bytes for " + ProblemFilePath(s, b.file));
    out += r;
  }
  return out;
}

bool AppendTo(GameState& s, Block& b, const std::vector<std::string>& records) {
  if (records.size() > static_cast<size_t>(b.Capacity() - b.count)) {
    SetBlockEnd(s, b, b.first - 1 + b.count);
    return false;
  }
  std::string all(b.Used());
  all += Joined(s, b, records);
  return Commit(s, b, all);
}

// Records of `length` bytes put in ascending order of problem number, those
// of one number kept in their order.
void StableSortByProblem(std::string& records, int length) {
  const size_t step = static_cast<size_t>(length);
  const size_t n = records.size() / step;
  std::vector<int16_t> numbers(n);
  for (size_t i = 0; i < n; ++i) numbers[i] = ProblemNumberOf(std::string_view(records).substr(i * step, step));
  if (std::is_sorted(numbers.begin(), numbers.end())) return;
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return numbers[a] < numbers[b]; });
  std::string sorted;
  sorted.reserve(records.size());
  for (size_t i : order) sorted.append(records, i * step, step);
  records = std::move(sorted);
}

std::string ReservedAnswerBytes(int record) {
  return AnswerMoveRecord{ReservedAnswerProblem, 0, 0, 0, static_cast<int16_t>(record), 0}.Encode();
}

// Whether the block holds the reserved record where it belongs.
bool HoldsReserved(const Block& answers) {
  const int reserved = ReservedAnswerRecord(answers.category);
  const int at = reserved - answers.first;
  return reserved != 0 && at >= 0 && at < answers.count && ProblemNumberOf(answers.Record(at)) == ReservedAnswerProblem;
}

// The block rewritten with only the records `keep` accepts, unchanged.
template <typename Keep>
void KeepRecords(GameState& s, ProblemFile f, int category, Keep keep) {
  Block b = Load(s, f, category);
  const std::string_view used = b.Used();
  std::string kept;
  kept.reserve(used.size());
  // Runs of kept records are copied whole.
  size_t run = 0;
  for (int i = 0; i <= b.count; ++i)
    if (i == b.count || !keep(b.Record(i))) {
      kept.append(used.substr(run, b.Bytes(i) - run));
      run = b.Bytes(i + 1);
    }
  (void)Commit(s, b, kept);
}

// Removes the answer records at `records`, and with dropProblem other than 0
// every answer record and comment of that problem, and renumbers what refers
// to them. With nothing to remove the block is rewritten only when `repack`
// asks for it, to put the reserved record in place.
AnswerRenumbering RemoveAnswerRecords(GameState& s, int category, const std::vector<int>& records, int16_t dropProblem,
                                      bool repack = false) {
  Block answers = Load(s, ProblemFile::Answers, category);
  const int n = answers.count;
  std::vector<char> gone(static_cast<size_t>(n), 0);
  for (int r : records)
    if (r >= answers.first && r < answers.first + n) gone[static_cast<size_t>(r - answers.first)] = 1;
  if (dropProblem != 0)
    for (int i = 0; i < n; ++i)
      if (ProblemNumberOf(answers.Record(i)) == dropProblem) gone[static_cast<size_t>(i)] = 1;

  std::vector<int> removed;
  for (int i = 0; i < n; ++i)
    if (gone[static_cast<size_t>(i)]) removed.push_back(answers.first + i);
  // Whether a comment of `problem` names a record removed from its own problem.
  const std::vector<char> asked = gone;
  const auto removedFrom = [&](int16_t problem, int record) {
    const int i = record - answers.first;
    return i >= 0 && i < n && asked[static_cast<size_t>(i)] && ProblemNumberOf(answers.Record(i)) == problem;
  };

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

  // renumber() of every record of the block, found in one pass: the links of
  // 26,000 answers and the targets of 31,000 comments are looked up.
  std::vector<int> numberOf(static_cast<size_t>(n));
  for (size_t i = 0, below = 0; i < numberOf.size(); ++i) {
    const int old = answers.first + static_cast<int>(i);
    while (below < renumber.removed.size() && renumber.removed[below] < old) ++below;
    numberOf[i] = renumber.AroundReserved(old - static_cast<int>(below));
  }
  const auto renumbered = [&](int old) {
    const int i = old - answers.first;
    return i >= 0 && i < n ? numberOf[static_cast<size_t>(i)] : renumber(old);
  };

  const size_t length = static_cast<size_t>(answers.length);
  const std::string_view oldAnswers = answers.Used();
  std::string keptAnswers;
  keptAnswers.reserve(answers.Bytes(n - static_cast<int>(removed.size()) + 1));
  int next = answers.first;  // the record the next kept one becomes
  for (int i = 0; i < n; ++i) {
    if (gone[static_cast<size_t>(i)]) continue;
    if (renumber.reserved != 0 && next == renumber.reserved) {
      keptAnswers += ReservedAnswerBytes(next);
      ++next;
    }
    const std::string_view used = oldAnswers.substr(static_cast<size_t>(i) * length, length);
    const int16_t link = GetInt16(used, BranchLinkOffset);
    keptAnswers += used;
    char* rec = keptAnswers.data() + keptAnswers.size() - length;
    PutInt16(rec + RecordNumberOffset, static_cast<int16_t>(next++));
    if (link != 0 && link != StartsAtProblem) PutInt16(rec + BranchLinkOffset, static_cast<int16_t>(renumbered(link)));
  }

  Block comments = Load(s, ProblemFile::Comments, category);
  std::string keptComments;
  const std::string_view oldComments = comments.Used();
  keptComments.reserve(oldComments.size());
  for (size_t at = 0; at < oldComments.size(); at += static_cast<size_t>(comments.length)) {
    const std::string_view used = oldComments.substr(at, static_cast<size_t>(comments.length));
    const int16_t problem = ProblemNumberOf(used);
    const int16_t target = GetInt16(used, AnswerRecordOffset);
    if (dropProblem != 0 && problem == dropProblem) continue;
    if (removedFrom(problem, target)) continue;
    keptComments += used;
    PutInt16(keptComments.data() + keptComments.size() - comments.length + AnswerRecordOffset,
             static_cast<int16_t>(renumbered(target)));
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

// Whether the category's list block has a record of the problem.
bool Lists(const GameState& s, int category, int16_t problem) {
  const std::string bytes =
      store_detail::ReadBlockBytes(ProblemFilePath(s, ProblemFile::List), ProblemFile::List, category);
  const size_t length = static_cast<size_t>(RecordLength(ProblemFile::List));
  const int used = store_detail::UsedCount(bytes, static_cast<int>(length));
  for (size_t i = 0; i < static_cast<size_t>(used); ++i)
    if (ProblemNumberOf(std::string_view(bytes).substr(i * length, length)) == problem) return true;
  return false;
}

}  // namespace

bool AppendRecords(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records) {
  Block b = Load(s, f, category);
  return AppendTo(s, b, records);
}

bool AppendProblemMoves(GameState& s, int category, const std::vector<ProblemMoveRecord>& records) {
  std::vector<std::string> bytes;
  for (const ProblemMoveRecord& r : records) bytes.push_back(r.Encode());
  return AppendRecords(s, ProblemFile::Moves, category, bytes);
}

bool AppendAnswers(GameState& s, int category, std::vector<AnswerMoveRecord>& records) {
  Block b = Load(s, ProblemFile::Answers, category);
  std::vector<AnswerMoveRecord> placed = records;
  std::vector<std::string> bytes;
  int next = b.first + b.count;
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
  Block b = Load(s, f, category);
  std::string kept;
  kept.reserve(b.Bytes(b.count));
  std::string rec;
  for (int i = 0; i < b.count; ++i) {
    rec.assign(b.Record(i));
    if (!edit(b.first + i, rec)) continue;
    if (rec.size() != static_cast<size_t>(b.length))
      throw FileError("record of " + std::to_string(rec.size()) + " bytes for " + ProblemFilePath(s, b.file));
    kept += rec;
  }
  (void)Commit(s, b, kept);
}

bool ReplaceBlock(GameState& s, ProblemFile f, int category, const std::vector<std::string>& records) {
  Block b = Load(s, f, category);
  if (records.size() > static_cast<size_t>(b.Capacity())) {
    SetBlockEnd(s, b, b.first - 1 + b.count);
    return false;
  }
  return Commit(s, b, Joined(s, b, records));
}

namespace {

constexpr size_t ListNumberAt = FieldOffset(ProblemListLayout, &ProblemListRecord::ProblemNumber);
constexpr size_t ListTitleAt = FieldOffset(ProblemListLayout, &ProblemListRecord::ProblemText);

void EncodeListedInto(const ListedProblem& p, char* out) {
  PutInt16(out + ListNumberAt, p.number);
  EncodeFixedInto(p.title, out + ListTitleAt, ProblemListRecord::TextWidth);
}

// Whether the window lists as many problems as the block holds, as after a
// title was changed, so that the block can be rewritten where it lies.
bool FitsInPlace(const Block& b, size_t count) {
  return b.count > 0 && count == static_cast<size_t>(b.count) && b.padded.empty();
}

// The list block rewritten where it lies, for a list that fits in place and
// is in order: each record is encoded beside the one it replaces and copied
// over it only when it differs. false, with the file unchanged but `b`
// changed in memory, when the list is out of order.
bool RewriteListInPlace(GameState& s, Block& b, size_t count, const std::function<ListedProblem(size_t)>& line) {
  constexpr size_t length = ProblemListRecord::Length;
  char* records = b.content.data() + b.Start();
  char fresh[length];
  bool changed = false;
  int16_t last = INT16_MIN;
  for (size_t i = 0; i < count; ++i) {
    const ListedProblem p = line(i);
    if (p.number < last) return false;
    if (p.number == 0) throw FileError("a record with problem number 0 would end the block early");
    last = p.number;
    EncodeListedInto(p, fresh);
    char* old = records + i * length;
    if (std::memcmp(old, fresh, length) != 0) {
      std::memcpy(old, fresh, length);
      changed = true;
    }
  }
  FinishBlock(s, b, static_cast<int>(count), changed);
  return true;
}

}  // namespace

bool RewriteProblemList(GameState& s, int category, size_t count, const std::function<ListedProblem(size_t)>& line) {
  Block b = Load(s, ProblemFile::List, category);
  if (FitsInPlace(b, count)) {
    if (RewriteListInPlace(s, b, count, line)) return true;
    b = Load(s, ProblemFile::List, category);
  }
  constexpr size_t length = ProblemListRecord::Length;
  std::string bytes(count * length, '\0');
  for (size_t i = 0; i < count; ++i) EncodeListedInto(line(i), bytes.data() + i * length);
  // The window's list is nearly always in order already; 31,000 records are
  // not moved about for nothing.
  StableSortByProblem(bytes, static_cast<int>(length));
  return Commit(s, b, bytes);
}

bool RewriteProblemList(GameState& s, int category, const std::vector<ProblemListRecord>& records) {
  return RewriteProblemList(s, category, records.size(), [&](size_t i) {
    return ListedProblem{records[i].ProblemNumber, records[i].ProblemText};
  });
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

int AnswerRenumbering::operator()(int old) const { return AroundReserved(TranslateRecordNumber(old, removed)); }

int AnswerRenumbering::AroundReserved(int lowered) const {
  // A number past the last record a file can have names nothing; it stays.
  return reserved != 0 && lowered >= reserved && lowered < MaxRecordNumber ? lowered + 1 : lowered;
}

AnswerRenumbering RemoveAnswers(GameState& s, int category, const std::vector<int>& records) {
  return RemoveAnswerRecords(s, category, records, 0);
}

AnswerRenumbering FreeReservedAnswerRecord(GameState& s, int category) {
  const Block answers = Load(s, ProblemFile::Answers, category);
  const int reserved = ReservedAnswerRecord(category);
  if (reserved == 0 || reserved >= answers.first + answers.count || HoldsReserved(answers)) return {};
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
  KeepRecords(s, ProblemFile::Comments, category, [&](std::string_view rec) {
    const CommentRef ref{ProblemNumberOf(rec), GetInt16(rec, AnswerRecordOffset)};
    return std::find(comments.begin(), comments.end(), ref) == comments.end();
  });
}

void DeleteProblemRecords(GameState& s, int category, int16_t problem) {
  CheckCategory(category);
  if (problem == 0) return;
  const auto other = [problem](std::string_view rec) { return ProblemNumberOf(rec) != problem; };
  KeepRecords(s, ProblemFile::List, category, other);
  KeepRecords(s, ProblemFile::Moves, category, other);
  RemoveAnswerRecords(s, category, {}, problem);
}

void RenumberInBlock(GameState& s, ProblemFile f, int category, int16_t from, int16_t to) {
  if (to == 0) throw FileError("problem number 0 would end the block early");
  Block b = Load(s, f, category);
  std::string records(b.Used());
  for (size_t at = 0; at < records.size(); at += static_cast<size_t>(b.length))
    if (ProblemNumberOf(std::string_view(records).substr(at, 2)) == from) PutInt16(records.data() + at, to);
  if (f == ProblemFile::List) StableSortByProblem(records, b.length);
  (void)Commit(s, b, records);
}

bool RenumberProblemRecords(GameState& s, int category, int16_t from, int16_t to) {
  CheckCategory(category);
  if (to < 1) return false;
  if (from == to) return true;
  if (Lists(s, category, to)) return false;
  for (ProblemFile f : {ProblemFile::List, ProblemFile::Moves, ProblemFile::Answers, ProblemFile::Comments})
    RenumberInBlock(s, f, category, from, to);
  return true;
}

}  // namespace sol
