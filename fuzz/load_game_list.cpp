// The input is the whole game list file (棋譜一覧.dat); every window then reads it.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return sol::fuzz::LoadGameFile(sol::GameListFileName, sol::fuzz::Bytes(data, size));
}
