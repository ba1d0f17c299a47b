// The eight modes of the problem window: which controls each side shows,
// the category's problem list and its sub-category buttons.
#include <algorithm>
#include <utility>
#include <vector>

#include "core/game_list.h"
#include "core/messages.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

namespace {

enum class Show { Keep, Yes, No };

struct SideRule {
  Control* control;
  Show lecture;
  Show registration;
};

void Apply(Control& c, Show show) {
  if (show != Show::Keep) c.SetVisible(show == Show::Yes);
}

}  // namespace

void Form4::ApplyControlTable(bool lecture) {
  const bool joseki = s_.LessonMode == 7 || s_.LessonMode == 8;
  const std::vector<SideRule> rules = {
      {&Frame1, Show::Yes, Show::No},   {&Option1, Show::Yes, Show::No},   {&Option3, Show::Yes, Show::No},
      {&Command1, Show::Yes, Show::No}, {&Command2, Show::Yes, Show::No},  {&Command15, Show::Yes, Show::Keep},
      {&Label2, Show::No, Show::Yes},   {&Label4, Show::No, Show::Yes},    {&Label6, Show::No, Show::Yes},
      {&Label7, Show::No, Show::Yes},   {&Label9, Show::Keep, Show::Yes},  {&Text1, Show::No, Show::Yes},
      {&Text2, Show::Keep, Show::Yes},  {&Command4, Show::No, Show::Yes},  {&Command5, Show::No, Show::Yes},
      {&Command6, Show::No, Show::Yes}, {&Command7, Show::No, Show::Yes},  {&Command8, Show::No, Show::Yes},
      {&Command9, Show::No, Show::Yes}, {&Command10, Show::No, Show::Yes}, {&Command20, Show::No, Show::Yes},
      {&Command13, Show::No, Show::No}, {&List2, Show::No, Show::Yes},     {&List3, Show::No, Show::Yes},
  };
  for (const SideRule& r : rules) Apply(*r.control, lecture ? r.lecture : r.registration);
  Label9.SetCaption(lecture ? form4text::CommentHeading
                            : (joseki ? form4text::JosekiCommentPrompt : form4text::CommentPrompt));

  for (Control* c : std::initializer_list<Control*>{&Label12, &Frame2, &Option4, &Option5, &Option6, &Command11})
    c->SetVisible(true);
  Command14.SetVisible(false);
  Command17.SetVisible(false);
  // Collections come in and go out where problems are registered.
  if (Menu* sgf = MenuBar.Find("メニューSGF")) sgf->SetVisible(!lecture);
  // What the learner did is kept where problems are studied.
  if (Menu* study = MenuBar.Find("メニュー学習")) study->SetVisible(lecture);
  Label21.SetVisible(lecture);
}

void Form4::ApplyMode() {
  const bool lecture = s_.LessonMode % 2 == 1;
  EndReview();
  // The buttons show the play mode in effect, also after 自由モード was
  // chosen in the mode left.
  (lecture ? Option1 : Option3).SetValue(true);
  Vars.ProblemPlayMode = lecture ? 1 : 2;
  ApplyControlTable(lecture);
  Command4.SetCaption(u"問題登録");
  Command5.SetCaption(u"問題削除");
  ClearProblemLines();
  ShowAnswers({});
  ClearCommentLines();
  SetStatus(form4text::ChooseProblem);

  static const char16_t* titles[] = {u"",         u"手筋講座", u"手筋登録", u"ヨセ講座", u"ヨセ登録",
                                     u"詰碁講座", u"詰碁登録", u"定石講座", u"定石登録"};
  const int mode = s_.LessonMode >= 1 && s_.LessonMode <= 8 ? s_.LessonMode : 1;
  Label3.SetCaption(titles[mode]);
  s_.CategoryNo = static_cast<int16_t>((mode + 1) / 2);
  if (mode == 3) Command14.SetVisible(true);
  if (mode == 7 || mode == 8) {
    for (Control* c : std::initializer_list<Control*>{&Label12, &Frame2, &Option4, &Option5, &Option6, &Command2,
                                                      &Command11, &Command20})
      c->SetVisible(false);
    Command17.SetVisible(true);
    SetStatus(form4text::ChooseProblem);
  }

  try {
    FindBlockEnds(s_, s_.CategoryNo);
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
  LoadProblemList();
  ResetProblemBoard();

  try {
    ShowSubCategoryNames();
    if (s_.CategoryNo == Vars.RememberedCategory && Vars.RememberedIndex >= 0 &&
        Vars.RememberedIndex < List1.ListCount()) {
      List1.SetListIndex(Vars.RememberedIndex);
      List1.SetTopIndex(Vars.RememberedIndex);
    }
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
}

void Form4::ShowSubCategoryNames() {
  const std::optional<Str> text = ReadSubCategoryNames(s_, s_.CategoryNo);
  // A data set that never stored names shows the window's own names, not
  // those of the category before.
  if (!text) {
    Option4.SetCaption(u"基本");
    Option5.SetCaption(u"応用");
    Option6.SetCaption(u"重要");
    return;
  }
  Option4.SetCaption(Mid(*text, 1, 3));
  Option5.SetCaption(Mid(*text, 5, 3));
  Option6.SetCaption(Mid(*text, 9, 3));
}

void Form4::LoadProblemList() {
  ClearProblemLines();
  try {
    struct Line {
      Str text;
      int number;
      int titleStart;
    };
    std::vector<Line> lines;
    ForEachProblemListRecord(s_, s_.CategoryNo, [&lines](const ProblemListRecord& r) {
      Str text = Num(r.ProblemNumber);
      const int titleStart = static_cast<int>(text.size());
      text += r.ProblemText;
      lines.push_back({std::move(text), r.ProblemNumber, titleStart});
    });
    // A damaged block out of order would make each line go in near the top
    // of a long sorted list; sorted first (equal lines kept in file order,
    // as the list keeps them), every line goes in at the end.
    auto byText = [](const Line& a, const Line& b) { return a.text < b.text; };
    if (!std::is_sorted(lines.begin(), lines.end(), byText)) std::stable_sort(lines.begin(), lines.end(), byText);
    problemNumbers_.reserve(lines.size());
    titleStarts_.reserve(lines.size());
    // The title follows the number.
    for (Line& line : lines) AddProblemLine(line.number, std::move(line.text), line.titleStart);
  } catch (const FileError&) {
    SetStatus(msg::NoFile);
  }
  ShowStudyMarks();
}

void Form4::ScrollToSubCategory() {
  for (int i = 0; i < List1.ListCount(); ++i) {
    if (ProblemNumberAt(i) > Vars.SubCategoryBase) {
      List1.SetTopIndex(i);
      return;
    }
  }
}

void Form4::ResetProblemBoard() {
  Lesson.ProblemMoveNumber = 0;
  Lesson.NumberedPoint = 0;
  Lesson.ProblemLastColour = 0;
  Position.CapturedBlack = 0;
  Position.CapturedWhite = 0;
  Lesson.SequenceEnded = false;
  Registration.ClearMoves();
  Registration.PendingSetup.fill({});
  for (int p = 1; p <= ProblemPoints; ++p) {
    Position.Board[p] = 0;
    Cells.SetPicture(p, PictureNone);
    SetCaption(p, u" ");
  }
  Text2.SetText(u" ");
}

}  // namespace sol
