// The buttons of the problem window and their short help.
#include "problems/form4.h"
#include "problems/store.h"

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
  Command21.OnClick = [this] { Command21_Click(); };
}

FileCommand Form4::RunFileCommand(const std::function<bool()>& command) {
  return sol::RunFileCommand(s_, {&StatusBar1}, command, [this] { FindBlockEnds(s_, s_.CategoryNo); });
}

void Form4::ApplyHelpTexts() {
  Label3.SetHelpText(u"いま開いている講座または登録の種類です。");
  Cells.SetHelpText(
      u"問題図です。講座モードでは石が黒白交互に置かれ（定石は白から）、登録手順にある手は緑、失敗手順の１手目は赤の手"
      u"数で示されます。"
      u"自由モードと新しい問題の配置では左クリックで黒、右クリックで白を置き、●印は左クリックで打ち、右クリックでその手"
      u"順を表示します。");
  List1.SetHelpText(u"問題の一覧です。クリックするとその問題を盤に並べます。");
  List2.SetHelpText(
      u"この問題に登録された手順の一覧です（１行が１手）。クリックするとその手順を最後まで盤に並べ、続けて打つとその後"
      u"の変化として登録できます。");
  List3.SetHelpText(u"手順に付けたコメントの一覧です。クリックするとコメントと手順を表示します。");
  Label12.SetHelpText(u"問題はすべて黒番から始まります。");
  Frame2.SetHelpText(u"問題の区分（基本・応用・重要など）を選ぶと、一覧がその区分の先頭まで移動します。");
  Option4.SetHelpText(Frame2.HelpText());
  Option5.SetHelpText(Frame2.HelpText());
  Option6.SetHelpText(Frame2.HelpText());
  Frame1.SetHelpText(u"講座モードでは手が判定され、自由モードでは自由に石を置けます。");
  Option1.SetHelpText(u"講座モード：打った手を登録手順と照らし合わせます。");
  Option3.SetHelpText(
      u"自由モード：判定せずに、左クリックで黒、右クリックで白を置きます。出入計算や手順検索にも使います。");
  Text1.SetHelpText(
      u"問題番号（4桁）とタイトルを続けて入力します。例：1001隅の死活（0000にすると空いている番号が付きます）。");
  Text2.SetHelpText(
      u"手順のコメントを表示します。登録では、付けるコメントや、区分名（1～3・5～7・9～11文字目に３つ）をここに入力しま"
      u"す。");
  Label4.SetHelpText(Text1.HelpText());
  Label9.SetHelpText(Text2.HelpText());
  Label6.SetHelpText(Text1.HelpText());
  Label2.SetHelpText(List2.HelpText());
  Label7.SetHelpText(List3.HelpText());
  Command1.SetHelpText(u"登録されている次の１手を打ちます。分かれ道では、候補の手を緑と赤の●印で示します。");
  Command2.SetHelpText(u"登録されている手順を、手順の終わりか次の分かれ道まで続けて打って表示します。");
  Command3.SetHelpText(u"最後の１手を戻します。");
  Command15.SetHelpText(
      u"手順をひとまとまり戻します。分かれた先の手順では元の手順の終わりへ、最初の手順では問題図に戻ります。");
  Command4.SetHelpText(
      u"並べた配置の石（３つ以上、定石は３つか４つ）を、入力欄の番号とタイトルで問題として登録します。"
      u"石を並べずに押すと、選んだ問題のタイトルまたは番号を変更します。");
  Command5.SetHelpText(u"一覧で選んだ問題を、配置・手順・コメントごと削除します。");
  Command6.SetHelpText(
      u"盤に打った手順を正解手順として登録します。手順リストで手順を選んでから打つと、その続きになります。");
  Command7.SetHelpText(u"盤に打った手順を失敗手順として登録します。講座では、その１手目が赤で示されます。");
  Command8.SetHelpText(u"手順リストで選んだ手から後の手順と、その先に続く変化、それらのコメントを削除します。");
  Command9.SetHelpText(u"手順リストで選んだ手順の最初の行に、入力欄のコメントを付けます。");
  Command10.SetHelpText(u"コメントリストで選んだコメントを削除します。");
  Command11.SetHelpText(u"選んだ問題を、いま選んでいる区分ボタンの区分へ、空いている次の番号で移します。");
  Command20.SetHelpText(
      u"入力欄の1～3・5～7・9～11文字目に入力した３つの名前を、区分ボタンの名前にします。例：初級  中級  上級");
  Command12.SetHelpText(u"盤を空にし、問題の選択を外して、手順リストとコメントリストを空にします。");
  Command13.SetHelpText(u"読み込んだ問題の手順とコメントのつながりを調べ、誤りの数を表示します。");
  Command14.SetHelpText(
      u"自由モードで黒からと白からのヨセをそれぞれダメ詰めまで打ち、そのたびに押すと、出入りの目数を表示します。");
  Command17.SetHelpText(
      u"最後に置いた２つの石と同じ手を含む登録手順を探して表示します。「いいえ」で次の候補を探します。");
  Command21.SetHelpText(u"復習で、次の問題を読み込みます（Enterキーでも同じです）。");
  Label21.SetHelpText(
      u"選んでいる区分で、正解した問題、挑戦した問題、すべての問題の数です。○は一度で正解、△は間違えたり解答を見たりし"
      u"た後の正解、×は不正解です。");
  StatusBar1.SetHelpText(u"操作の結果や次にすることを表示します。");
}

}  // namespace sol
