// The texts of the study records: the marks' meaning, the line under the
// problem list, review and the 学習記録 window.
#pragma once

#include "core/text.h"
#include "ui/controls.h"

namespace sol::studytext {

inline const Str Title = u"学習記録";
inline const Str MenuStudy = u"学習";
inline const Str MenuReview = u"復習";
inline const Str MenuRecords = u"学習記録…";
inline const Str NextProblem = u"次の問題へ";
inline const Str NothingToReview = u"復習する問題はありません。\r\n間違えた問題、解答を見た問題がここに並びます。";
inline const Str ReviewDone = u"復習する問題はこれで終わりです。";
inline const Str ReviewEnded = u"復習を終わりました。";
inline const Str NotSaved = u"学習記録を保存できませんでした。講座はこのまま続けられます。";
inline const Str ClearQuestion = u"学習記録をすべて消去してよいですか？";
inline const Str Cleared = u"消去しました";
inline const Str Exported = u"書き出しました";
inline const Str ExportTitle = u"学習記録をCSVで書出し";
inline const Str CsvFilter = u"CSVファイル (*.csv)";
inline const Str CsvName = u"学習記録.csv";
inline const Str ExportCsv = u"CSV書出し…";
inline const Str Clear = u"記録を消去";
inline const Str Close = u"閉じる";
inline const Str Unavailable = u"学習記録は使えません（データフォルダに書き込めません）。";

inline Str Reviewing(long n) { return u"復習：" + Num(n) + u"問（古い順）"; }

// "基本　正解 12／挑戦 15／全 30問": solved, tried and all problems.
inline Str Summary(const Str& name, long solved, long tried, long all) {
  return name + u"　正解 " + Num(solved) + u"／挑戦 " + Num(tried) + u"／全 " + Num(all) + u"問";
}

}  // namespace sol::studytext
