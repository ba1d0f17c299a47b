#pragma once

// All-or-nothing changes to the data files.
//
// A command opens a FileTransaction before it changes its first file, so that
// several files, or one file replaced twice, change together, and so that a
// command that reports a failure has changed nothing. While the transaction
// is open, a replaced file keeps its old content and the new one waits
// beside it (the command reads the new one). Commit() writes a journal
// beside the data files when more than one file changes — where each new
// content waits and its checksum, in one write — syncs the file system once,
// renames the new contents into place, syncs the folder, and removes the
// journal without waiting for the disk.
//
// A transaction that fails is put back: when any file operation throws while
// it is open, or while Commit() renames, every file it replaced keeps or
// gets its old content again before the error reaches the command; the same
// happens when it ends without Commit(). After a crash, RecoverFiles() at
// the next start completes the change from the journal: once the journal is
// on the disk, so is every new content it names. So a command's files are
// all as before or all as after, whatever fails and wherever the process
// dies, and a commit reported done stays done after a power cut.
//
// A journal is created fresh, never through a link, and only acted on while
// every file it names holds its new content or has it waiting beside it;
// one whose files were changed in some other way since is out of date and
// is dropped without touching anything. Journals of old contents (written
// while a failed change is put back, and by earlier versions) put the files
// back instead.
//
// Transactions do not nest: one opened while another is open joins it.

#include <functional>
#include <memory>
#include <string>

#include "core/file_system.h"

namespace sol {

// The journal's file name in the data directory.
inline constexpr const char* JournalFileName = ".solneka.journal";

class FileTransaction {
 public:
  // `dir` holds the data files and the journal; `scratchPath` is the
  // scratch file used to put files back. `afterUndo` runs once the files
  // have been put back (to bring counts kept in memory in step again); its
  // FileErrors are swallowed.
  FileTransaction(const std::string& dir, const std::string& scratchPath, std::function<void()> afterUndo = {});
  ~FileTransaction();
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;

  // Makes the changes permanent. false: the transaction had failed, or the
  // journal could not be removed, and the files have been put back.
  bool Commit();
  // Puts the files back now.
  void Cancel();
  bool Failed() const;

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// One entry of a journal of old contents, for the file `name` (old content
// `old`) replaced by `fresh`: for tools and tests that make journals.
std::string JournalEntry(const std::string& name, const std::string& old, const std::string& fresh);

// Whether a transaction is open in this process.
bool InTransaction();

enum class Recovery {
  Nothing,   // there was no journal
  PutBack,   // the journal was acted on (or out of date) and removed
  SetAside,  // the journal could not be acted on and was renamed aside
};

// Completes, or puts back, the change of a transaction that a crash
// interrupted in `dir`, and removes its journal; nothing to do when there is
// none. Only the data files' own names in a journal are acted on. A journal
// that cannot be read (too large, a link, unreadable) or that names what it
// cannot (a sub-folder, a file that cannot be read) is renamed aside with
// the time in its name and the files are left as they are. Removes the
// scratch files that other processes left behind: only for the process that
// holds the folder's lock.
// FileError when the files cannot be written.
Recovery RecoverFiles(const std::string& dir, const std::string& scratchPath);

}  // namespace sol
