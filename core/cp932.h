#pragma once

// Code page 932 (Shift_JIS with the vendor extensions), the encoding of
// every text field in the data files.
//
// Defined codes: 0x00-0x7F (0x5C and 0x7E are '\' and '~'), the half-width
// katakana 0xA1-0xDF, and double-byte codes with lead byte 0x81-0x9F or
// 0xE0-0xFC and trail byte 0x40-0x7E or 0x80-0xFC (user-defined codes
// 0xF040-0xF9FC map to U+E000-U+E757). Where several codes decode to one
// character, encoding picks a single one of them, so Decode(Encode(t)) == t
// for every encodable t, but for six characters that Japanese input methods
// type in place of the ones the code page holds: 〜 U+301C, − U+2212,
// ‖ U+2016, ¢ U+00A2, £ U+00A3 and ¬ U+00AC are encoded as the codes of
// ～ U+FF5E, － U+FF0D, ∥ U+2225, ￠ U+FFE0, ￡ U+FFE1 and ￢ U+FFE2, and read
// back as those.

#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace sol {

bool CanEncode(char16_t c);
// Surrogates (paired or not) are unencodable.
std::optional<char16_t> FirstUnencodable(const Str& s);

// Each unencodable character becomes '?' (a surrogate pair gives one '?').
std::string Encode(const Str& text);

// Exactly width bytes: the encoded text cut before the first character that
// does not fit whole (a double-byte character is never split), then padded
// with ASCII blanks.
std::string EncodeFixed(const Str& text, int width);
// EncodeFixed written to out[0, width).
void EncodeFixedInto(std::u16string_view text, char* out, int width);

// Length of Encode(text) in bytes.
int EncodedLength(const Str& text);

// A byte that starts no defined code becomes U+FFFD. A lead byte followed by
// a byte in the trail range forms one pair (one U+FFFD if undefined); a lead
// byte followed by anything else, or at the end, gives U+FFFD and the next
// byte is decoded on its own. Blanks are kept.
Str Decode(std::string_view bytes);

}  // namespace sol
