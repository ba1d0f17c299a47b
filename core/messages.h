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

}  // namespace sol::msg
