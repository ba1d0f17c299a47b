#include "core/input_check.h"

#include <unicode/unorm2.h>

#include <vector>

#include "core/cp932.h"

namespace sol {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

const UNormalizer2* Nfc() {
  static const UNormalizer2* nfc = [] {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* n = unorm2_getNFCInstance(&status);
    return U_SUCCESS(status) ? n : nullptr;
  }();
  return nfc;
}

// The NFC form of `run`, or `run` itself if ICU fails (the check that
// follows then refuses what cannot be stored).
Str Composed(const Str& run) {
  const UNormalizer2* nfc = Nfc();
  if (!nfc || run.empty()) return run;
  // NFC never makes a text more than three times longer.
  std::vector<UChar> out(run.size() * 3 + 1);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(run.data()), static_cast<int32_t>(run.size()),
                                     out.data(), static_cast<int32_t>(out.size()), &status);
  if (U_FAILURE(status)) return run;
  return Str(reinterpret_cast<const char16_t*>(out.data()), static_cast<size_t>(n));
}

bool AllStorable(const Str& run) {
  for (char16_t c : run)
    if (!CanEncode(c)) return false;
  return true;
}

}  // namespace

Str StoredForm(const Str& text) {
  const UNormalizer2* nfc = Nfc();
  Str out;
  out.reserve(text.size());
  // Runs begin where normalisation cannot reach back over (a starter).
  size_t start = 0;
  auto flush = [&](size_t end) {
    const Str run = text.substr(start, end - start);
    out += AllStorable(run) ? run : Composed(run);
    start = end;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    UChar32 c = text[i];
    const bool pair = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    if (pair) c = 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    if (i > start && (!nfc || unorm2_hasBoundaryBefore(nfc, c))) flush(i);
    if (pair) ++i;
  }
  flush(text.size());
  // Every character is stored exactly but the input methods' forms, which
  // come back as the code page's own.
  return AllStorable(out) ? Decode(Encode(out)) : out;
}

Str FirstUnstorable(const Str& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (CanEncode(text[i])) continue;
    const bool pair = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    return text.substr(i, pair ? 2 : 1);
  }
  return {};
}

int FirstControl(const Str& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::optional<Str> InputRefusal(const Str& text) {
  const Str stored = StoredForm(text);
  if (const int at = FirstControl(stored))
    return Num(at) + u"文字目に制御文字（タブ・改行など）があります。記録できません。";
  Str c = FirstUnstorable(stored);
  if (c.empty()) return std::nullopt;
  // A mark left uncomposed is named with the character it goes on: a mark
  // alone shows as nothing, or as a dotted circle.
  const size_t at = stored.find(c);
  size_t start = at;
  while (start > 0 && Nfc() && !unorm2_hasBoundaryBefore(Nfc(), stored[start])) --start;
  c = stored.substr(start, at - start + c.size());
  return u"「" + c + u"」は記録できない文字です。";
}

std::optional<Str> CheckedInput(Platform& platform, const Str& text) {
  if (const std::optional<Str> refusal = InputRefusal(text)) {
    platform.MsgBox(*refusal, Buttons::OK, Icon::Information, u"入力エラー");
    return std::nullopt;
  }
  return StoredForm(text);
}

}  // namespace sol
