#pragma once

// Text helpers. All text is held as UTF-16; positions and lengths count
// UTF-16 code units, and positions are 1-based as in BASIC's string
// functions. None of these functions throws for out-of-range arguments:
// they clamp.

#include <string>
#include <string_view>

namespace sol {

using Str = std::u16string;

// The first n units (all of s if n >= Len(s), empty if n <= 0).
Str Left(const Str& s, int n);
// The last n units.
Str Right(const Str& s, int n);
// length units from the 1-based position start; a negative length means
// "to the end". A start below 1 is treated as 1; past the end gives "".
Str Mid(const Str& s, int start, int length = -1);
int Len(const Str& s);

// Remove ASCII blanks (U+0020) only; other white space stays.
Str Trim(const Str& s);
Str RTrim(const Str& s);
Str LTrim(const Str& s);

// Value of the leading decimal number: leading ASCII blanks, an optional
// sign, then ASCII digits up to the first other character. No digits gives
// 0. Values beyond the range of long clamp to LONG_MIN / LONG_MAX.
long Val(const Str& s);
// Decimal digits, '-' only for negative values, no leading blank.
Str Num(long v);
// Num(v) preceded by blanks to make width units; longer results unchanged.
Str RightAlign(long v, int width);
// The same appended to `out`, without a string of its own.
void AppendRightAligned(Str& out, long v, int width);
// s followed by blanks to make width units; longer strings unchanged.
Str PadRight(const Str& s, int width);

// Each maximal ill-formed subsequence becomes one U+FFFD.
Str FromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string ToUtf8(const Str& s);

}  // namespace sol
