#pragma once

// Text in the encodings that files from elsewhere come in, converted to and
// from UTF-8 by the system's iconv. Conversion is strict: a byte sequence
// that is not text in the encoding, or a character the target cannot hold,
// fails the whole conversion instead of being replaced.

#include <optional>
#include <string>
#include <string_view>

namespace sol {

// The iconv name of an encoding as files and people label it, compared
// without case, '-' or '_': UTF-8; Shift_JIS, SJIS, CP932, Windows-31J (all
// "CP932"); EUC-JP; GB2312, GBK, CP936, GB18030 (all "GB18030", which holds
// the others); Big5; EUC-KR; ISO-8859-1, Latin1. nullopt for any other label.
std::optional<std::string> CharsetName(std::string_view label);

bool IsValidUtf8(std::string_view bytes);

// nullopt when `bytes` are not valid text in `charset` (an iconv name, e.g.
// from CharsetName) or the system cannot convert from it.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, const std::string& charset);
// nullopt when `utf8` is not valid UTF-8 or holds a character `charset`
// cannot encode.
std::optional<std::string> ConvertFromUtf8(std::string_view utf8, const std::string& charset);

}  // namespace sol
