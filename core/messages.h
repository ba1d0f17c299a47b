// Status texts shared by the board procedures and the windows.
#pragma once

#include "ui/controls.h"

namespace sol::msg {

inline const Str TwoBlanks = u"  ";
inline const Str OneBlank = u" ";
inline const Str IdeographicSpace = u"　";
inline const Str NoMoves = u"手順がありません";
inline const Str NoFile = u"ファイルがありません";
inline const Str SettingsNotSaved = u"設定を保存できませんでした（solneka.ini）";

// The status bar's short form of CannotWrite.
inline const Str FolderNotWritable = u"データフォルダに書き込めません";
inline const Str CannotWriteTitle = u"確認";
inline const Str CannotWrite =
    u"データフォルダに書き込めません。変更は保存されませんでした。\n"
    u"読み取り専用のフォルダやファイル、書き込みの権限がない場合、"
    u"またはデータフォルダを別のソルネカが使っている場合に起こります。";
inline const Str JournalSetAside =
    u"前回中断した変更の記録（.solneka.journal）を処理できなかったため、"
    u"日時を付けた名前に変えて残しました。\n"
    u"データファイルはそのままです。";
inline const Str OutOfMemory =
    u"メモリが足りないため、操作を最後まで行えませんでした。\n"
    u"途中まで書き換えたデータファイルは元に戻してあります。";
// A data file larger than its records can be; the name goes in front.
inline const Str TooLarge = u" が壊れています（大きすぎます）";

}  // namespace sol::msg
