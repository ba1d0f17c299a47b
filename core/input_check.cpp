#include "core/input_check.h"

#include "core/cp932.h"

namespace sol {

Str FirstUnstorable(const Str& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (CanEncode(text[i])) continue;
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    return text.substr(i, pair ? 2 : 1);
  }
  return {};
}

bool RefuseUnstorable(Platform& platform, const Str& text) {
  const Str c = FirstUnstorable(text);
  if (c.empty()) return false;
  platform.MsgBox(u"「" + c + u"」は記録できない文字です。", Buttons::OK, Icon::Information, u"入力エラー");
  return true;
}

}  // namespace sol
