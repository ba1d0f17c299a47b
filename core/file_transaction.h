#pragma once

// All-or-nothing changes to the data files.
//
// A command opens a FileTransaction before it changes its first file, so that
// several files, or one file replaced twice, change together, and so that a
// command that reports a failure has changed nothing (a failure can come
// after a rename, while the directory is synced). While the transaction is
// open, every rename over a file (the last step of ReplaceFile) is preceded
// by an entry in the undo journal beside the data files: the file's name, its
// old content and a checksum of its new content, synced before the rename
// happens. Commit() removes the journal.
//
// A transaction that fails is put back: when any file operation throws while
// it is open, every file it replaced gets its old content again, newest
// change first, before the error reaches the command; the same happens when
// it ends without Commit(). After a crash, RecoverFiles() does it from the
// journal at the next start. So a command's files are all as before or all
// as after, whatever fails and wherever the process dies.
//
// A journal is created fresh, never through a link, and only acted on while every file it names holds either the old
// or the new content it records; one whose files were changed in some other
// way since is out of date and is dropped without touching anything.
//
// Transactions do not nest: one opened while another is open joins it.

#include <functional>
#include <memory>
#include <string>

#include "core/file_system.h"

namespace sol {

// The undo journal's file name in the data directory.
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

// One journal entry as a transaction writes it before replacing the file
// `name` (old content `old`) with `fresh`: for tools and tests that make
// journals.
std::string JournalEntry(const std::string& name, const std::string& old, const std::string& fresh);

// Whether a transaction is open in this process.
bool InTransaction();

enum class Recovery {
  Nothing,   // there was no journal
  PutBack,   // the journal was acted on (or out of date) and removed
  SetAside,  // the journal could not be acted on and was renamed aside
};

// Puts back the files of a transaction that a crash interrupted in `dir`,
// and removes its journal; nothing to do when there is none. Only the data
// files' own names in a journal are acted on. A journal that cannot be read
// (too large, a link, unreadable) or that names what it cannot (a sub-folder,
// a file that cannot be read) is renamed aside with the time in its name and
// the files are left as they are. Removes the scratch files that other
// processes left behind: only for the process that holds the folder's lock.
// FileError when the files cannot be written.
Recovery RecoverFiles(const std::string& dir, const std::string& scratchPath);

}  // namespace sol
