#include "core/file_transaction.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <map>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "core/game_state.h"
#include "core/record_file.h"

namespace sol {

namespace {

// 64 bits, enough to tell a file's recorded new content from any other
// content it might hold by accident. A change of several files sums each new
// content, megabytes per command, so the bytes are taken eight at a time
// (little-endian words, multiplied and folded), the tail byte by byte.
std::uint64_t Checksum(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ull ^ bytes.size();
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, bytes.data() + i, 8);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  }
  for (; i < bytes.size(); ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= 1099511628211ull;
  }
  return h;
}

constexpr std::string_view EntryMagic = "SOLJ";
// Opens a journal written whole before any of its files was replaced: it
// names every file of its change, so a journal of this kind whose files all
// hold their new content belongs to a change that was complete.
constexpr std::string_view WholeMagic = "SOLW";

void PutU64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool GetU64(std::string_view in, size_t& at, std::uint64_t& v) {
  if (in.size() < 8 || at > in.size() - 8) return false;
  v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  at += 8;
  return true;
}

struct Entry {
  std::string path;
  std::string old;
  std::uint64_t newChecksum = 0;
};

std::string WithoutTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir.empty() ? "." : dir;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

// The files a command ever replaces; a journal can name nothing else, so no
// journal, however made, reaches the lock, the settings or the program.
bool IsDataFileName(std::string_view name) {
  for (const char* n : {GameListFileName, GameMovesFileName, ProblemListFileName, ProblemMovesFileName,
                        AnswerMovesFileName, CommentFileName})
    if (name == n) return true;
  return false;
}

// A journal that is there but cannot be acted on; trying again would not
// help.
struct Unusable : FileError {
  using FileError::FileError;
};

constexpr std::uint64_t MaxJournalBytes = std::uint64_t{1} << 30;

// The whole content of `f`, the file at `path`: Unusable when it is too
// large, a FileError for what may pass (a read error, memory).
std::string ReadOpened(File& f, const std::string& path) {
  const std::uint64_t size = f.Size();
  if (size > MaxJournalBytes) throw Unusable("too large to read whole: " + path);
  std::string content;
  try {
    content.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    throw FileError("not enough memory to read whole: " + path);
  }
  content.resize(f.ReadAt(0, content.data(), content.size()));
  return content;
}

// The same for the file at `path`; also Unusable when it is no file.
std::string ReadAll(FileSystem& fs, const std::string& path) {
  std::unique_ptr<File> f;
  try {
    f = fs.Open(path);
  } catch (const UnusablePath& error) {
    throw Unusable(error.what());
  }
  return ReadOpened(*f, path);
}

// magic, name length, name, old length, old content, checksum of the new
// content, checksum of all the entry's bytes before it.
// An entry is appended to the journal where it is built: an old content of
// megabytes is copied once.
size_t EntrySize(const std::string& name, const std::string& old) {
  return EntryMagic.size() + 8 + name.size() + 8 + old.size() + 8 + 8;
}

void AppendEntry(std::string& out, const std::string& name, const std::string& old, std::uint64_t newChecksum) {
  const size_t start = out.size();
  out.reserve(start + EntrySize(name, old));
  out += EntryMagic;
  PutU64(out, name.size());
  out += name;
  PutU64(out, old.size());
  out += old;
  PutU64(out, newChecksum);
  PutU64(out, Checksum(std::string_view(out).substr(start)));
}

std::string EncodeEntry(const std::string& name, const std::string& old, std::uint64_t newChecksum) {
  std::string out;
  AppendEntry(out, name, old, newChecksum);
  return out;
}

// The header of a journal written whole: its magic, the number of entries
// and a checksum of both.
std::string WholeHeader(std::uint64_t entries) {
  std::string out(WholeMagic);
  PutU64(out, entries);
  PutU64(out, Checksum(out));
  return out;
}

struct Journal {
  std::vector<Entry> entries;
  // Written whole, and every entry it announces read back.
  bool whole = false;
};

// A journal of the new contents, as a commit writes it: every file it
// replaces, the name its new content waits under beside it, and that
// content's checksum; one checksum of all of it at the end. It is written
// whole before the one sync that also puts the waiting files on the disk,
// and no file is replaced before that sync: a journal that is not whole was
// never followed by a rename.
constexpr std::string_view RedoMagic = "SOLR";
// More than any command replaces.
constexpr std::uint64_t MaxRedoEntries = 64;

struct RedoEntry {
  std::string path;     // the data file, in the data folder
  std::string waiting;  // the name of its new content, beside where it leads
  std::uint64_t newChecksum = 0;
};

void AppendName(std::string& out, std::string_view name) {
  PutU64(out, name.size());
  out += name;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// A name of this program's own scratch files, and nothing else.
bool IsScratchName(std::string_view name) {
  return name.starts_with(ScratchFilePrefix) && name.size() <= 255 && name.find('/') == std::string_view::npos;
}

struct Redo {
  std::vector<RedoEntry> entries;
  bool whole = false;
};

Redo DecodeRedo(const std::string& dir, std::string_view bytes) {
  Redo redo;
  size_t at = RedoMagic.size();
  std::uint64_t count = 0, sum = 0;
  if (!GetU64(bytes, at, count) || count > MaxRedoEntries) return redo;
  const auto name = [&](std::string& out) {
    std::uint64_t length = 0;
    if (!GetU64(bytes, at, length) || length == 0 || length > 255 || length > bytes.size() - at) return false;
    out = std::string(bytes.substr(at, static_cast<size_t>(length)));
    at += static_cast<size_t>(length);
    return true;
  };
  std::vector<RedoEntry> entries;
  for (std::uint64_t i = 0; i < count; ++i) {
    RedoEntry e;
    std::string file;
    if (!name(file) || !name(e.waiting) || !GetU64(bytes, at, e.newChecksum)) return redo;
    if (file.find('/') != std::string::npos || file == "." || file == "..")
      throw Unusable("an entry names something outside the folder: " + file);
    if (!IsScratchName(e.waiting)) throw Unusable("an entry's new content is no scratch file: " + e.waiting);
    if (!IsDataFileName(file)) continue;
    e.path = JoinPath(dir, file);
    entries.push_back(std::move(e));
  }
  const size_t summed = at;
  if (!GetU64(bytes, at, sum) || sum != Checksum(bytes.substr(0, summed)) || at != bytes.size()) return redo;
  redo.entries = std::move(entries);
  redo.whole = true;
  return redo;
}

// Completes the change of a whole journal of new contents: every file that
// does not hold its new content yet gets it from where it waits. Nothing is
// renamed, and false returned, unless each file holds its new content or
// has it waiting: a journal of a change whose files were changed since in
// some other way is out of date.
bool RollForward(FileSystem& fs, const std::vector<RedoEntry>& entries) {
  struct Step {
    std::string from, to, folder;
  };
  std::vector<Step> steps;
  for (const RedoEntry& e : entries) {
    const std::string target = fs.Resolve(e.path);
    if (Checksum(ReadAll(fs, target)) == e.newChecksum) continue;
    const std::string folder = WithoutTrailingSlash(DirOf(target));
    const std::string waiting = JoinPath(folder, e.waiting);
    if (fs.Resolve(waiting) != waiting || !fs.Exists(waiting) || Checksum(ReadAll(fs, waiting)) != e.newChecksum)
      return false;
    steps.push_back({waiting, target, folder});
  }
  std::vector<std::string> folders;
  for (const Step& step : steps) {
    fs.Rename(step.from, step.to);
    if (std::find(folders.begin(), folders.end(), step.folder) == folders.end()) folders.push_back(step.folder);
  }
  for (const std::string& folder : folders) fs.SyncDir(folder);
  return true;
}

// The whole entries of a journal; reading stops at the first one that is
// torn or damaged, which was never followed by its rename.
Journal DecodeJournal(const std::string& dir, std::string_view bytes) {
  Journal journal;
  std::vector<Entry>& out = journal.entries;
  size_t at = 0;
  std::uint64_t announced = 0, seen = 0;
  bool header = false;
  if (bytes.substr(0, WholeMagic.size()) == WholeMagic) {
    size_t h = WholeMagic.size();
    std::uint64_t sum = 0;
    if (GetU64(bytes, h, announced) && GetU64(bytes, h, sum) &&
        sum == Checksum(bytes.substr(0, WholeMagic.size() + 8))) {
      header = true;
      at = h;
    }
  }
  while (bytes.size() - at >= EntryMagic.size() && bytes.substr(at, EntryMagic.size()) == EntryMagic) {
    const size_t start = at;
    at += EntryMagic.size();
    std::uint64_t nameLength = 0, oldLength = 0, fresh = 0, sum = 0;
    if (!GetU64(bytes, at, nameLength) || nameLength == 0 || nameLength > 255 || nameLength > bytes.size() - at) break;
    const std::string name(bytes.substr(at, static_cast<size_t>(nameLength)));
    at += static_cast<size_t>(nameLength);
    if (!GetU64(bytes, at, oldLength) || oldLength > bytes.size() - at) break;
    const std::string_view old = bytes.substr(at, static_cast<size_t>(oldLength));
    at += static_cast<size_t>(oldLength);
    if (!GetU64(bytes, at, fresh)) break;
    const size_t summed = at;
    if (!GetU64(bytes, at, sum) || sum != Checksum(bytes.substr(start, summed - start))) break;
    // Only names of files beside the journal.
    if (name.find('/') != std::string::npos || name == "." || name == "..")
      throw Unusable("an entry names something outside the folder: " + name);
    ++seen;
    if (IsDataFileName(name)) out.push_back({JoinPath(dir, name), std::string(old), fresh});
  }
  journal.whole = header && seen == announced;
  return journal;
}

// Gives the files of `entries` their old content back, the newest change
// undone first. Nothing is written, and false returned, when a file holds
// neither the old nor the new content an entry records for it. With
// `keepComplete`, a change whose files all hold their new content stands.
// A file that is no file, or too large, is Unusable.
bool PutBack(FileSystem& fs, const std::string& scratch, const std::vector<Entry>& entries, bool keepComplete = false) {
  std::map<std::string, std::string> now;
  for (const Entry& e : entries)
    if (!now.count(e.path)) now[e.path] = ReadAll(fs, e.path);
  if (keepComplete && !entries.empty() && std::all_of(entries.begin(), entries.end(), [&](const Entry& e) {
        return Checksum(now[e.path]) == e.newChecksum;
      }))
    return true;
  std::map<std::string, std::string> wanted = now;
  for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
    std::string& content = wanted[e->path];
    // Still old: its rename never happened.
    if (content == e->old) continue;
    if (Checksum(content) != e->newChecksum) return false;
    content = e->old;
  }
  for (const auto& [path, content] : wanted)
    if (content != now[path]) ReplaceFileOn(fs, path, scratch, content);
  return true;
}

// Where a journal that cannot be acted on is kept: its name with the time.
std::string AsideName(FileSystem& fs, const std::string& journal) {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H%M%SZ", &utc);
  std::string name = journal + "." + stamp;
  for (int n = 2; fs.Exists(name) || fs.Resolve(name) != name; ++n)
    name = journal + "." + stamp + "-" + std::to_string(n);
  return name;
}

// Deals with a journal left in `dir`: completes the change of a journal of
// new contents, or puts back the files of one of old contents, and removes
// it; when it cannot be read or names what it cannot, renames it aside and
// leaves the files alone. FileError when the files cannot be read or written
// for now: the journal stays for the next try.
Recovery Recover(FileSystem& fs, const std::string& dir, const std::string& scratch) {
  const std::string journal = JoinPath(dir, JournalFileName);
  const bool link = fs.Resolve(journal) != journal;
  if (!link && !fs.Exists(journal)) return Recovery::Nothing;
  try {
    // Never read through a link: it is not a journal this program wrote.
    if (link) throw Unusable("a link: " + journal);
    const std::string bytes = ReadAll(fs, journal);
    if (std::string_view(bytes).starts_with(RedoMagic)) {
      // A journal cut short was never followed by a rename: nothing to do.
      if (const Redo redo = DecodeRedo(dir, bytes); redo.whole) (void)RollForward(fs, redo.entries);
    } else {
      const Journal found = DecodeJournal(dir, bytes);
      (void)PutBack(fs, scratch, found.entries, found.whole);
    }
  } catch (const Unusable&) {
    fs.Rename(journal, AsideName(fs, journal));
    fs.SyncDir(dir);
    return Recovery::SetAside;
  }
  fs.Remove(journal);
  fs.SyncDir(dir);
  return Recovery::PutBack;
}

}  // namespace

// While a transaction is open, a replaced file keeps its old content: the
// new one waits beside it under a scratch name (written by ReplaceFile,
// whose sync waits for the commit), and the command reads it from there.
// Commit then does what a crash must not tear apart, in this order:
//   1. when more than one file changes, the journal: where each file's new
//      content waits and its checksum, in one write;
//   2. one sync of the file system, which puts the waiting files and the
//      journal on the disk under their names at once (rather than a sync per
//      file, each of which costs a flush of the disk);
//   3. every waiting file renamed over its target;
//   4. one sync of each folder renamed in: the change is on the disk, and
//      Commit reports it done;
//   5. the journal removed, without waiting for the disk: a journal that
//      comes back after a power cut finds every file new and is dropped.
// A crash before 2 is over leaves every file old and at most a journal cut
// short, which is dropped; a crash after it leaves each file old with its
// new content waiting, or new: the journal completes the change at the next
// start. A one-file change needs no journal; its rename is all-or-nothing by
// itself.
//
// Each replaced file stays open on its old content until the end. When a
// step after a rename fails, the old contents are read from there into a
// journal of old contents that takes the place of the other one; then the
// renamed files get their old content back. When even that journal cannot
// be written, the waiting files are renamed into place instead: either way
// the files are all old or all new, in this process and after a crash.
class FileTransaction::Impl final : public FileSystem {
 public:
  Impl(const std::string& dir, const std::string& scratch, std::function<void()> afterUndo, FileSystem& below)
      : dir_(WithoutTrailingSlash(dir)),
        scratch_(scratch),
        journal_(JoinPath(dir_, JournalFileName)),
        afterUndo_(std::move(afterUndo)),
        below_(below) {}

  static Impl* active;

  // The one transaction that is open, or the one this joins.
  Impl* outer = nullptr;

  bool failed = false;
  bool done = false;

  std::unique_ptr<File> Open(const std::string& path) override;
  std::unique_ptr<File> Create(const std::string& path, const std::string& like) override;
  std::string Resolve(const std::string& path) override {
    return Guard([&] {
      std::string real = below_.Resolve(path);
      if (real != path) aliases_[real] = path;
      return real;
    });
  }
  void Rename(const std::string& from, const std::string& to) override {
    if (failed) throw FileError("an earlier step of this change failed: " + to);
    Guard([&] { Defer(from, to); });
  }
  void Remove(const std::string& path) override {
    Guard([&] { below_.Remove(path); });
    written_.erase(path);
  }
  // Nothing is renamed before Commit, which syncs the folders it renamed in.
  void SyncDir(const std::string&) override {}
  void SyncFileSystem(const std::string& dir) override {
    Guard([&] { below_.SyncFileSystem(dir); });
  }
  bool Exists(const std::string& path) override {
    return Guard([&] { return FindPending(path) != nullptr || below_.Exists(path); });
  }

  template <typename Op>
  auto Guard(Op op) -> decltype(op()) {
    try {
      return op();
    } catch (const NotWritable&) {
      if (!failed && !done) NoticeNotWritable();
      Fail();
      throw;
    } catch (const FileError&) {
      Fail();
      throw;
    }
  }

  void Fail() {
    if (failed || done) return;
    failed = true;
    Undo();
  }

  // A journal left by a crash is dealt with before anything is changed;
  // a process that may not write changes nothing at all.
  void RecoverFirst() {
    if (ReadOnly()) {
      NoticeNotWritable();
      failed = true;
      return;
    }
    try {
      (void)Recover(below_, dir_, scratch_);
    } catch (const FileError&) {
      failed = true;
    }
  }

  bool Commit() {
    if (failed) return false;
    try {
      Apply();
    } catch (const FileError&) {
      Fail();
      return false;
    }
    done = true;
    olds_.clear();
    // Step 5. A journal that stays (the removal failed) is dropped by the
    // next transaction or start, which find the change complete.
    if (journalCreated_) {
      try {
        below_.Remove(journal_);
      } catch (const FileError&) {
      }
    }
    return true;
  }

  FileSystem& Below() { return below_; }

  // A file this change created was written at `offset`. The journal needs
  // the checksum of each new content; one written whole in a single write
  // while another file already waits is summed here from the bytes in
  // memory, so that Apply need not read it back. (A change of one file
  // needs no journal and no sum.)
  void Written(const std::string& path, std::uint64_t offset, const void* bytes, std::size_t n) {
    const bool first = written_.find(path) == written_.end();
    std::optional<std::uint64_t>& sum = written_[path];
    sum.reset();
    if (first && offset == 0 && !waiting_.empty()) sum = Checksum(std::string_view(static_cast<const char*>(bytes), n));
  }
  // A file this change created was cut or extended: its sum is unknown.
  void Resized(const std::string& path) { written_[path].reset(); }

  // What the file at `path` reads as inside this change: the waiting new
  // content, or the file itself.
  std::string Current(const std::string& path) {
    const Pending* w = FindPending(path);
    return w ? w->path : path;
  }

 private:
  struct Pending {
    std::string target;                     // the file the rename replaces (where a link leads)
    std::string name;                       // the data file's own path, as the journal names it
    std::string path;                       // the new content, beside the target
    std::optional<std::uint64_t> checksum;  // of the new content, when known
  };

  // The new content waiting to replace `real`, a path links are resolved in.
  Pending* WaitingFor(const std::string& real) {
    for (Pending& w : waiting_)
      if (w.target == real) return &w;
    return nullptr;
  }
  const Pending* FindPending(const std::string& path) {
    return waiting_.empty() ? nullptr : WaitingFor(below_.Resolve(path));
  }

  // ReplaceFile's rename of its scratch file over `to`: the file waits
  // under a name of its own until Commit.
  void Defer(const std::string& from, const std::string& to) {
    // A data file that is a link is replaced where it leads and kept in
    // the journal by its own name.
    const auto alias = aliases_.find(to);
    const std::string name = alias == aliases_.end() ? to : alias->second;
    if (WithoutTrailingSlash(DirOf(name)) != dir_) throw FileError("not a data file of this change: " + to);
    Pending* w = WaitingFor(to);
    if (!w) {
      const std::string folder = DirOf(from);
      w = &waiting_.emplace_back(Pending{to, name,
                                         (folder == "/" ? "" : folder) + "/" + ScratchFilePrefix +
                                             std::to_string(::getpid()) + "-" + std::to_string(waiting_.size() + 1) +
                                             ".dat",
                                         std::nullopt});
    }
    below_.Rename(from, w->path);
    const auto sum = written_.find(from);
    w->checksum = sum == written_.end() ? std::nullopt : sum->second;
    if (sum != written_.end()) written_.erase(sum);
  }

  // Steps 1 to 4.
  void Apply() {
    if (waiting_.empty()) return;
    for (const Pending& w : waiting_) olds_.push_back(below_.Open(w.target));
    if (waiting_.size() > 1) {
      std::string journal(RedoMagic);
      PutU64(journal, waiting_.size());
      for (Pending& w : waiting_) {
        if (!w.checksum) w.checksum = Checksum(ReadAll(below_, w.path));
        AppendName(journal, BaseName(w.name));
        AppendName(journal, BaseName(w.path));
        PutU64(journal, *w.checksum);
      }
      PutU64(journal, Checksum(journal));
      std::unique_ptr<File> f = below_.Create(journal_, "");
      journalCreated_ = true;
      f->WriteAt(0, journal.data(), journal.size());
      f->Flush();
      f.reset();
    }
    // The folders of the waiting files: the data folder, and where links lead.
    for (const Pending& w : waiting_)
      if (const std::string folder = WithoutTrailingSlash(DirOf(w.target));
          std::find(folders_.begin(), folders_.end(), folder) == folders_.end())
        folders_.push_back(folder);
    if (journalCreated_ && std::find(folders_.begin(), folders_.end(), dir_) == folders_.end())
      folders_.insert(folders_.begin(), dir_);
    for (const std::string& folder : folders_) below_.SyncFileSystem(folder);
    for (const Pending& w : waiting_) {
      below_.Rename(w.path, w.target);
      ++renamed_;
    }
    for (const std::string& folder : folders_) below_.SyncDir(folder);
  }

  // The old content of every replaced file, read where it is still open.
  std::vector<std::string> OldContents() {
    std::vector<std::string> out;
    for (size_t i = 0; i < olds_.size(); ++i) out.push_back(ReadOpened(*olds_[i], waiting_[i].target));
    return out;
  }

  // A step after a rename failed: the renamed files get their old content
  // back, under a journal of old contents written first. False, with
  // nothing put back, when that journal could not be put in place.
  bool PutBackRenamed() {
    std::vector<std::string> olds;
    try {
      olds = OldContents();
      if (journalCreated_) {
        std::string journal = WholeHeader(waiting_.size());
        for (size_t i = 0; i < waiting_.size(); ++i)
          AppendEntry(journal, BaseName(waiting_[i].name), olds[i], waiting_[i].checksum.value_or(0));
        const std::string next = JoinPath(dir_, ScratchFilePrefix + std::to_string(::getpid()) + "-journal.dat");
        below_.Remove(next);
        std::unique_ptr<File> f = below_.Create(next, "");
        f->WriteAt(0, journal.data(), journal.size());
        f->Flush();
        f->Sync();
        f.reset();
        below_.Rename(next, journal_);
        below_.SyncDir(dir_);
      }
    } catch (const FileError&) {
      return false;
    }
    for (size_t i = renamed_; i-- > 0;) ReplaceFileOn(below_, waiting_[i].name, scratch_, olds[i]);
    renamed_ = 0;
    return true;
  }

  // Completes the change instead, as the journal of new contents on the
  // disk would at the next start.
  void RenameTheRest() {
    for (; renamed_ < waiting_.size(); ++renamed_) below_.Rename(waiting_[renamed_].path, waiting_[renamed_].target);
    for (const std::string& folder : folders_) below_.SyncDir(folder);
  }

  void Undo() {
    const bool replaced = !waiting_.empty();
    try {
      if (renamed_ > 0 && !PutBackRenamed()) RenameTheRest();
      for (const Pending& w : waiting_) below_.Remove(w.path);
      if (journalCreated_) {
        below_.Remove(journal_);
        journalCreated_ = false;
        below_.SyncDir(dir_);
      }
    } catch (const FileError&) {
      // The journal stays, and the next transaction or start finishes
      // what was begun: the change, or putting the files back.
    }
    waiting_.clear();
    written_.clear();
    olds_.clear();
    folders_.clear();
    renamed_ = 0;
    if (afterUndo_ && replaced) {
      try {
        afterUndo_();
      } catch (const FileError&) {
      }
    }
  }

  std::string dir_, scratch_, journal_;
  std::function<void()> afterUndo_;
  FileSystem& below_;
  std::vector<Pending> waiting_;
  // Each target open on its old content, from the commit on.
  std::vector<std::unique_ptr<File>> olds_;
  std::vector<std::string> folders_;
  size_t renamed_ = 0;
  std::map<std::string, std::string> aliases_;
  // Files this change created, with the checksum of their content when known.
  std::map<std::string, std::optional<std::uint64_t>> written_;
  bool journalCreated_ = false;
};

FileTransaction::Impl* FileTransaction::Impl::active = nullptr;

namespace {

// A file opened inside a transaction: any failure fails the transaction.
class GuardedFile final : public File {
 public:
  // `created`: the path of a file the change creates, whose sync the
  // commit's one sync of the file system does.
  GuardedFile(FileTransaction::Impl& t, std::unique_ptr<File> real, std::string created = {})
      : t_(t), real_(std::move(real)), created_(std::move(created)), waitsForCommit_(!created_.empty()) {}
  std::uint64_t Size() override {
    return t_.Guard([&] { return real_->Size(); });
  }
  std::size_t ReadAt(std::uint64_t offset, void* buf, std::size_t n) override {
    return t_.Guard([&] { return real_->ReadAt(offset, buf, n); });
  }
  void WriteAt(std::uint64_t offset, const void* buf, std::size_t n) override {
    t_.Guard([&] { real_->WriteAt(offset, buf, n); });
    if (waitsForCommit_) t_.Written(created_, offset, buf, n);
  }
  void Truncate(std::uint64_t size) override {
    t_.Guard([&] { real_->Truncate(size); });
    if (waitsForCommit_) t_.Resized(created_);
  }
  void Flush() override {
    t_.Guard([&] { real_->Flush(); });
  }
  void Sync() override {
    if (!waitsForCommit_) t_.Guard([&] { real_->Sync(); });
  }

 private:
  FileTransaction::Impl& t_;
  std::unique_ptr<File> real_;
  std::string created_;  // the path of a file the change creates
  bool waitsForCommit_;
};

}  // namespace

std::unique_ptr<File> FileTransaction::Impl::Open(const std::string& path) {
  return std::make_unique<GuardedFile>(*this, Guard([&] { return below_.Open(Current(path)); }));
}

std::unique_ptr<File> FileTransaction::Impl::Create(const std::string& path, const std::string& like) {
  return std::make_unique<GuardedFile>(*this, Guard([&] { return below_.Create(path, like); }), path);
}

FileTransaction::FileTransaction(const std::string& dir, const std::string& scratchPath,
                                 std::function<void()> afterUndo)
    : impl_(std::make_unique<Impl>(dir, scratchPath, std::move(afterUndo), Files())) {
  if (Impl::active) {
    impl_->outer = Impl::active;
    return;
  }
  Impl::active = impl_.get();
  SetFiles(impl_.get());
  impl_->RecoverFirst();
}

FileTransaction::~FileTransaction() {
  if (impl_->outer || Impl::active != impl_.get()) return;
  impl_->Fail();
  SetFiles(&impl_->Below());
  Impl::active = nullptr;
}

bool FileTransaction::Commit() {
  if (impl_->outer) return !impl_->outer->failed;
  if (Impl::active != impl_.get()) return impl_->done;
  const bool ok = impl_->Commit();
  // Once committed, later file errors of the command are its own.
  SetFiles(&impl_->Below());
  Impl::active = nullptr;
  return ok;
}

void FileTransaction::Cancel() { (impl_->outer ? impl_->outer : impl_.get())->Fail(); }

bool FileTransaction::Failed() const { return (impl_->outer ? impl_->outer : impl_.get())->failed; }

std::string JournalEntry(const std::string& name, const std::string& old, const std::string& fresh) {
  return EncodeEntry(name, old, Checksum(fresh));
}

bool InTransaction() { return FileTransaction::Impl::active != nullptr; }

Recovery RecoverFiles(const std::string& dir, const std::string& scratchPath) {
  FileSystem& fs = Files();
  const std::string root = WithoutTrailingSlash(dir);
  const Recovery done = Recover(fs, root, scratchPath);
  // Scratch files of processes that ended mid-command; this process holds
  // the folder, so none of them is still being written.
  if (DIR* d = ::opendir(root.c_str())) {
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
      const std::string_view name = e->d_name;
      if (name.starts_with(ScratchFilePrefix)) stale.emplace_back(name);
    }
    ::closedir(d);
    for (const std::string& name : stale) fs.Remove(JoinPath(root, name));
  }
  return done;
}

}  // namespace sol
