#include "mainboard/help_texts.h"

#include "mainboard/form2.h"

namespace sol {

void ApplyHelpTexts(Form2& f) {
  f.Label1.SetHelpText(u"メイン碁盤です。対局や棋譜の並べ直しをここで行います。");
  f.Cells.SetHelpText(
      u"碁盤です。対局モードではクリックで黒白交互に打ち、自由モードでは左クリックで黒、右クリックで白を置きます"
      u"（Shift＋左クリックで石を持ち上げ、Shift＋右クリックで空いた交点に移します）。"
      u"終局モードでは左クリックで死に石を取り上げ、Shift＋左クリックでダメを埋めます。");
  f.Frame1.SetHelpText(u"盤の使い方（モード）を選びます。");
  f.Option1.SetHelpText(u"対局モード：黒から交互に打ちます。新しい石に手数が表示されます。");
  f.Option2.SetHelpText(u"自由(有）モード：左クリックで黒、右クリックで白を手数付きで置きます。");
  f.Option3.SetHelpText(u"自由（無）モード：手数なしで石を配置します。このモードを抜けると手数は1から数え直します。");
  f.Option4.SetHelpText(u"終局モード：死に石を取り上げ、ダメを埋めて地の計算の準備をします。");
  f.Command1.SetHelpText(u"最後の１手を取り消します。取られていた石は盤に戻ります。");
  f.Command4.SetHelpText(u"記録されている次の１手を打ちます。変化検討中は使えません。");
  f.Command2.SetHelpText(u"初手だけが打たれた局面に戻します。「１手進む」で並べ直せます。");
  f.Command6.SetHelpText(u"記録されている手順を最後まで並べます。");
  f.Command7.SetHelpText(u"盤上の局面を保存して変化検討を始めます。変化の手は1から数えます。");
  f.Command8.SetHelpText(u"保存した局面に戻ります。「はい」で検討を続け、「いいえ」で検討を終えて元の対局に戻ります。");
  f.Command3.SetHelpText(u"盤と手順をすべて消します。「クリア戻し」で元に戻せます。");
  f.Command9.SetHelpText(u"「クリア」で消した盤と手順を元に戻します。");
  f.Command5.SetHelpText(u"印刷用の表示をやめて普段の画面に戻ります。碁盤には印刷準備の前の局面がそのまま戻ります。");
  f.Slider1.SetHelpText(u"つまみを動かして放すと、その手数までの局面を表示します（1〜400手）。");
  f.Label8.SetHelpText(f.Slider1.HelpText());
  f.Label7.SetHelpText(f.Slider1.HelpText());
  f.Label2.SetHelpText(u"黒が取った白石の数です。");
  f.Label3.SetHelpText(f.Label2.HelpText());
  f.Label4.SetHelpText(u"白が取った黒石の数です。");
  f.Label5.SetHelpText(f.Label4.HelpText());
  f.Label10.SetHelpText(u"印刷する棋譜のタイトルと、前に石があった場所に打たれた手の一覧です。");
  f.StatusBar1.SetHelpText(u"操作の結果や次にすることを表示します。");
}

}  // namespace sol
