// Lecture play and replay over damaged answer and comment data. The input
// describes the answer and comment records of problem 1001 of one category
// (each field drawn mostly from values that mean something there, sometimes
// from the extremes a damaged file holds), then the player's actions: lines
// selected, points clicked with any button and key, the lecture's buttons,
// the data check, the sequence search and the endgame count, and, in the
// category's registration mode, the registration and deletion of sequences
// and comments; and the answer to every box.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/record_file.h"
#include "fuzz/harness.h"

namespace sol::fuzz {
namespace {

int16_t Extreme(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return -9;
    case 1:
      return 9999;
    case 2:
      return MaxRecordNumber;
    case 3:
      return -32768;
    case 4:
      return 0;
    default:
      return in.ConsumeIntegral<int16_t>();
  }
}

int16_t ProblemNumber(FuzzedDataProvider& in) {
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  if (b < 200) return 1001;
  if (b < 220) return 1002;
  if (b < 235) return 0;
  return Extreme(in);
}

int16_t MoveIndex(FuzzedDataProvider& in) {
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  return b < 240 ? static_cast<int16_t>(b % 12) : Extreme(in);
}

int16_t SignedColour(FuzzedDataProvider& in) {
  static const int16_t colours[] = {1, 2, 1, 2, -1, -2, 0, 7, -9, 3};
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  return b < 250 ? colours[b % 10] : Extreme(in);
}

int16_t Point(FuzzedDataProvider& in) {
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  return b < 250 ? static_cast<int16_t>(b) : Extreme(in);
}

// A record number of the block, mostly one of its first records.
int16_t Record(FuzzedDataProvider& in, int first) {
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  return b < 240 ? static_cast<int16_t>(first + b % 64) : Extreme(in);
}

int16_t Link(FuzzedDataProvider& in, int first) {
  const uint8_t b = in.ConsumeIntegral<uint8_t>();
  if (b < 100) return 0;
  if (b < 150) return StartsAtProblem;
  if (b < 240) return static_cast<int16_t>(first + b % 64);
  return Extreme(in);
}

std::string Block(const std::string& sampleFile, ProblemFile f, int category, const std::string& records) {
  const size_t start = static_cast<size_t>(BlockFirst(f, category) - 1) * static_cast<size_t>(RecordLength(f));
  std::string out = sampleFile.substr(0, std::min(start, sampleFile.size()));
  out.resize(start, '\0');
  return out + records;
}

// The registration side's commands, taken only in a registration mode (the
// lecture hides their buttons).
void Register(Session& s, FuzzedDataProvider& in, int lessonMode) {
  Form4& w = s.Problems();
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
      s.Press(w, w.Command8);
      break;
    case 1:
      s.Press(w, w.Command6);
      break;
    case 2:
      s.Press(w, w.Command7);
      break;
    case 3:
      s.Type(w, w.Text2, FromUtf8(in.ConsumeRandomLengthString(24)));
      s.Press(w, w.Command9);
      break;
    case 4:
      s.Press(w, w.Command10);
      break;
    case 5:
      s.Press(w, w.Command12);
      break;
    case 6:
      s.Press(w, w.Command5);
      break;
    default:
      if (s.OpenProblems(lessonMode)) s.Select(w, w.List1, 0);
      break;
  }
}

void Act(Session& s, FuzzedDataProvider& in, int lessonMode) {
  Form4& w = s.Problems();
  switch (in.ConsumeIntegralInRange(0, 21)) {
    case 0:
    case 1:
    case 2:
    case 3: {
      const int p = in.ConsumeIntegralInRange(1, ProblemPoints);
      static const int buttons[] = {ButtonLeft, ButtonRight, ButtonMiddle, 0, ButtonLeft | ButtonRight};
      const int button = buttons[in.ConsumeIntegralInRange(0, 5) % 5];
      const uint8_t k = in.ConsumeIntegral<uint8_t>();
      s.Click(w, p, button, k < 160 ? 0 : k % 8);
      break;
    }
    case 4:
      s.Select(w, w.List2, in.ConsumeIntegralInRange(-1, w.List2.ListCount() - 1));
      break;
    case 5:
      s.Press(w, w.Command1);
      break;
    case 6:
      s.Press(w, w.Command2);
      break;
    case 7:
      s.Press(w, w.Command3);
      break;
    case 8:
      s.Press(w, w.Command15);
      break;
    case 9:
      s.Press(w, w.Command13);
      break;
    case 10:
      s.Press(w, w.Command17);
      break;
    case 11:
      s.Press(w, w.Command14);
      break;
    case 12:
      s.Choose(w, w.Option1);
      break;
    case 13:
      s.Choose(w, w.Option3);
      break;
    case 14:
      s.Select(w, w.List3, in.ConsumeIntegralInRange(-1, w.List3.ListCount() - 1));
      break;
    case 15:
      s.Select(w, w.List1, in.ConsumeIntegralInRange(-1, w.List1.ListCount() - 1));
      break;
    case 16:
      s.Choose(w, in.ConsumeBool() ? w.Option4 : w.Option6);
      break;
    case 17:
      s.Press(w, w.Command12);
      break;
    case 18:
      s.Press(w, w.Command1);
      break;
    case 19:
      s.Select(w, w.List2, in.ConsumeIntegralInRange(0, 3));
      break;
    case 20:
      if (s.OpenProblems(s.State().LessonMode % 2 == 1 ? lessonMode + 1 : lessonMode)) s.Select(w, w.List1, 0);
      break;
    default:
      if (s.State().LessonMode % 2 == 0) Register(s, in, lessonMode);
      break;
  }
  if (w.Registration.MoveBufferCount < 0 || w.Registration.MoveBufferCount > MoveBufferSize)
    Fail("MoveBufferCount = %d", w.Registration.MoveBufferCount);
}

}  // namespace
}  // namespace sol::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sol;
  using namespace sol::fuzz;
  FuzzedDataProvider in(data, size);
  const int lessonMode = 2 * in.ConsumeIntegralInRange(0, 3) + 1;
  const int category = (lessonMode + 1) / 2;
  const int firstAnswer = BlockFirst(ProblemFile::Answers, category);

  std::string answers;
  const int answerCount = in.ConsumeIntegralInRange(0, 48);
  for (int i = 0; i < answerCount; ++i) {
    AnswerMoveRecord a;
    a.ProblemNumber = ProblemNumber(in);
    a.MoveIndex = MoveIndex(in);
    a.SignedColour = SignedColour(in);
    a.Point = Point(in);
    a.RecordNumber = in.ConsumeBool() ? static_cast<int16_t>(firstAnswer + i) : Record(in, firstAnswer);
    a.BranchLink = Link(in, firstAnswer);
    answers += a.Encode();
  }
  std::string comments;
  const int commentCount = in.ConsumeIntegralInRange(0, 8);
  for (int i = 0; i < commentCount; ++i) {
    std::string rec(CommentRecord::Length, ' ');
    PutInt16(rec, 0, ProblemNumber(in));
    PutInt16(rec, 2, Record(in, firstAnswer));
    const std::string text = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 46));
    rec.replace(4, text.size(), text);
    comments += rec;
  }

  const std::string& dir = ProcessDataDir();
  WriteSample(dir);
  static const std::string sampleAnswers = sample::AnswerMovesFile(), sampleComments = sample::CommentFile();
  sample::WriteFile(dir + AnswerMovesFileName, Block(sampleAnswers, ProblemFile::Answers, category, answers));
  sample::WriteFile(dir + CommentFileName, Block(sampleComments, ProblemFile::Comments, category, comments));

  Session s(dir);
  s.platform.choose = [&in](int choices) { return in.ConsumeIntegralInRange(0, choices - 1); };
  s.platform.input = [&in]() -> std::optional<Str> {
    if (in.ConsumeBool()) return std::nullopt;
    return FromUtf8(in.ConsumeRandomLengthString(8));
  };
  s.Start();
  if (!s.OpenProblems(lessonMode)) Fail("the problem window does not open");
  Form4& w = s.Problems();
  if (w.List1.ListCount() == 0) Fail("the sample problems are not listed");
  s.Select(w, w.List1, 0);
  for (int step = 0; step < 256 && in.remaining_bytes() > 0; ++step) Act(s, in, lessonMode);
  return 0;
}
