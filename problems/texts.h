// The problem window's own texts.
#pragma once

#include "ui/controls.h"

namespace sol::form4text {

inline const Str Caption = u"ソルネカ";
inline const Str ChooseProblem = u"問題番号を選んでください。";
inline const Str ChooseProblemBox = u"問題番号を選んでください";
inline const Str NoSetup = u"問題手順がありません";
inline const Str Confirm = u"確認";
inline const Str CommentHeading = u"コメント";
inline const Str CommentPrompt = u"手順のコメント又は区分名を入力してください";
inline const Str JosekiCommentPrompt = u"手順のコメントを入力してください";
inline const Str NumberPrompt = u"問題番号とコメントを入力してください　";

inline const Str GoOn = u"進めてください。";
inline const Str GoOnShort = u"進めてください";
inline const Str SequenceOver = u"登録手順は終了です。";
inline const Str ChooseMark = u"緑丸、赤丸のいずれかを選んでください";
inline const Str Choice = u"選択";
inline const Str NotRegistered =
    u"登録手順にありません。いずれか選んでください。\r\n\r\n「はい」      ：打ち直し\r\n「いいえ」    "
    u"：登録手順の表示\r\n"
    u"「キャンセル」：自由モードに切り替え";
inline const Str Mark = u"●";
inline const Str ChooseLectureMode = u"講座モードを選んでください";
inline const Str ChooseProblemFirst = u"問題を選んでください";
inline const Str BufferFull = u"これ以上は置けません（50手まで）";

inline const Str YosePlayFirst = u"自由モードで、黒番か白番のヨセをダメ詰めまで打ってください";
inline const Str YoseChooseFree = u"自由モードを選んで、やり直してください";
inline const Str YoseNextWhite = u"次に、白番のヨセをダメ詰めまで打ってください";
inline const Str YoseNextBlack = u"次に、黒番のヨセをダメ詰めまで打ってください";
inline const Str PlaceStones = u"石を打ってください";
inline const Str SearchTitle = u"確認 ";
inline const Str SearchQuestion = u"ＯＫですか？　「いいえ」なら他を探します";
inline const Str NoSequence = u"手順がありません";

inline const Str InputLimitTitle = u"入力限界";
inline const Str CannotRegister = u"もう登録できません";
inline const Str InputErrorTitle = u"入力エラー";
inline const Str OrderErrorTitle = u"手順エラー";
inline const Str RegisterErrorTitle = u"登録エラー";
inline const Str FourDigits = u"４桁の番号とコメントを入力してください";
inline const Str LeadingBlank = u"番号の前に空白があります。空白を消して、最初の４桁に番号を入力してください";
inline const Str SameNumber = u"同じ番号があります。上書きしてもいいですか？";
inline const Str NumberRange = u"1000～3000番台の番号を使ってください";
inline const Str NewNumber = u"新しい番号を使ってください";
inline const Str JosekiStones = u"３手目または４手目までを並べてください";
inline const Str JosekiPositive = u"1以上の番号を使ってください";
inline const Str Registered = u"登録しました";
inline const Str LayOutFirst = u"基本形または問題を並べてください";
inline const Str FileFull = u"ファイルが一杯です。不要なものを削除してください";
inline const Str NumberInUse = u"その番号はすでに使われています。別の番号を使ってください";
inline const Str SubCategoryFull = u"この区分には空いている番号がありません";
inline const Str NoMovesPlayed = u"棋譜がありません";
inline const Str BadBranch = u"分岐情報が異常です";
inline const Str BadBranchCode = u"T5";
inline const Str SelectSequenceHead = u"LIST2で当該手順の先頭を選んでください";
inline const Str EnterComment = u"コメントを入力してください";
inline const Str Overwrite = u"上書きしてよいですか？";
inline const Str SelectListFirst = u"手順リストかコメントリストを選択してください";
inline const Str Deleted = u"削除しました";

inline const Str SelectInList = u"リストで選択してください";
inline const Str DeleteProblemTail = u"を削除してよいですか?\r\n関連する問題手順，解答手順，コメントを全て削除します";
inline const Str SelectAnswer = u"４桁の解答番号を選んでください";
inline const Str DeleteTailQuestion =
    u"表示されている解答手順の最後の部分を削除してよいですか？\r\n後続の解答手順と関連するコメントも全て削除します";
inline const Str NameInputError = u"入力エラーです。<説明>を参照してください";
inline const Str CheckTitle = u"データエラー情報";

// SGF problem collections.
inline const Str SgfImportTitle = u"SGF取込み";
inline const Str SgfFolderImportTitle = u"SGF取込み（フォルダのすべてのSGFファイル）";
inline const Str SgfExportTitle = u"SGF書出し";
inline const Str SgfExportFolderTitle = u"SGF書出し（1問ずつ書き出すフォルダ）";
inline const Str StarterTitle = u"付属の問題集";
inline const Str RegistrationOnly = u"問題の取込みと書出しは登録モードで行ってください";
inline const Str NoStarterLibrary = u"付属の問題集が見つかりません。";
inline const Str NoSgfInFolder = u"このフォルダにはSGFファイルがありません。";
inline const Str SkippedHeading = u"取り込まなかった問題：";
inline const Str ReadNotesHeading = u"取込みの注記：";
inline Str ProblemsTaken(long n) { return Num(n) + u"問を取り込みました。"; }
inline Str ProblemsTakenAt(long n, long first, long last) {
  if (n == 0) return ProblemsTaken(0);
  return Num(n) + u"問を取り込みました（" + (first == last ? Num(first) : Num(first) + u"～" + Num(last)) + u"）。";
}
inline Str SummaryFileNote(const Str& name) { return u"すべての内容は「" + name + u"」に書きました。"; }
inline const Str SummaryFileName = u"SGF取込み結果.txt";
inline const Str NothingToExport = u"書き出す問題がありません。";
inline const Str ExportWhich =
    u"この区分のすべての問題を１つのファイルに書き出しますか？\n（いいえ：１問ずつ別のファイルに書き出します）";
inline Str ProblemsExported(long n) { return Num(n) + u"問をSGFファイルに書き出しました。"; }
inline Str SequencesDropped(long n) { return u"つながりの壊れた手順 " + Num(n) + u" 個は書き出していません。"; }
inline Str StarterFilled(long n) { return u"付属の問題集から" + Num(n) + u"問を講座に入れました。"; }

}  // namespace sol::form4text
