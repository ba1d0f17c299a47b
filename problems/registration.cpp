// Registering problems: a new position under a number, a new title, or a
// new number for the selected problem.
#include <algorithm>

#include "core/input_check.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

namespace {

// Four characters that read as a number: blanks around, an optional sign, digits.
bool IsNumber(const Str& key) {
  const Str t = Trim(key);
  size_t i = (!t.empty() && (t[0] == u'+' || t[0] == u'-')) ? 1 : 0;
  if (i >= t.size()) return false;
  for (; i < t.size(); ++i)
    if (t[i] < u'0' || t[i] > u'9') return false;
  return true;
}

bool InProblemRange(long n) { return n > 1000 && n < 4000 && n % 1000 != 0; }

}  // namespace

int Form4::NextFreeNumber(int base) const {
  const int count = List1.ListCount();
  auto number = [this](int i) { return ProblemNumberAt(i); };
  int i = 0;
  while (i < count && number(i) <= base) ++i;
  if (i >= count) return base + 1;
  if (number(i) > base + 1000 || number(i) != base + 1) return base + 1;
  while (i + 1 < count && number(i + 1) <= number(i) + 1) ++i;
  return number(i) + 1;
}

void Form4::Command4_Click() {
  Platform& p = GetPlatform();
  auto refuse = [&p](const Str& text, const Str& title) { p.MsgBox(text, Buttons::OK, Icon::Information, title); };
  const int k = s_.CategoryNo;
  const BlockEnds& ends = s_.BlockEnd[k];
  // The joseki blocks run to the last record number and are not checked here.
  if (k <= 3 && (BlockFull(ProblemFile::List, k, ends.ListEnd) ||
                 BlockFull(ProblemFile::Moves, k, ends.MovesEnd, MoveBufferSize))) {
    refuse(form4text::CannotRegister, form4text::InputLimitTitle);
    return;
  }
  const Str typed = Text1.Text();
  // A blank before the number would make the number another one.
  if (!typed.empty() && (typed[0] == u' ' || typed[0] == u'　')) {
    refuse(form4text::LeadingBlank, form4text::InputErrorTitle);
    return;
  }
  Str key = Left(typed, 4);
  if (!IsNumber(key)) {
    refuse(form4text::FourDigits, form4text::InputErrorTitle);
    return;
  }
  const std::optional<Str> checked = CheckedInput(p, typed);
  if (!checked) return;
  const Str text = *checked;

  if (MoveBuffer[3].Colour == 0) {
    // Fewer than three stones: the selected problem gets a new title or number.
    const int selected = List1.ListIndex();
    if (selected < 0) {
      refuse(form4text::LayOutFirst, form4text::InputErrorTitle);
      return;
    }
    if (ProblemNumberAt(selected) == Val(key)) {
      (void)RunFileCommand([&] {
        List1.SetList(selected, text);
        return RewriteProblemList();
      });
      return;
    }
    RenumberProblem(ProblemNumberAt(selected), static_cast<int>(Val(key)));
    return;
  }

  Str line = text;
  int overwritten = -1;
  long number = Val(key);
  const bool joseki = s_.LessonMode == 7 || s_.LessonMode == 8;
  if (!joseki && key != u"0000") {
    for (int i = 0; i < List1.ListCount(); ++i)
      if (ProblemNumberAt(i) == number) {
        if (p.MsgBox(form4text::SameNumber, Buttons::YesNo, Icon::Question, form4text::Confirm) != Answer::Yes) return;
        overwritten = i;
        break;
      }
    if (!InProblemRange(number)) {
      refuse(form4text::NumberRange, form4text::InputErrorTitle);
      return;
    }
  } else if (!joseki) {
    number = NextFreeNumber(SubCategoryBase);
    if (number >= SubCategoryBase + 1000) {
      refuse(form4text::SubCategoryFull, form4text::InputErrorTitle);
      return;
    }
    key = Num(number);
    line = key + Mid(text, 5, 30);
  } else {
    for (int i = 0; i < List1.ListCount(); ++i)
      if (ProblemNumberAt(i) == number) {
        refuse(form4text::NewNumber, form4text::InputErrorTitle);
        return;
      }
    if (MoveBuffer[5].Colour != 0 || MoveBuffer[3].Colour == 0) {
      refuse(form4text::JosekiStones, form4text::InputErrorTitle);
      return;
    }
    // 0 ends a block and cannot name a problem.
    if (number < 1) {
      refuse(form4text::JosekiPositive, form4text::InputErrorTitle);
      return;
    }
  }

  for (int i = 1; i <= MoveBufferSize && MoveBuffer[i].Colour != 0; ++i) {
    PendingSetup[i] = {static_cast<int16_t>(number), MoveBuffer[i].Colour, MoveBuffer[i].Point};
    MoveBuffer[i] = {};
  }
  // The set-up stones and the list go together: stones without a list
  // record would be found again under the number, and an overwritten
  // position must not lose its old stones alone.
  bool relisted = false;
  int added = -1;
  if (RunFileCommand([&] {
        if (overwritten >= 0) {
          // The position replaces the old one: its set-up records go first.
          RewriteBlock(s_, ProblemFile::Moves, k, [number](int, std::string& bytes) {
            return ProblemMoveRecord::Decode(bytes).ProblemNumber != number;
          });
          RemoveProblemLine(overwritten);
        }
        relisted = true;
        // A problem whose position could not be stored is not listed either.
        if (!WriteSetup()) return false;
        added = AddProblemLine(static_cast<int>(number), line);
        return RewriteProblemList();
      }) != FileCommand::Done) {
    // Refused or failed: the stones go again with the list record.
    PendingSetup.fill({});
    if (relisted) LoadProblemList();
    return;
  }
  List1.SetListIndex(added);
  List1.SetTopIndex(added);
  PlayCue(0);
  SetStatus(form4text::Registered);
}

bool Form4::WriteSetup() {
  std::vector<ProblemMoveRecord> records;
  for (int i = 1; i <= MoveBufferSize && PendingSetup[i].ProblemNumber != 0; ++i)
    records.push_back({PendingSetup[i].ProblemNumber, PendingSetup[i].Colour, PendingSetup[i].Point});
  PendingSetup.fill({});
  if (AppendProblemMoves(s_, s_.CategoryNo, records)) return true;
  GetPlatform().MsgBox(form4text::FileFull, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
  return false;
}

bool Form4::RewriteProblemList() {
  std::vector<ProblemListRecord> records;
  for (int i = 0; i < List1.ListCount(); ++i)
    records.push_back({static_cast<int16_t>(ProblemNumberAt(i)), Mid(List1.List(i), 5, 30)});
  if (sol::RewriteProblemList(s_, s_.CategoryNo, records)) return true;
  GetPlatform().MsgBox(form4text::FileFull, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
  return false;
}

void Form4::RenumberProblem(int oldNumber, int newNumber) {
  const bool joseki = s_.CategoryNo == 4;
  if (joseki ? (newNumber < 1 || newNumber > 9999) : !InProblemRange(newNumber)) {
    GetPlatform().MsgBox(joseki ? form4text::JosekiPositive : form4text::NumberRange, Buttons::OK, Icon::Information,
                         form4text::InputErrorTitle);
    return;
  }
  for (int i = 0; i < List1.ListCount(); ++i)
    if (ProblemNumberAt(i) == newNumber) {
      GetPlatform().MsgBox(form4text::NumberInUse, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
      return;
    }
  // The four files are renumbered together, or the problem would lose its
  // stones, answers or comments to a number that is not listed.
  if (RunFileCommand([&] {
        if (RenumberProblemRecords(s_, s_.CategoryNo, static_cast<int16_t>(oldNumber), static_cast<int16_t>(newNumber)))
          return true;
        GetPlatform().MsgBox(form4text::NumberInUse, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
        return false;
      }) != FileCommand::Done)
    return;
  LoadProblemList();
  for (int i = 0; i < List1.ListCount(); ++i)
    if (ProblemNumberAt(i) == newNumber) {
      List1.SetListIndex(i);
      break;
    }
  PlayCue(0);
}

}  // namespace sol
