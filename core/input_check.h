// Checking text the player typed before it goes into the data files.
#pragma once

#include <optional>

#include "ui/platform.h"

namespace sol {

// `text` as the files will hold it. A character and the marks that follow
// it (か and U+3099) are composed to Unicode NFC where the code page cannot
// hold them as typed; what it can hold stays as typed, so compatibility
// characters the code page has (the Ångström sign, the ideographs of the
// vendor rows) are never swapped for others. The forms input methods type
// for characters the code page holds under another code point (〜 for ～)
// become the code page's own, which is what reading the file gives back.
Str StoredForm(const Str& text);

// The first character of `text` that CP932 has no code for, a surrogate
// pair taken whole; empty when every character can be stored.
Str FirstUnstorable(const Str& text);

// 1-based position of the first control character (C0, DEL, C1) of `text`,
// 0 when there is none. The files hold one line per field, and a tab or a
// line break would show as nothing or break the list's columns.
int FirstControl(const Str& text);

// The box that refuses typed text, or nullopt when `text` may be stored:
// names the first control character by its position, or else the first
// character the files cannot store. Both judge StoredForm(text).
std::optional<Str> InputRefusal(const Str& text);

// StoredForm(text) when it may be stored; otherwise shows InputRefusal in an
// 入力エラー box and returns nullopt.
std::optional<Str> CheckedInput(Platform& platform, const Str& text);

}  // namespace sol
