// The input is the whole game moves file (棋譜手順.dat); every window then reads it.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return sol::fuzz::LoadGameFile(sol::GameMovesFileName, sol::fuzz::Bytes(data, size));
}
