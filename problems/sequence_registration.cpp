// Registering the moves on the board as a correct or wrong answer sequence
// of the selected problem: from the set-up position, or as a branch after
// the sequence shown.
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

namespace {
constexpr int SequenceRoom = 20;
}

void Form4::Command6_Click() { RegisterSequence(1); }

void Form4::Command7_Click() { RegisterSequence(-1); }

bool Form4::StoreSequence(std::vector<AnswerMoveRecord>& records) {
  Platform& p = GetPlatform();
  const int k = s_.CategoryNo;
  const bool branch = records.front().MoveIndex > 1;
  int16_t link = records.front().BranchLink;
  if (branch && link == StartsAtProblem) {
    // Stored as it is, a branch after record 99 would read as starting at
    // the problem position. Only files from before that record was kept
    // free hold a move there; it moves up first.
    link = static_cast<int16_t>(FreeReservedAnswerRecord(s_, k)(link));
    records.front().BranchLink = link;
  }
  // A branch head must name a record stored before it as its parent; one
  // that names itself or nothing would make the answer path loop or run
  // into the sequence above, so it is not stored.
  const int first = FindBlockEnd(s_, ProblemFile::Answers, k) + 1;
  if (link == StartsAtProblem ? branch : link < BlockFirst(ProblemFile::Answers, k) || link >= first) {
    p.MsgBox(form4text::BadBranch + form4text::BadBranchCode, Buttons::OK, Icon::Information,
             form4text::RegisterErrorTitle);
    return false;
  }
  if (!AppendAnswers(s_, k, records)) {
    p.MsgBox(form4text::CannotRegister, Buttons::OK, Icon::Information, form4text::InputLimitTitle);
    return false;
  }
  return true;
}

void Form4::RegisterSequence(int sign) {
  Platform& p = GetPlatform();
  const int k = s_.CategoryNo;
  // Room is kept for the moves of a sequence; the joseki block is not checked here.
  if (k <= 3 && BlockFull(ProblemFile::Answers, k, s_.BlockEnd[k].AnswersEnd, SequenceRoom)) {
    p.MsgBox(form4text::CannotRegister, Buttons::OK, Icon::Information, form4text::InputLimitTitle);
    return;
  }
  if (Registration.MoveBuffer[1].Colour == 0) {
    p.MsgBox(form4text::NoMovesPlayed, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  // Problem number 0 would end the block.
  const int number = List1.ListIndex() >= 0 ? SelectedProblem() : 0;
  if (number == 0) {
    p.MsgBox(form4text::ChooseProblemFirst, Buttons::OK, Icon::Information, form4text::OrderErrorTitle);
    return;
  }

  std::vector<AnswerMoveRecord> records = Registration.SequenceRecords(number, sign, Vars.ParentRecordNo);
  const int16_t linkAsPlayed = records.front().BranchLink;
  // Stored wholly or not at all: a sequence reported as failed but stored
  // would be stored twice when the player tries again.
  if (RunFileCommand([&] { return StoreSequence(records); }) != FileCommand::Done) return;
  // A branch whose parent record had to move up was stored under new numbers.
  const bool renumbered = linkAsPlayed == StartsAtProblem && records.front().BranchLink != StartsAtProblem;

  int firstLine = -1;
  if (renumbered) {
    // The lines of the problem shown carry the numbers of before.
    LoadAnswerLines(number);
    LoadCommentLines(number);
    firstLine = FindRecordLine(records.front().RecordNumber, firstLine);
  } else {
    for (const AnswerMoveRecord& r : records) {
      const int line =
          AppendAnswer({r.ProblemNumber, r.MoveIndex, r.SignedColour, r.Point, r.RecordNumber, r.BranchLink});
      if (firstLine < 0) firstLine = line;
    }
  }
  Vars.AnswerLineCount = List2.ListCount();
  Registration.ClearMoves();
  Vars.ParentRecordNo = records.back().RecordNumber;
  List2.SetListIndex(firstLine);
  List2.SetTopIndex(firstLine);
  SetStatus(form4text::Registered);
  PlayCue(0);
}

}  // namespace sol
