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

std::optional<Str> Form4::TypedProblemLine() {
  Platform& p = GetPlatform();
  auto refuse = [&p](const Str& text, const Str& title) {
    p.MsgBox(text, Buttons::OK, Icon::Information, title);
    return std::nullopt;
  };
  const int k = s_.CategoryNo;
  const BlockEnds& ends = s_.BlockEnd[k];
  // The joseki blocks run to the last record number and are not checked here.
  if (k <= 3 && (BlockFull(ProblemFile::List, k, ends.ListEnd) ||
                 BlockFull(ProblemFile::Moves, k, ends.MovesEnd, MoveBufferSize)))
    return refuse(form4text::CannotRegister, form4text::InputLimitTitle);
  const Str typed = Text1.Text();
  // A blank before the number would make the number another one.
  if (!typed.empty() && (typed[0] == u' ' || typed[0] == u'　'))
    return refuse(form4text::LeadingBlank, form4text::InputErrorTitle);
  if (!IsNumber(Left(typed, 4))) return refuse(form4text::FourDigits, form4text::InputErrorTitle);
  return CheckedInput(p, typed);
}

void Form4::Command4_Click() {
  const std::optional<Str> text = TypedProblemLine();
  if (!text) return;
  if (Registration.MoveBuffer[3].Colour == 0) {
    // Fewer than three stones: the selected problem gets a new title or number.
    RetitleOrRenumber(*text);
    return;
  }
  if (const std::optional<NewProblem> problem = ChooseNewProblem(*text)) StoreNewProblem(*problem);
}

void Form4::RetitleOrRenumber(const Str& text) {
  const int selected = List1.ListIndex();
  if (selected < 0) {
    GetPlatform().MsgBox(form4text::LayOutFirst, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
    return;
  }
  const long number = Val(Left(text, 4));
  if (ProblemNumberAt(selected) == number) {
    (void)RunFileCommand([&] {
      RetitleLine(selected, text);
      return RewriteProblemList();
    });
    return;
  }
  RenumberProblem(ProblemNumberAt(selected), static_cast<int>(number));
}

std::optional<Form4::NewProblem> Form4::ChooseNewProblem(const Str& text) {
  Platform& p = GetPlatform();
  auto refuse = [&p](const Str& box) {
    p.MsgBox(box, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
    return std::nullopt;
  };
  const Str key = Left(text, 4);
  NewProblem problem{static_cast<int>(Val(key)), text, 4};
  auto listed = [this](long n) {
    for (int i = 0; i < List1.ListCount(); ++i)
      if (ProblemNumberAt(i) == n) return i;
    return -1;
  };
  const bool joseki = s_.LessonMode == 7 || s_.LessonMode == 8;
  if (joseki) {
    if (listed(problem.number) >= 0) return refuse(form4text::NewNumber);
    if (Registration.MoveBuffer[5].Colour != 0 || Registration.MoveBuffer[3].Colour == 0)
      return refuse(form4text::JosekiStones);
    // 0 ends a block and cannot name a problem.
    if (problem.number < 1) return refuse(form4text::JosekiPositive);
    return problem;
  }
  if (key == u"0000") {
    problem.number = NextFreeProblemNumber(problemNumbers_, Vars.SubCategoryBase);
    if (problem.number >= Vars.SubCategoryBase + 1000) return refuse(form4text::SubCategoryFull);
    problem.line = Num(problem.number) + Mid(text, 5, ProblemListRecord::TitleChars);
    problem.titleStart = static_cast<int>(Num(problem.number).size());
    return problem;
  }
  problem.overwritten = listed(problem.number);
  if (problem.overwritten >= 0 &&
      p.MsgBox(form4text::SameNumber, Buttons::YesNo, Icon::Question, form4text::Confirm) != Answer::Yes)
    return std::nullopt;
  if (!InProblemRange(problem.number)) return refuse(form4text::NumberRange);
  return problem;
}

void Form4::StoreNewProblem(const NewProblem& problem) {
  const int k = s_.CategoryNo;
  const int number = problem.number;
  Registration.TakeAsSetup(number);
  // The set-up stones and the list go together: stones without a list
  // record would be found again under the number, and an overwritten
  // position must not lose its old stones alone.
  bool relisted = false;
  int added = -1;
  if (RunFileCommand([&] {
        if (problem.overwritten >= 0) {
          // The position replaces the old one: its set-up records go first.
          RewriteBlock(s_, ProblemFile::Moves, k, [number](int, std::string& bytes) {
            return ProblemMoveRecord::Decode(bytes).ProblemNumber != number;
          });
          RemoveProblemLine(problem.overwritten);
        }
        relisted = true;
        // A problem whose position could not be stored is not listed either.
        if (!WriteSetup()) return false;
        added = AddProblemLine(number, problem.line, problem.titleStart);
        return RewriteProblemList();
      }) != FileCommand::Done) {
    // Refused or failed: the stones go again with the list record.
    Registration.PendingSetup.fill({});
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
  for (const SetupEntry& e : Registration.TakeSetup())
    records.push_back(
        {static_cast<int16_t>(e.ProblemNumber), static_cast<int16_t>(e.Colour), static_cast<int16_t>(e.Point)});
  if (AppendProblemMoves(s_, s_.CategoryNo, records)) return true;
  GetPlatform().MsgBox(form4text::FileFull, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
  return false;
}

void Form4::RetitleLine(int line, const Str& text) {
  if (line < 0 || line >= List1.ListCount()) return;
  List1.SetList(line, text);
  titleStarts_[static_cast<size_t>(line)] = 4;
}

bool Form4::RewriteProblemList() {
  // Each title as a view into its line: no string per title.
  const auto line = [this](size_t i) {
    const std::u16string_view text = List1.List(static_cast<int>(i));
    const size_t start = std::min<size_t>(titleStarts_[i], text.size());
    return ListedProblem{static_cast<int16_t>(ProblemNumberAt(static_cast<int>(i))),
                         text.substr(start, ProblemListRecord::TitleChars)};
  };
  if (sol::RewriteProblemList(s_, s_.CategoryNo, static_cast<size_t>(List1.ListCount()), line)) return true;
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
  MoveStudyRecords(oldNumber, newNumber);
  LoadProblemList();
  for (int i = 0; i < List1.ListCount(); ++i)
    if (ProblemNumberAt(i) == newNumber) {
      List1.SetListIndex(i);
      break;
    }
  PlayCue(0);
}

}  // namespace sol
