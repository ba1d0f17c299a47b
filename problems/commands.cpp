// The buttons of the problem window and their short help.
#include "problems/form4.h"

namespace sol {

void Form4::BindCommands() {
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command15.OnClick = [this] { Command15_Click(); };
  Command14.OnClick = [this] { Command14_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command6.OnClick = [this] { Command6_Click(); };
  Command7.OnClick = [this] { Command7_Click(); };
  Command9.OnClick = [this] { Command9_Click(); };
  Command5.OnClick = [this] { Command5_Click(); };
  Command8.OnClick = [this] { Command8_Click(); };
  Command11.OnClick = [this] { Command11_Click(); };
  Command20.OnClick = [this] { Command20_Click(); };
  Command12.OnClick = [this] { Command12_Click(); };
  Command13.OnClick = [this] { Command13_Click(); };
  Command10.OnClick = [this] { Command10_Click(); };
  Command17.OnClick = [this] { Command17_Click(); };
}

void Form4::ApplyHelpTexts() {
  Label3.SetHelpText(u"いま開いている講座または登録の種類です。");
  Cells.SetHelpText(
      u"問題図です。講座モードでは黒から順に着手すると、登録された正解・失敗手順と照らし合わせます。"
      u"緑の番号は正解手順、赤の番号は失敗手順の手です。");
  List1.SetHelpText(u"問題の一覧です。クリックするとその問題を盤に並べます。");
  List2.SetHelpText(u"この問題に登録された手順の一覧です。クリックするとその手順を盤に並べます。");
  List3.SetHelpText(u"手順に付けたコメントの一覧です。クリックするとコメントと手順を表示します。");
  Label12.SetHelpText(u"問題はすべて黒番から始まります。");
  Frame2.SetHelpText(u"問題の区分（基本・応用・重要など）を選ぶと、一覧がその区分の先頭まで移動します。");
  Option4.SetHelpText(Frame2.HelpText());
  Option5.SetHelpText(Frame2.HelpText());
  Option6.SetHelpText(Frame2.HelpText());
  Frame1.SetHelpText(u"講座モードでは手が判定され、自由モードでは自由に石を置けます。");
  Option1.SetHelpText(u"講座モード：打った手を登録手順と照らし合わせます。");
  Option3.SetHelpText(u"自由モード：判定せずに石を置いて検討します。");
  Text1.SetHelpText(u"問題番号（4桁）とタイトルを入力します。");
  Text2.SetHelpText(u"手順のコメントを表示します。登録では、コメントや区分名をここに入力します。");
  Label4.SetHelpText(Text1.HelpText());
  Label9.SetHelpText(Text2.HelpText());
  Command1.SetHelpText(u"登録されている次の１手を打ちます。");
  Command2.SetHelpText(u"正解手順を盤に表示します。");
  Command3.SetHelpText(u"最後の１手を戻します。");
  Command15.SetHelpText(u"いまの手順をひとまとまり戻します。");
  Command4.SetHelpText(u"盤上の石を問題として登録します。");
  Command5.SetHelpText(u"選んだ問題を、手順・コメントごと削除します。");
  Command6.SetHelpText(u"盤に並べた手を正解手順として登録します。");
  Command7.SetHelpText(u"盤に並べた手を失敗手順として登録します。");
  Command8.SetHelpText(u"選んだ手から後の手順を削除します。");
  Command9.SetHelpText(u"入力したコメントを手順に付けます。");
  Command10.SetHelpText(u"選んだコメントを削除します。");
  Command11.SetHelpText(u"選んだ問題を別の区分に移します。");
  Command20.SetHelpText(u"区分の名前を変更します。");
  Command12.SetHelpText(u"盤と入力欄をクリアします。");
  Command14.SetHelpText(u"ヨセの出入りを計算します。");
  Command17.SetHelpText(u"盤に並べた石を含む定石手順を探します。");
  StatusBar1.SetHelpText(u"操作の結果や次にすることを表示します。");
}

}  // namespace sol
