#include "core/text.h"

#include <climits>

namespace sol {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kReplacement = 0xFFFD;

size_t Clamp(int n, size_t size) {
  if (n <= 0) return 0;
  return static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

Str Left(const Str& s, int n) { return s.substr(0, Clamp(n, s.size())); }

Str Right(const Str& s, int n) {
  size_t count = Clamp(n, s.size());
  return s.substr(s.size() - count);
}

Str Mid(const Str& s, int start, int length) {
  size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  if (from >= s.size()) return Str();
  if (length < 0) return s.substr(from);
  return s.substr(from, static_cast<size_t>(length));
}

int Len(const Str& s) { return s.size() > INT_MAX ? INT_MAX : static_cast<int>(s.size()); }

Str LTrim(const Str& s) {
  size_t first = s.find_first_not_of(kBlank);
  return first == Str::npos ? Str() : s.substr(first);
}

Str RTrim(const Str& s) {
  size_t last = s.find_last_not_of(kBlank);
  return last == Str::npos ? Str() : s.substr(0, last + 1);
}

Str Trim(const Str& s) { return LTrim(RTrim(s)); }

long Val(const Str& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == kBlank) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  // Accumulate the magnitude unsigned; LONG_MIN's magnitude fits there.
  const unsigned long limit =
      negative ? static_cast<unsigned long>(LONG_MAX) + 1UL : static_cast<unsigned long>(LONG_MAX);
  unsigned long magnitude = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    unsigned long digit = s[i] - u'0';
    if (magnitude > (limit - digit) / 10) {
      magnitude = limit;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<long>(magnitude);
  if (magnitude == 0) return 0;
  return -static_cast<long>(magnitude - 1) - 1;
}

Str Num(long v) {
  unsigned long magnitude = v < 0 ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
  Str digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (v < 0) digits.insert(digits.begin(), u'-');
  return digits;
}

void AppendRightAligned(Str& out, long v, int width) {
  char16_t digits[24];
  size_t n = 0;
  unsigned long magnitude = v < 0 ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (v < 0) digits[n++] = u'-';
  if (width > 0 && static_cast<size_t>(width) > n) out.append(static_cast<size_t>(width) - n, kBlank);
  while (n > 0) out.push_back(digits[--n]);
}

Str RightAlign(long v, int width) {
  Str out;
  AppendRightAligned(out, v, width);
  return out;
}

Str PadRight(const Str& s, int width) {
  size_t target = Clamp(width, static_cast<size_t>(INT_MAX));
  if (s.size() >= target) return s;
  return s + Str(target - s.size(), kBlank);
}

Str FromUtf8(std::string_view in) {
  Str out;
  out.reserve(in.size());
  size_t i = 0;
  const size_t n = in.size();
  auto byte = [&](size_t k) { return static_cast<unsigned char>(in[k]); };
  while (i < n) {
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int trail;
    char32_t cp;
    // Bounds of the first continuation byte; they exclude overlong forms,
    // surrogates and code points above U+10FFFF.
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      trail = 1;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      trail = 2;
      cp = b0 & 0x0F;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      trail = 3;
      cp = b0 & 0x07;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < trail; ++k, ++j) {
      if (j >= n) {
        ok = false;
        break;
      }
      unsigned char b = byte(j);
      unsigned char min = k == 0 ? lo : 0x80;
      unsigned char max = k == 0 ? hi : 0xBF;
      if (b < min || b > max) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    i = j;
    if (!ok) {
      out.push_back(kReplacement);
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string ToUtf8(const Str& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (IsHighSurrogate(cp) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace sol
