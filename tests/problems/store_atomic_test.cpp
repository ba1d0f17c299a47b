// Every change to a problem file survives a failure at any file operation:
// each file is then exactly as before or exactly as after, and a file is
// never new while one written before it is old.
#include <functional>

#include "tests/problems/store_fixture.h"

namespace sol {
namespace {

using F = ProblemFile;
constexpr F AllFiles[] = {F::List, F::Moves, F::Answers, F::Comments};

class AtomicStore : public StoreTest {
 protected:
  void SetUp() override {
    for (int c : {1, 2}) {
      Put(F::List, BlockFirst(F::List, c), {ListEntry(1001), ListEntry(1002), ListEntry(1003)});
      Put(F::Moves, BlockFirst(F::Moves, c), {Stone(1001, 1), Stone(1002, 2), Stone(1003, 3)});
      const int16_t a = static_cast<int16_t>(BlockFirst(F::Answers, c));
      Put(F::Answers, a,
          {Answer(1001, 1, 1, 1, a, 99), Answer(1002, 1, 1, 2, int16_t(a + 1), 99),
           Answer(1002, 2, 2, 3, int16_t(a + 2), 0), Answer(1003, 1, 1, 4, int16_t(a + 3), 99),
           Answer(1003, 2, 2, 5, int16_t(a + 4), int16_t(a + 3))});
      Put(F::Comments, BlockFirst(F::Comments, c),
          {Comment(1001, a), Comment(1002, int16_t(a + 1)), Comment(1003, int16_t(a + 4))});
    }
  }

  std::vector<std::string> Contents() const {
    std::vector<std::string> out;
    for (F f : AllFiles) out.push_back(Raw(f));
    return out;
  }
  void Restore(const std::vector<std::string>& contents) {
    for (size_t f = 0; f < 4; ++f) SetRaw(AllFiles[f], contents[f]);
  }

  // Runs op failing at operation 1, 2, … until it gets through, and checks
  // the files after each failure. `order` lists the files op writes, in the
  // order it writes them.
  void FailEverywhere(const std::function<void()>& op, const std::vector<F>& order) {
    const std::vector<std::string> before = Contents();
    {
      // Data files are only ever replaced by a rename, never written.
      testing::FaultyFiles logging;
      SetFiles(&logging);
      op();
      SetFiles(nullptr);
      for (const std::string& step : logging.log) {
        if (step.starts_with("WriteAt ") || step.starts_with("Truncate ")) {
          EXPECT_EQ(step.substr(step.find(' ') + 1), s.TempFile);
        }
      }
    }
    const std::vector<std::string> after = Contents();
    for (F f : order) ASSERT_NE(before[static_cast<size_t>(f)], after[static_cast<size_t>(f)]);
    for (int k = 1;; ++k) {
      Restore(before);
      testing::FaultyFiles faulty(k);
      SetFiles(&faulty);
      bool failed = false;
      try {
        op();
      } catch (const FileError&) {
        failed = true;
      }
      SetFiles(nullptr);
      const std::vector<std::string> now = Contents();
      bool stillOld = false;
      for (size_t f = 0; f < 4; ++f) {
        const bool written = std::find(order.begin(), order.end(), AllFiles[f]) != order.end();
        if (!written) {
          EXPECT_EQ(now[f], before[f]) << "k=" << k;
        }
      }
      for (F f : order) {
        const std::string& got = now[static_cast<size_t>(f)];
        const bool isOld = got == before[static_cast<size_t>(f)];
        EXPECT_TRUE(isOld || got == after[static_cast<size_t>(f)]) << "file " << int(f) << " mixed at k=" << k;
        EXPECT_FALSE(stillOld && !isOld) << "file " << int(f) << " new after an old one at k=" << k;
        stillOld = stillOld || isOld;
      }
      if (!failed) {
        EXPECT_FALSE(stillOld);
        EXPECT_GT(k, 2 * static_cast<int>(order.size()));
        return;
      }
    }
  }
};

TEST_F(AtomicStore, RemovingAnswers) {
  FailEverywhere([&] { RemoveAnswers(s, 2, {2002, 2003}); }, {F::Answers, F::Comments});
}

TEST_F(AtomicStore, DeletingAProblem) {
  FailEverywhere([&] { DeleteProblemRecords(s, 1, 1002); }, {F::List, F::Moves, F::Answers, F::Comments});
}

TEST_F(AtomicStore, AppendingAndRewritingTheList) {
  FailEverywhere(
      [&] {
        std::vector<AnswerMoveRecord> seq = {{1003, 3, 1, 9, 0, 4005}};
        (void)AppendAnswers(s, 2, seq);
      },
      {F::Answers});
  FailEverywhere([&] { (void)RewriteProblemList(s, 1, {{1003, u"c"}, {1001, u"a"}}); }, {F::List});
  FailEverywhere([&] { (void)RenumberProblemRecords(s, 2, 1003, 3001); }, {F::List, F::Moves, F::Answers, F::Comments});
}

}  // namespace
}  // namespace sol
