#include "core/charset.h"

#include <iconv.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <utility>

namespace sol {

namespace {

std::string Folded(std::string_view label) {
  std::string out;
  for (char c : label) {
    if (c == '-' || c == '_' || c == ' ') continue;
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

// Runs one iconv conversion over the whole input; nullopt on any failure.
std::optional<std::string> Convert(std::string_view in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  out.resize(in.size() * 2 + 16);
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  size_t used = 0;
  bool ok = true;
  while (true) {
    char* outPtr = out.data() + used;
    size_t outLeft = out.size() - used;
    // A null input pointer flushes the shift state at the end.
    const size_t r =
        inLeft > 0 ? iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) : iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    used = out.size() - outLeft;
    if (r != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    ok = false;  // EILSEQ or EINVAL: not text in this encoding
    break;
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(used);
  return out;
}

}  // namespace

std::optional<std::string> CharsetName(std::string_view label) {
  static const std::array<std::pair<const char*, const char*>, 17> names{{
      {"UTF8", "UTF-8"},
      {"SHIFTJIS", "CP932"},
      {"SJIS", "CP932"},
      {"CP932", "CP932"},
      {"WINDOWS31J", "CP932"},
      {"MSKANJI", "CP932"},
      {"EUCJP", "EUC-JP"},
      {"GB2312", "GB18030"},
      {"GBK", "GB18030"},
      {"CP936", "GB18030"},
      {"GB18030", "GB18030"},
      {"BIG5", "BIG5"},
      {"EUCKR", "EUC-KR"},
      {"ISO88591", "ISO-8859-1"},
      {"LATIN1", "ISO-8859-1"},
      {"L1", "ISO-8859-1"},
      {"ISOLATIN1", "ISO-8859-1"},
  }};
  const std::string folded = Folded(label);
  for (const auto& [key, name] : names)
    if (folded == key) return std::string(name);
  return std::nullopt;
}

bool IsValidUtf8(std::string_view b) {
  size_t i = 0;
  while (i < b.size()) {
    const unsigned char c = static_cast<unsigned char>(b[i]);
    int extra = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<size_t>(extra) >= b.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(b[i + static_cast<size_t>(k)]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

std::optional<std::string> ConvertToUtf8(std::string_view bytes, const std::string& charset) {
  if (charset == "UTF-8") {
    if (!IsValidUtf8(bytes)) return std::nullopt;
    return std::string(bytes);
  }
  return Convert(bytes, "UTF-8", charset.c_str());
}

std::optional<std::string> ConvertFromUtf8(std::string_view utf8, const std::string& charset) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  if (charset == "UTF-8") return std::string(utf8);
  return Convert(utf8, charset.c_str(), "UTF-8");
}

}  // namespace sol
