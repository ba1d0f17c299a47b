// The input is an SGF file from anywhere, read as a problem collection. A
// problem taken into any lecture is stored, written out and read back, and
// must come back as the same records; a refusal always says why.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "problems/sgf_problems.h"
#include "sgf/sgf_tree.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& written) {
  std::fprintf(stderr, "fuzz check failed: %s\nwritten:\n%s\n", what, written.c_str());
  std::abort();
}

std::vector<std::string> Encoded(const sol::ProblemRecords& r) {
  std::vector<std::string> setup, out;
  for (const auto& s : r.Setup) setup.push_back(s.Encode());
  // The set-up is written black stones first: its order may change.
  std::sort(setup.begin(), setup.end());
  out = setup;
  for (const auto& a : r.Answers) out.push_back(a.Encode());
  for (const auto& c : r.Comments) out.push_back(c.Encode());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  sgf::Collection collection;
  try {
    collection = sgf::ParseCollection(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const sgf::SgfError&) {
    return 0;
  }
  for (const sgf::GameTree& tree : collection.Games)
    for (int category : {1, 4}) {
      const ProblemImport read = ImportProblem(tree, category, u"");
      if (!read.Problem) {
        if (read.Refusal.empty()) Fail("a refusal without a reason", "");
        continue;
      }
      const ProblemRecords records = ToAnswerRecords(*read.Problem, 1001, 1);
      for (const AnswerMoveRecord& a : records.Answers)
        if (a.Point < 1 || (a.Point - 1) / 19 >= 13) Fail("a move outside the problem board", "");
      const ExportedProblem out = ExportProblem(read.Problem->Title, records.Setup, records.Answers, records.Comments);
      if (out.DroppedSequences != 0) Fail("an imported sequence was dropped on export", out.Sgf);
      ProblemImport back;
      try {
        const sgf::Collection again = sgf::ParseCollection(out.Sgf);
        if (again.Games.size() != 1) Fail("the written problem reads as something else", out.Sgf);
        back = ImportProblem(again.Games[0], category, u"");
      } catch (const sgf::SgfError& e) {
        Fail(("the written problem is refused: " + ToUtf8(e.Message())).c_str(), out.Sgf);
      }
      if (!back.Problem) Fail(("the written problem is refused: " + ToUtf8(back.Refusal)).c_str(), out.Sgf);
      if (back.Problem->Title != read.Problem->Title) Fail("the title differs", out.Sgf);
      if (!back.Problem->Notes.empty()) Fail("reading the written problem changed it", out.Sgf);
      if (Encoded(ToAnswerRecords(*back.Problem, 1001, 1)) != Encoded(records)) Fail("the records differ", out.Sgf);
    }
  return 0;
}
