// The input is one category's block of the file (the first byte picks the
// category); the problem window then reads it.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  static const std::string sampleFile = sample::AnswerMovesFile();
  return fuzz::LoadProblemFile(ProblemFile::Answers, sampleFile, data, size);
}
