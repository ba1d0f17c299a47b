// The problem window's own texts.
#pragma once

#include "ui/controls.h"

namespace sol::form4text {

inline const Str Caption = u"ソルネカ";
inline const Str ChooseProblem = u"問題番号を選んでください。";
inline const Str NoSetup = u"問題手順がありません";
inline const Str Confirm = u"確認";
inline const Str CommentHeading = u"コメント";
inline const Str CommentPrompt = u"手順のコメント又は区分名を入力してください";
inline const Str JosekiCommentPrompt = u"手順のコメントを入力してください";
inline const Str NumberPrompt = u"問題番号とコメントを入力してください　";

}  // namespace sol::form4text
