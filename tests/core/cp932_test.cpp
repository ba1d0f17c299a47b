#include "core/cp932.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace sol {
namespace {

const char16_t kBad = 0xFFFD;

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

bool IsLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(int b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Every code the decoder knows, by brute force over all one- and two-byte
// inputs.
std::map<int, char16_t> AllDefinedCodes() {
  std::map<int, char16_t> codes;
  for (int b = 0; b < 0x100; ++b) {
    if (IsLead(b)) continue;
    Str d = Decode(Bytes({b}));
    if (d.size() == 1 && d[0] != kBad) codes[b] = d[0];
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLead(lead)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrail(trail)) continue;
      Str d = Decode(Bytes({lead, trail}));
      if (d.size() == 1 && d[0] != kBad) codes[(lead << 8) | trail] = d[0];
    }
  }
  return codes;
}

TEST(Cp932Table, KnownCodes) {
  struct Case {
    std::string bytes;
    char16_t ch;
  };
  const Case cases[] = {
      {"A", u'A'},         {"\x5C", u'\\'},         {"\x7E", u'~'},
      {"\xB1", u'ｱ'},      {"\xDF", u'ﾟ'},          {"\x81\x40", u'\u3000'},
      {"\x82\xA0", u'あ'}, {"\x83\x5C", u'ソ'},     {"\x88\x9F", u'亜'},
      {"\x8C\xE9", u'碁'}, {"\x81\x5F", u'＼'},     {"\x81\x60", u'～'},
      {"\x87\x40", u'①'},  {"\xED\x40", u'纊'},     {"\xEE\xEF", u'ⅰ'},
      {"\xFA\x40", u'ⅰ'},  {"\xF0\x40", u'\uE000'}, {"\xF9\xFC", u'\uE757'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.bytes), Str(1, c.ch)) << std::hex << static_cast<unsigned>(c.ch);
    EXPECT_TRUE(CanEncode(c.ch));
  }
}

TEST(Cp932Table, EveryCodeRoundTrips) {
  const std::map<int, char16_t> codes = AllDefinedCodes();
  EXPECT_EQ(codes.size(), 9795u);
  std::set<char16_t> chars;
  for (const auto& [code, ch] : codes) {
    chars.insert(ch);
    ASSERT_TRUE(CanEncode(ch)) << std::hex << code;
    const std::string bytes = Encode(Str(1, ch));
    // A character with several codes encodes to one of them; all of
    // them must decode back to it.
    ASSERT_EQ(Decode(bytes), Str(1, ch)) << std::hex << code;
    ASSERT_EQ(bytes.size(), code > 0xFF ? 2u : 1u) << std::hex << code;
    ASSERT_EQ(EncodedLength(Str(1, ch)), static_cast<int>(bytes.size()));
  }
  EXPECT_EQ(chars.size(), 9795u - 398u);
}

TEST(Cp932Table, DuplicatesEncodeToOneChosenCode) {
  EXPECT_EQ(Encode(u"≒"), "\x81\xE0");   // also 0x8790
  EXPECT_EQ(Encode(u"￢"), "\x81\xCA");  // also 0xEEF9, 0xFA54
  EXPECT_EQ(Encode(u"Ⅰ"), "\x87\x54");   // also 0xFA4A
  EXPECT_EQ(Encode(u"ⅰ"), "\xEE\xEF");   // also 0xFA40
  EXPECT_EQ(Encode(u"纊"), "\xED\x40");  // also 0xFA5C
}

TEST(Cp932Table, OnlyTableCharactersAreEncodable) {
  const std::map<int, char16_t> codes = AllDefinedCodes();
  std::set<char16_t> chars;
  for (const auto& entry : codes) chars.insert(entry.second);
  for (char16_t typed : {u'〜', u'−', u'‖', u'¢', u'£', u'¬'}) chars.insert(typed);
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const char16_t ch = static_cast<char16_t>(c);
    ASSERT_EQ(CanEncode(ch), chars.count(ch) == 1) << std::hex << static_cast<unsigned>(c);
  }
  // Characters that look related but have no code of their own.
  EXPECT_FALSE(CanEncode(u'¥'));
  EXPECT_FALSE(CanEncode(u'‾'));
  EXPECT_FALSE(CanEncode(u'\u0080'));
  EXPECT_FALSE(CanEncode(char16_t(0xFFFD)));
}

// What an input method types for a character the code page holds under
// another code point is stored under that code, and reads back as the
// code page's own character.
TEST(Cp932Table, InputMethodFormsTakeTheCodeOfTheirEquivalent) {
  const Str typed = u"〜−‖¢£¬";
  const std::string bytes = Encode(typed);
  EXPECT_EQ(bytes, "\x81\x60\x81\x7C\x81\x61\x81\x91\x81\x92\x81\xCA");
  EXPECT_EQ(Decode(bytes), u"～－∥￠￡￢");
  EXPECT_EQ(EncodedLength(typed), 12);
  EXPECT_EQ(FirstUnencodable(typed), std::nullopt);
  EXPECT_EQ(EncodeFixed(u"1〜3", 4),
            "1\x81\x60"
            "3");
}

TEST(Cp932Bytes, UndefinedSingleBytes) {
  for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) EXPECT_EQ(Decode(Bytes({b})), Str(1, kBad)) << b;
  EXPECT_EQ(Decode(Bytes({0x80, 'a', 0xFF})), Str({kBad, u'a', kBad}));
}

TEST(Cp932Bytes, HalfWidthKatakana) {
  Str all;
  std::string bytes;
  for (int b = 0xA1; b <= 0xDF; ++b) {
    all.push_back(static_cast<char16_t>(0xFF61 + (b - 0xA1)));
    bytes.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(Decode(bytes), all);
  EXPECT_EQ(Encode(all), bytes);
  EXPECT_EQ(EncodedLength(all), 63);
  EXPECT_EQ(Encode(u"ｿﾙﾈｶ"), "\xBF\xD9\xC8\xB6");
}

TEST(Cp932Bytes, TruncatedAndBrokenPairs) {
  // Lead byte as the last byte: one replacement, nothing read beyond.
  EXPECT_EQ(Decode(Bytes({0x82})), Str(1, kBad));
  EXPECT_EQ(Decode(Bytes({'a', 0x82})), Str({u'a', kBad}));
  EXPECT_EQ(Decode(std::string_view("\x82\xA0", 1)), Str(1, kBad));
  // Lead byte followed by a non-trail byte: that byte is decoded itself.
  EXPECT_EQ(Decode(Bytes({0x82, 0x0A})), Str({kBad, u'\n'}));
  EXPECT_EQ(Decode(Bytes({0x82, 0x20, 0x41})), Str({kBad, u' ', u'A'}));
  // 0x82 0x82 is a pair; the 0xA0 after it is undefined on its own.
  EXPECT_EQ(Decode(Bytes({0x82, 0x82, 0xA0})), Str({u'ｂ', kBad}));
  EXPECT_EQ(Decode(Bytes({0x81, 0xFD, 0x82, 0xA0})), Str({kBad, kBad, u'あ'}));
  // An undefined pair is consumed whole.
  EXPECT_EQ(Decode(Bytes({0x85, 0x40, 'x'})), Str({kBad, u'x'}));
  EXPECT_EQ(Decode(Bytes({0xFC, 0xFC})), Str(1, kBad));
}

TEST(Cp932Bytes, MixedTextKeepsBlanks) {
  const Str text = u"黒 12目 ｺﾐ ";
  const std::string bytes = Encode(text);
  EXPECT_EQ(bytes, "\x8D\x95 12\x96\xDA \xBA\xD0 ");
  EXPECT_EQ(EncodedLength(text), 11);
  EXPECT_EQ(Decode(bytes), text);
  EXPECT_EQ(Decode("  "), u"  ");
  EXPECT_EQ(Decode(std::string_view("a\0", 2)), Str(u"a\0", 2));
  EXPECT_EQ(Decode(""), u"");
}

TEST(Cp932Encode, UnencodableBecomesQuestionMark) {
  EXPECT_EQ(Encode(u"a¥b"), "a?b");
  EXPECT_EQ(Encode(u"\U0001F600"), "?");                   // one per pair
  EXPECT_EQ(Encode(Str({char16_t(0xD800), u'a'})), "?a");  // lone high
  EXPECT_EQ(Encode(Str({char16_t(0xDC00), char16_t(0xD800)})), "??");
  EXPECT_EQ(EncodedLength(u"x\U0001F600¥"), 3);

  EXPECT_EQ(FirstUnencodable(u"碁ｺﾞ abc"), std::nullopt);
  EXPECT_EQ(FirstUnencodable(u""), std::nullopt);
  EXPECT_EQ(FirstUnencodable(u"ab〜¥"), std::optional<char16_t>(u'¥'));
  EXPECT_EQ(FirstUnencodable(u"石\U0001F600"), std::optional<char16_t>(char16_t(0xD83D)));
  EXPECT_EQ(FirstUnencodable(Str(1, char16_t(0xDC00))), std::optional<char16_t>(char16_t(0xDC00)));
}

TEST(Cp932Encode, FixedWidthCountsBytes) {
  EXPECT_EQ(EncodeFixed(u"abc", 5), "abc  ");
  EXPECT_EQ(EncodeFixed(u"abc", 3), "abc");
  EXPECT_EQ(EncodeFixed(u"abcdef", 3), "abc");
  EXPECT_EQ(EncodeFixed(u"", 4), "    ");
  EXPECT_EQ(EncodeFixed(u"abc", 0), "");
  EXPECT_EQ(EncodeFixed(u"abc", -1), "");
  // Two double-byte characters take four bytes.
  EXPECT_EQ(EncodeFixed(u"黒番", 4), "\x8D\x95\x94\xD4");
  EXPECT_EQ(EncodeFixed(u"黒番", 6), "\x8D\x95\x94\xD4  ");
  EXPECT_EQ(EncodeFixed(u"ｺﾐ", 4), "\xBA\xD0  ");
}

TEST(Cp932Encode, FixedWidthNeverSplitsAPair) {
  // The second character would straddle the boundary: it and everything
  // after it are dropped, even a single-byte character that would fit.
  EXPECT_EQ(EncodeFixed(u"黒番a", 3), "\x8D\x95 ");
  EXPECT_EQ(EncodeFixed(u"a黒b", 2), "a ");
  EXPECT_EQ(EncodeFixed(u"黒", 1), " ");
  const Str text = u"a碁bｺ盤と石";  // 1+2+1+1+2+2+2 bytes
  const int fitting[] = {0, 1, 1, 2, 3, 4, 4, 5, 5, 6, 6, 7, 7};
  for (int width = 0; width <= 12; ++width) {
    const std::string out = EncodeFixed(text, width);
    ASSERT_EQ(out.size(), static_cast<size_t>(width));
    const std::string kept = Encode(Left(text, fitting[width]));
    EXPECT_EQ(out, kept + std::string(static_cast<size_t>(width) - kept.size(), ' ')) << width;
    EXPECT_EQ(Decode(out).find(kBad), Str::npos) << width;
  }
}

}  // namespace
}  // namespace sol
