#include "records/form3.h"

#include "core/text.h"
#include "records/game_files.h"
#include "records/texts.h"

namespace sol {

namespace {

Str TwoDigits(int v) { return Right(Num(100 + ((v % 100) + 100) % 100), 2); }

}  // namespace

Str DateSuffix(const Date& d) {
  return form3text::DateOpen + TwoDigits(d.year) + u"-" + TwoDigits(d.month) + u"-" + TwoDigits(d.day) +
         form3text::DateClose;
}

Form3::Form3(GameState& state, Platform& platform) : Form("Form3", platform), s_(state) {
  Caption = form3text::Caption;
  Label1.SetCaption(form3text::Title);
  Label2.SetCaption(form3text::ReadHeading);
  Label3.SetCaption(form3text::ReadHow);
  Label4.SetCaption(form3text::UpdateHeading);
  Label5.SetCaption(form3text::UpdateHow);
  Label6.SetCaption(form3text::RecordHeading);
  Label7.SetCaption(form3text::RecordHow);
  Label8.SetCaption(form3text::DeleteHeading);
  Label9.SetCaption(form3text::DeleteHow);
  Label10.SetCaption(form3text::InputLabel);
  Label11.SetCaption(form3text::ReportLabel);
  Command2.SetCaption(form3text::Read);
  Command5.SetCaption(form3text::Update);
  Command1.SetCaption(form3text::Record);
  Command3.SetCaption(form3text::Delete);
  // What the list file keeps of a line, the date included.
  Text1.SetLimit(2 + TitleChars - DateSuffixLength);

  for (Control* c : std::initializer_list<Control*>{&Label1, &List1, &Label10, &Text1, &Command2, &Command5, &Command1,
                                                    &Command3, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7,
                                                    &Label8, &Label9, &Label11, &List2, &StatusBar1})
    Register(*c);

  List1.OnSelect = [this] { List1_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command5.OnClick = [this] { Command5_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };

  ApplyHelpTexts();
  BuildMenus();
}

void Form3::BuildMenus() {
  auto entry = [](Menu& parent, const char* name, const char16_t* caption, std::function<void()> f) {
    parent.Add(name, caption).OnClick = std::move(f);
  };
  MenuBar.Add("メニューメイン碁盤へ", u"メイン碁盤へ", u'B').OnClick = [this] { MenuMainBoard(); };
  MenuBar.Add("メニュー残情報", u"残情報", u'Z').OnClick = [this] { MenuRemaining(); };
  Menu& sgf = MenuBar.Add("メニューSGF", u"SGF", u'S');
  entry(sgf, "メニューSGF取込み…", u"SGF取込み…", [this] { MenuSgfImport(); });
  entry(sgf, "メニューSGF書出し…", u"SGF書出し…", [this] { MenuSgfExport(); });
  Menu& help = MenuBar.Add("メニューヘルプ", u"ヘルプ", u'H');
  entry(help, "メニュー全体ヘルプ", u"全体ヘルプ", [this] { MenuHelpContents(); });
  entry(help, "メニュー個別ヘルプ", u"個別ヘルプ", [this] { MenuContextHelp(); });
}

void Form3::ApplyHelpTexts() {
  Label1.SetHelpText(u"棋譜処理の画面です。棋譜の記録・読込み・更新・削除を行います。");
  List1.SetHelpText(u"記録されている棋譜の一覧です。クリックすると、その番号とタイトルが入力欄に入ります。");
  Label10.SetHelpText(u"この下の入力欄に、棋譜の番号とタイトルを入力します。");
  Text1.SetHelpText(u"棋譜の番号（２桁、01～60）と区切りの１文字、タイトルを入力します。例：05：名人戦第1局");
  Command2.SetHelpText(u"一覧で選んだ棋譜をメイン碁盤に並べ、この画面を閉じます。");
  Command5.SetHelpText(
      u"リストで選んだ棋譜を、メイン碁盤の現在の局面までの手順と入力欄のタイトルで置き換えます。確認は出ません。");
  Command1.SetHelpText(u"メイン碁盤の現在の局面までの手順を、入力欄の番号とタイトルで新しく記録します。");
  Command3.SetHelpText(u"一覧で選んだ棋譜を、確認のうえ削除します。");
  for (Label* l : {&Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8, &Label9})
    l->SetHelpText(u"各操作の手順の説明です。");
  Label11.SetHelpText(u"「残情報」メニューで、各ファイルにあとどれだけ記録できるかを表示します。");
  List2.SetHelpText(Label11.HelpText());
  StatusBar1.SetHelpText(u"操作の結果を表示します。");
}

void Form3::Load() {
  Text1.SetText(u"");
  List2.Clear();
  StatusBar1.SetText(u"");
  List1.Clear();
  // The main board's capture log is left alone: the game on the board may
  // still be taken back after this window closes.
  try {
    for (const Str& line : ListGames(s_)) List1.AddItem(line);
  } catch (const FileError& e) {
    StatusBar1.SetText(FileErrorText(e));
    return;
  }
  if (s_.LastReadIndex >= 0 && s_.LastReadIndex < List1.ListCount()) List1.SetListIndex(s_.LastReadIndex);
}

void Form3::List1_Click() {
  const Str line = List1.List(List1.ListIndex());
  const int keep = Len(Trim(line)) - DateSuffixLength;
  if (keep >= 0) Text1.SetText(Left(line, keep));
}

void Form3::MenuMainBoard() { Unload(); }

void Form3::MenuHelpContents() { GetPlatform().HelpContents(FromUtf8(s_.DataDir) + u"ソルネカ.HLP"); }

// Context help applies to this window: it is modal, so the main board's
// controls cannot be clicked while it is open.
void Form3::MenuContextHelp() { GetPlatform().ContextHelp(*this); }

}  // namespace sol
