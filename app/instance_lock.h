// One copy of the program per data directory.
//
// The lock is an advisory lock on a small file in the data directory, held
// for as long as the object lives. The system drops it when the process
// ends, however it ends, so a copy that crashed never keeps the next one out;
// the file itself stays behind and means nothing.
#pragma once

#include <string>

#include "ui/controls.h"

namespace sol {

inline constexpr const char* InstanceLockFileName = ".solneka.lock";

inline const Str AlreadyRunningTitle = u"確認";
inline const Str AlreadyRunningText =
    u"ソルネカはすでに起動しています。\n"
    u"同じデータを二つのソルネカで同時に使うと、記録が壊れるおそれがあります。\n"
    u"先に起動しているソルネカをお使いください。";

// When the lock cannot be had for another reason, the program comes up
// without changing anything in the data folder.
inline const Str ReadOnlyStartText =
    u"データフォルダの鍵ファイル（.solneka.lock）を使えないため、読み取り専用で起動します。\n"
    u"データは表示できますが、記録・登録・削除など、データを変える操作はできません。\n"
    u"データフォルダとその中のファイルに書き込めるかどうかをお確かめください。";

class InstanceLock {
 public:
  enum class Outcome {
    Taken,          // this object holds the lock
    HeldElsewhere,  // a live process holds it
    Unavailable,    // the lock file could not be opened or locked for another reason
  };

  // `dataDir` with or without a trailing separator.
  explicit InstanceLock(const std::string& dataDir);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  Outcome Result() const { return outcome_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  Outcome outcome_ = Outcome::Unavailable;
};

}  // namespace sol
