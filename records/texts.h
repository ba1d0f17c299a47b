// The library window's own texts.
#pragma once

#include "core/text.h"
#include "ui/controls.h"

namespace sol::form3text {

inline const Str Caption = u"ソルネカ";
inline const Str Title = u"棋譜処理";
inline const Str InputLabel = u"入力欄";
inline const Str ReportLabel = u"ファイルの残り情報";
inline const Str Read = u"読込み";
inline const Str Update = u"更新";
inline const Str Record = u"記録";
inline const Str Delete = u"削除";

inline const Str ReadHeading = u"１．読込み";
inline const Str ReadHow = u"目的の棋譜を上のリストで選択し、「読込み」をクリックしてください";
inline const Str UpdateHeading = u"２．更新";
inline const Str UpdateHow = u"目的の棋譜を上のリストで選択し、「更新」をクリックしてください";
inline const Str RecordHeading = u"３．記録";
inline const Str RecordHow = u"番号とタイトルを上の入力欄に入力し、「記録」をクリックしてください　";
inline const Str DeleteHeading = u"４．削除";
inline const Str DeleteHow = u"目的の棋譜を上のリストで選択し、「削除」をクリックしてください";

inline const Str InputError = u"入力エラー";
inline const Str OrderError = u"手順エラー";
inline const Str Confirm = u"確認";

inline const Str NumberRange = u"最初の２桁は１～６０までの数字を入力してください";
inline const Str NumberTaken = u"新しい番号を使ってください";
inline const Str LeadingBlank = u"番号の前に空白があります。空白を消して、最初の２桁に番号を入力してください";
inline const Str TitleTooLong = u"タイトルが長すぎます。番号と区切りを含めて２８文字までにしてください";
inline const Str NoStones = u"盤上に石がありません";
inline const Str SelectFirst = u"リストで選択してください";
inline const Str SelectToUpdate = u"更新するものをリストで選択してください";
inline const Str DeleteQuestion = u"を削除してよいですか";
// 更新 keeps a game under its own number; both numbers are 0..99.
inline Str NumberChanged(int typed, int selected) {
  auto two = [](int v) { return Str{static_cast<char16_t>(u'0' + v / 10), static_cast<char16_t>(u'0' + v % 10)}; };
  return u"入力欄の番号（" + two(typed) + u"）が、リストで選んだ棋譜の番号（" + two(selected) +
         u"）と違います。\n番号は変えずに「更新」をクリックしてください。別の番号で残すときは「記録」を使ってください";
}
// Wrapped around a character the files cannot store.

// A stored game with more moves than the board's move list holds.
inline const Str GameTooLong = u"棋譜が400手を超えているか、壊れているため読み込めません";

inline const Str Recorded = u"登録しました";
inline const Str Updated = u"更新しました";
inline const Str Deleted = u"削除しました";

inline const Str AdjournedTitle = u"01：打掛け";
inline const Str DateOpen = u"（";
inline const Str DateClose = u")";

// SGF files.
inline const Str SgfEmptyGame = u"石も着手もない対局は取り込みません。";
inline const Str SgfNoGame = u"このファイルには取り込める対局がありません。";
inline Str SgfOverLimit(long total) {
  return u"この棋譜は" + Num(total) +
         u"手（置き石を含む）あり、記録できるのは400手までです。\n最初の400手を取り込みますか？";
}
inline const Str SgfImportTitle = u"SGF取込み";
inline const Str SgfExportTitle = u"SGF書出し";
inline Str SgfImported(long taken) { return Num(taken) + u"局を取り込みました。"; }
inline Str SgfLibraryFull(long taken) {
  return u"棋譜は60局までしか記録できません。" + Num(taken) + u"局を取り込んだところで止めました。";
}
inline const Str SgfDroppedHeading = u"取り込まなかったもの：";
inline Str SgfLongGameLeft(long total) { return Num(total) + u"手の棋譜は取り込みませんでした。"; }
inline Str SgfImportFailed(long taken) {
  return u"ファイルに書き込めなかったため、" + Num(taken) + u"局を取り込んだところで止めました。";
}
inline const Str SgfExportAllTitle = u"SGF書出し（すべての棋譜を書き出すフォルダ）";
inline Str SgfExportedTo(long count, const Str& folder) {
  return Num(count) + u"局をフォルダ「" + folder + u"」に書き出しました。";
}
inline const Str SgfNothingStored = u"書き出す棋譜がありません。";
inline Str SgfExported(long count) { return Num(count) + u"局をSGFファイルに書き出しました。"; }

}  // namespace sol::form3text
