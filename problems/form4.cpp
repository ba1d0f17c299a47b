#include "problems/form4.h"

#include "core/cp932.h"
#include "core/cues.h"
#include "core/text.h"
#include "problems/store.h"
#include "problems/study_texts.h"
#include "problems/texts.h"
#include "ui/display_menu.h"
#include "ui/lesson_menus.h"

namespace sol {

Form4::Form4(GameState& state, Platform& platform)
    : Form("Form4", platform), MMControl1("MMControl1", platform), s_(state) {
  Caption = form4text::Caption;
  Label2.SetCaption(u"手順リスト");
  Label7.SetCaption(u"コメントリスト");
  Label4.SetCaption(form4text::NumberPrompt);
  Label12.SetCaption(u"（全問黒番）");
  Option1.SetCaption(u"講座モード");
  Option3.SetCaption(u"自由モード");
  Option4.SetCaption(u"基本");
  Option5.SetCaption(u"応用");
  Option6.SetCaption(u"重要");
  Command1.SetCaption(u"１手進む");
  Command2.SetCaption(u"解答表示");
  Command3.SetCaption(u"１手戻し");
  Command15.SetCaption(u"１手順戻し");
  Command4.SetCaption(u"問題登録");
  Command5.SetCaption(u"問題削除");
  Command6.SetCaption(u"正手順登録");
  Command7.SetCaption(u"悪手順登録");
  Command8.SetCaption(u"手順削除");
  Command9.SetCaption(u"コメント登録");
  Command10.SetCaption(u"コメント削除");
  Command11.SetCaption(u"区分変更");
  Command20.SetCaption(u"区分名変更");
  Command12.SetCaption(u"クリア");
  Command13.SetCaption(u"チェック");
  Command14.SetCaption(u"出入計算");
  Command17.SetCaption(u"手順検索");
  Command21.SetCaption(studytext::NextProblem);
  Command21.SetVisible(false);
  Command13.SetVisible(false);
  Command14.SetVisible(false);
  // The boxes take no more than their records keep: four digits and the
  // title field, and the comment field.
  const auto stored = [](const Str& t) { return EncodedLength(t); };
  Text1.SetLimit(4 + ProblemListRecord::TitleChars, 4 + ProblemListRecord::TextWidth, stored);
  Text2.SetLimit(-1, CommentRecord::TextWidth, stored);

  for (Control* c : std::initializer_list<Control*>{
           &Label3,    &Cells,    &List1,     &Label12,    &Frame2,    &Option4,   &Option5,   &Option6,   &Frame1,
           &Option1,   &Option3,  &Label4,    &Text1,      &Label6,    &Label2,    &List2,     &Label7,    &List3,
           &Label9,    &Text2,    &Command1,  &Command2,   &Command3,  &Command15, &Command4,  &Command5,  &Command6,
           &Command7,  &Command8, &Command9,  &Command10,  &Command11, &Command20, &Command12, &Command13, &Command14,
           &Command17, &Label21,  &Command21, &StatusBar1, &MMControl1})
    Register(*c);

  Option1.JoinGroup(&playGroup_);
  Option3.JoinGroup(&playGroup_);
  for (OptionButton* o : {&Option4, &Option5, &Option6}) o->JoinGroup(&subGroup_);
  Option1.OnClick = [this] { Vars.ProblemPlayMode = 1; };
  Option3.OnClick = [this] {
    Vars.ProblemPlayMode = 2;
    Attempt.Helped();
  };
  Option4.OnClick = [this] {
    Vars.SubCategoryBase = 1000;
    ScrollToSubCategory();
    ShowStudySummary();
  };
  Option5.OnClick = [this] {
    Vars.SubCategoryBase = 2000;
    ScrollToSubCategory();
    ShowStudySummary();
  };
  Option6.OnClick = [this] {
    Vars.SubCategoryBase = 3000;
    ScrollToSubCategory();
    ShowStudySummary();
  };
  List1.OnSelect = [this] { LoadProblem(); };
  List2.OnSelect = [this] { ShowAnswerSequence(); };
  List3.OnSelect = [this] { CommentListClick(); };
  Cells.OnMouseDown = [this](int p, int b, int sh) { ProblemBoardClick(b, sh, p); };
  BuildMenus();
  BindCommands();
  ApplyHelpTexts();
}

void Form4::BuildMenus() {
  AddLessonMenus(MenuBar, [this](int mode) { SwitchMode(mode); });
  MenuBar.Add("メニューメイン碁盤へ", u"メイン碁盤へ", u'B').OnClick = [this] { MenuMainBoard(); };
  Menu& sgf = MenuBar.Add("メニューSGF", u"SGF", u'F');
  sgf.Add("メニューSGF取込み…", u"SGF取込み…").OnClick = [this] { MenuSgfImport(); };
  sgf.Add("メニューフォルダから取込み…", u"フォルダから取込み…").OnClick = [this] { MenuSgfFolderImport(); };
  sgf.Add("メニューSGF書出し…", u"SGF書出し…").OnClick = [this] { MenuSgfExport(); };
  sgf.AddSeparator();
  sgf.Add("メニュー付属の問題集を取込み", u"付属の問題集を取込み").OnClick = [this] { MenuStarterImport(); };
  Menu& study = MenuBar.Add("メニュー学習", studytext::MenuStudy, u'L');
  study.Add("メニュー復習", studytext::MenuReview).OnClick = [this] { MenuReview(); };
  study.Add("メニュー学習記録…", studytext::MenuRecords).OnClick = [this] { MenuStudyRecords(); };
  AddDisplayMenu(MenuBar, [this](CoordinateStyle style) {
    if (ChooseCoordinates) ChooseCoordinates(style);
  });
  Menu& help = MenuBar.Add("", u"ヘルプ", u'H');
  help.Add("メニュー全体ヘルプ", u"全体ヘルプ").OnClick = [this] {
    GetPlatform().HelpContents(FromUtf8(s_.DataDir) + u"ソルネカ.HLP");
  };
  help.Add("メニュー個別ヘルプ", u"個別ヘルプ").OnClick = [this] { GetPlatform().ContextHelp(*this); };
}

void Form4::Load() {
  if (HideMainBoard) HideMainBoard();
  Position = {s_.Board, 0, 0, s_.LastColour};
  ResetProblemBoard();
  ApplyMode();
  Option1.SetValue(true);
  Vars.ProblemPlayMode = 1;
  Option4.SetValue(true);
  Vars.SubCategoryBase = 1000;
  SetUpPlayer(MMControl1, false);
}

void Form4::SwitchMode(int lessonMode) {
  s_.LessonMode = static_cast<int16_t>(lessonMode);
  ApplyMode();
}

void Form4::MenuMainBoard() {
  ResetProblemBoard();
  Unload();
  if (ShowMainBoard) ShowMainBoard();
}

void Form4::Unloading() {
  // The window's state starts at zero each time it is opened again.
  EndReview();
  Vars = {};
  Lesson = {};
  Registration = {};
  Attempt = {};
  Option4.SetCaption(u"基本");
  Option5.SetCaption(u"応用");
  Option6.SetCaption(u"重要");
}

void Form4::PlayCue(int kind) { sol::PlayCue(MMControl1, kind); }

}  // namespace sol
