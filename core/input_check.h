// Refusing input that the data files cannot store.
#pragma once

#include "ui/platform.h"

namespace sol {

// The first character of `text` that CP932 has no code for, a surrogate
// pair taken whole; empty when every character can be stored.
Str FirstUnstorable(const Str& text);

// Shows the 入力エラー box naming the first character of `text` that cannot
// be stored and returns true; returns false when every character can be.
bool RefuseUnstorable(Platform& platform, const Str& text);

}  // namespace sol
