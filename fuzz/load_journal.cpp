// The input is a journal (.solneka.journal) as a command cut short by a
// crash might have left it, torn or damaged anyhow. The program deals with it
// when it starts: it completes the change, puts files back or drops the
// journal, and either way the journal is gone; then every window reads what
// the files now hold.
#include <unistd.h>

#include <filesystem>

#include "core/file_transaction.h"
#include "core/messages.h"
#include "fuzz/harness.h"

namespace {

// Files a journal names are created when they are read; they go before the
// next input.
void RemoveStrangers(const std::string& dir) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    bool known = name == sol::TempFileName;
    for (const auto& f : sol::sample::Files()) known = known || name == f.name;
    if (!known) std::filesystem::remove_all(entry.path(), ec);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  using namespace sol::fuzz;
  const std::string& dir = ProcessDataDir();
  RemoveStrangers(dir);
  WriteSample(dir);
  const std::string journal = dir + JournalFileName;
  sample::WriteFile(journal, Bytes(data, size));
  Session s(dir);
  s.Start();
  if (access(journal.c_str(), F_OK) == 0 && s.Board().StatusBar1.Text() != msg::NoFile)
    Fail("the journal is still there after a start that reported nothing");
  LoadGames(s);
  LoadProblems(s, 1, true);
  return 0;
}
