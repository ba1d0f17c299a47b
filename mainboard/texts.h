// The main board window's own texts.
#pragma once

#include "core/text.h"
#include "ui/controls.h"

namespace sol::form2text {

inline const Str Caption = u"ソルネカ";
inline const Str Title = u"メイン碁盤";
inline const Str Start = u"始めてください";
inline const Str CannotGoBack = u"もう戻せません";
inline const Str CannotGoForward = u"もう進めません";
inline const Str Saved = u"盤上の局面を保存しました";
inline const Str NotSaved = u"「途中保存」がされていません";
inline const Str RestoreQuestion =
    u"元の局面に戻します\n変化検討を続けるなら「はい」を、\n変化検討を終えるなら「いいえ」を選んでください";
inline const Str Choice = u"選択";
inline const Str Confirm = u"確認";
inline const Str ExitQuestion = u"ソルネカを終了してもいいですか";
inline const Str VersionTitle = u"バージョン情報";
inline const Str VersionText = u"ソルネカ\nVersion 1.1\n\n作者　ソルネカ開発チーム";
// The version box names the data folder in use too, so a player can find
// the files to back up.
inline Str VersionTextWith(const Str& dataFolder) { return VersionText + u"\n\nデータの保存先\n" + dataFolder; }
inline const Str MoveLimit = u"これ以上は打てません（400手まで）";
inline const Str NigiriTitle = u"握り";
inline const Str NigiriGuess = u"白石を握りました。\n奇数は「はい」、偶数は「いいえ」を選んでください。";
inline const Str NigiriOpen = u"握りを開いてよいですか？";
inline const Str JudgeTitle = u"判定";
inline const Str BlackFirst = u"黒石を打った人が先番です";
inline const Str WhiteFirst = u"白石をに握った人が先番です";
inline const Str ModeErrorTitle = u"モード選択エラー";
inline const Str ModeError = u"終局モードを選択してください";
inline const Str CountQuestion = u"ダメとセキを詰め、取られている石を上げましたか？";
inline const Str PrintTitlePrompt = u"棋譜のタイトルを入力してください。省略も可能です";
inline const Str PrintTitleCaption = u"棋譜タイトル ";
inline const Str PrintOrderTitle = u"手順エラー";
inline const Str PrintPrepareFirst = u"先に「印刷準備」を実行してください";
inline const Str PrintQuestion = u"印刷を実行していいですか？";
inline const Str SliderScale = u" 1 　  100    200   300    400";

// SGF files.
inline const Str SgfOpenTitle = u"SGFを開く";
inline const Str SgfSaveTitle = u"SGFで保存";
inline const Str SgfDefaultName = u"棋譜";
inline const Str SgfNothingToSave = u"保存する手順がありません。碁盤に石を置いてから保存してください。";
inline const Str SgfDroppedHeading = u"開いた棋譜に入らなかったもの：";
inline Str SgfOneFileOnly(long files) {
  return Num(files) + u"個のファイルのうち、最初のファイルだけを開きました（碁盤に並べられるのは１局です）。";
}
inline Str SgfFirstGameOnly(long games) {
  return u"このファイルの" + Num(games) +
         u"局のうち、最初の対局を開きました（すべてを取り込むには棋譜処理の「SGF取込み…」を使います）。";
}
inline Str SgfOverLimit(long total) {
  return u"この棋譜は" + Num(total) +
         u"手（置き石を含む）あり、碁盤に並べられるのは400手までです。\n最初の400手を開きますか？";
}
inline Str SgfOpened(const Str& name, long count) { return u"「" + name + u"」を開きました（" + Num(count) + u"手）"; }
inline Str SgfSaved(const Str& name) { return u"「" + name + u"」に保存しました"; }

// Games against an engine.
inline const Str EngineTitle = u"コンピュータ対局";
inline const Str EngineDefaultCommand = u"gnugo --mode gtp";
inline const Str EngineHowToGet =
    u"\n\nGNU Go を使うには、端末で「sudo apt install gnugo」と入力してインストールしてください。"
    u"ほかの GTP エンジンは「エンジン設定…」でコマンドを指定できます。";
inline const Str EngineNoCommand = u"エンジンのコマンドが設定されていません。";
inline const Str EngineLacks = u"このエンジンは対局に必要なコマンドを持っていません：";
inline const Str EngineSettingsPrompt = u"GTP エンジンを起動するコマンドを入力してください（例：gnugo --mode gtp）。";
inline const Str EngineGamePrompt =
    u"あなたの色（黒・白）、置き石（0、2～9）、コミ、強さ（1～10）を空白で区切って入力してください。";
inline const Str EngineGameDefault = u"黒 0 6.5 1";
inline const Str EngineGameBadInput =
    u"入力が正しくありません。例：「黒 0 6.5 1」（黒番、置き石なし、コミ6目半、強さ1）";
inline const Str EngineThinking = u"コンピュータが考えています…（「考慮を中止」で止められます）";
inline const Str EngineYourTurn = u"あなたの番です";
inline const Str EnginePassed = u"コンピュータはパスしました。あなたの番です";
inline const Str EngineResigned = u"コンピュータが投了しました。あなたの勝ちです";
inline const Str BothPassed = u"双方がパスしたので終局です。死に石を判定して地を計算してください";
inline const Str EngineGoesOnAlone = u"\nこのあとは一人で打てます。";
inline const Str NoEngineGame = u"コンピュータとの対局中ではありません。";
inline const Str EngineBusy = u"コンピュータが考えている間は打てません";
inline const Str EngineRefusedMove = u"コンピュータがこの手を受け付けないため、取り消しました：";
inline const Str EngineCannotUndo = u"コンピュータが手を戻せないため、戻しませんでした：";
inline const Str EngineHint = u"ヒント：";
inline const Str EngineContinueQuestion =
    u"盤上の対局の続きをコンピュータと打ちますか？\n（いいえ：新しい対局を始めます。置き石とコミは入力したとおりです）";
inline const Str EngineDeadTitle = u"死に石の判定";
inline const Str EngineNoDead = u"コンピュータの判定では、死に石はありません。";
inline const Str EngineNoFreeHandicap =
    u"このエンジンは置き石の配置（set_free_handicap）を受け付けないため、この棋譜の続きは打てません。";
inline const Str EngineSetupStones =
    u"この棋譜には置き石以外の配置の石があるため、コンピュータに局面を伝えられません。";
inline Str EngineDeadQuestion(long n) {
  return u"コンピュータは ◆ の石 " + Num(n) +
         u" 個を死に石と判定しました。取り上げますか？\n（いいえ：自分で判定します）";
}

}  // namespace sol::form2text
