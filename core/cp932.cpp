#include "core/cp932.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace sol {

namespace {

struct Cp932Pair {
  std::uint16_t code;
  std::uint16_t unicode;
};

#include "core/cp932_table.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint16_t kNoCode = 0;  // 0x0000 maps to U+0000 directly, never looked up

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decoding uses a direct table over every code, built once from the sorted
// generated table: lists of tens of thousands of records are decoded whole
// each time a category opens. Codes the table lacks hold kReplacement.
const std::vector<char16_t>& DecodeTable() {
  static const std::vector<char16_t> table = [] {
    std::vector<char16_t> t(0x10000, kReplacement);
    // The first pair of a code wins, as a search of the sorted table finds it.
    for (auto p = std::rbegin(kCp932Decode); p != std::rend(kCp932Decode); ++p)
      t[p->code] = static_cast<char16_t>(p->unicode);
    return t;
  }();
  return table;
}

// Encoding uses a direct table over the BMP, built once. It also takes the
// characters an input method types for codes held under another character.
const std::vector<std::uint16_t>& EncodeTable() {
  static const std::vector<std::uint16_t> table = [] {
    std::vector<std::uint16_t> t(0x10000, kNoCode);
    for (const Cp932Pair& p : kCp932Decode) {
      if (std::binary_search(std::begin(kCp932NotPreferred), std::end(kCp932NotPreferred), p.code)) continue;
      t[p.unicode] = p.code;
    }
    for (const Cp932Pair& p : kCp932Equivalent) t[p.unicode] = p.code;
    return t;
  }();
  return table;
}

// The code for c in `table`, or nullopt; U+0000 is the one character
// encoded as code 0.
std::optional<std::uint16_t> CodeIn(const std::vector<std::uint16_t>& table, char16_t c) {
  if (c == 0) return 0;
  std::uint16_t code = table[c];
  if (code == kNoCode) return std::nullopt;
  return code;
}

std::optional<std::uint16_t> CodeOf(char16_t c) { return CodeIn(EncodeTable(), c); }

void Append(std::string& out, std::uint16_t code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// Calls emit(bytes, byteCount) for each character of text; emit returns
// false to stop. Titles of a whole list go through here on every rewrite of
// it, so the loop is kept to one table look-up per character.
template <typename Emit>
void ForEachEncoded(std::u16string_view text, Emit emit) {
  const std::uint16_t* table = EncodeTable().data();
  const size_t size = text.size();
  for (size_t i = 0; i < size; ++i) {
    const char16_t c = text[i];
    // No surrogate has a code, and U+0000 is code 0.
    std::uint16_t code = table[c];
    if (code == kNoCode && c != 0) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < size && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
      code = u'?';
    }
    if (!emit(code, code > 0xFF ? 2 : 1)) return;
  }
}

}  // namespace

bool CanEncode(char16_t c) { return !IsSurrogate(c) && CodeOf(c).has_value(); }

std::optional<char16_t> FirstUnencodable(const Str& s) {
  for (char16_t c : s)
    if (!CanEncode(c)) return c;
  return std::nullopt;
}

std::string Encode(const Str& text) {
  std::string out;
  out.reserve(text.size() * 2);
  ForEachEncoded(text, [&](std::uint16_t code, int) {
    Append(out, code);
    return true;
  });
  return out;
}

void EncodeFixedInto(std::u16string_view text, char* out, int width) {
  if (width <= 0) return;
  const size_t limit = static_cast<size_t>(width);
  size_t n = 0;
  // Trailing blanks come out as the padding would: a title read with its
  // padding is encoded without walking through it, four blanks at a time.
  size_t end = text.size();
  constexpr std::uint64_t FourBlanks = 0x0020002000200020ull;
  for (std::uint64_t four = 0; end >= 4; end -= 4) {
    std::memcpy(&four, text.data() + end - 4, sizeof four);
    if (four != FourBlanks) break;
  }
  while (end > 0 && text[end - 1] == u' ') --end;
  const std::u16string_view shown = text.substr(0, end);
  ForEachEncoded(shown, [&](std::uint16_t code, int bytes) {
    if (n + static_cast<size_t>(bytes) > limit) return false;
    if (code > 0xFF) out[n++] = static_cast<char>(code >> 8);
    out[n++] = static_cast<char>(code & 0xFF);
    return true;
  });
  std::fill(out + n, out + limit, ' ');
}

std::string EncodeFixed(const Str& text, int width) {
  if (width <= 0) return std::string();
  std::string out(static_cast<size_t>(width), ' ');
  EncodeFixedInto(text, out.data(), width);
  return out;
}

int EncodedLength(const Str& text) {
  long total = 0;
  ForEachEncoded(text, [&](std::uint16_t, int bytes) {
    total += bytes;
    return true;
  });
  return total > INT_MAX ? INT_MAX : static_cast<int>(total);
}

Str Decode(std::string_view bytes) {
  const std::vector<char16_t>& table = DecodeTable();
  Str out(bytes.size(), u'\0');
  size_t n = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (IsLead(b)) {
      if (i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1]))) {
        out[n++] = table[static_cast<std::uint16_t>((b << 8) | static_cast<unsigned char>(bytes[i + 1]))];
        ++i;
      } else {
        out[n++] = kReplacement;
      }
      continue;
    }
    out[n++] = b < 0x80 ? static_cast<char16_t>(b) : table[b];
  }
  out.resize(n);
  return out;
}

}  // namespace sol
