// The main board window's own texts.
#pragma once

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

}  // namespace sol::form2text
