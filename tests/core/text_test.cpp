#include "core/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace sol {
namespace {

TEST(TextSlicing, LeftAndRightClamp) {
  const Str s = u"abcdef";
  EXPECT_EQ(Left(s, 3), u"abc");
  EXPECT_EQ(Left(s, 0), u"");
  EXPECT_EQ(Left(s, -2), u"");
  EXPECT_EQ(Left(s, 99), s);
  EXPECT_EQ(Right(s, 2), u"ef");
  EXPECT_EQ(Right(s, 0), u"");
  EXPECT_EQ(Right(s, -1), u"");
  EXPECT_EQ(Right(s, 6), s);
  EXPECT_EQ(Right(s, INT_MAX), s);
  EXPECT_EQ(Left(Str(), 5), u"");
  EXPECT_EQ(Right(Str(), 5), u"");
}

TEST(TextSlicing, MidIsOneBasedAndClamps) {
  const Str s = u"碁盤と石";
  EXPECT_EQ(Mid(s, 1, 2), u"碁盤");
  EXPECT_EQ(Mid(s, 2), u"盤と石");
  EXPECT_EQ(Mid(s, 4, 1), u"石");
  EXPECT_EQ(Mid(s, 4, 10), u"石");
  EXPECT_EQ(Mid(s, 5), u"");
  EXPECT_EQ(Mid(s, 100, 1), u"");
  EXPECT_EQ(Mid(s, INT_MAX, INT_MAX), u"");
  EXPECT_EQ(Mid(s, 2, 0), u"");
  EXPECT_EQ(Mid(s, 2, -1), u"盤と石");
  EXPECT_EQ(Mid(s, 2, -7), u"盤と石");
  // A start below 1 counts from the first character.
  EXPECT_EQ(Mid(s, 0, 2), u"碁盤");
  EXPECT_EQ(Mid(s, -5, 1), u"碁");
  EXPECT_EQ(Mid(s, INT_MIN), s);
  EXPECT_EQ(Mid(Str(), 1), u"");
}

TEST(TextSlicing, LenCountsUnits) {
  EXPECT_EQ(Len(u""), 0);
  EXPECT_EQ(Len(u"黒番"), 2);
  EXPECT_EQ(Len(u"\U0001F600"), 2);
}

TEST(TextTrim, OnlyAsciiBlanks) {
  EXPECT_EQ(Trim(u"  a b  "), u"a b");
  EXPECT_EQ(LTrim(u"  a b  "), u"a b  ");
  EXPECT_EQ(RTrim(u"  a b  "), u"  a b");
  EXPECT_EQ(Trim(u"     "), u"");
  EXPECT_EQ(LTrim(u"   "), u"");
  EXPECT_EQ(RTrim(u"   "), u"");
  EXPECT_EQ(Trim(u""), u"");
  // Ideographic space, tab and NUL are not blanks here.
  EXPECT_EQ(Trim(u"\u3000x\u3000"), u"\u3000x\u3000");
  EXPECT_EQ(Trim(u"\tx\t"), u"\tx\t");
  EXPECT_EQ(RTrim(Str(u"x\0", 2)), Str(u"x\0", 2));
}

TEST(TextVal, LeadingNumber) {
  EXPECT_EQ(Val(u"123"), 123);
  EXPECT_EQ(Val(u"   42abc"), 42);
  EXPECT_EQ(Val(u"-17"), -17);
  EXPECT_EQ(Val(u"+17"), 17);
  EXPECT_EQ(Val(u"  -0"), 0);
  EXPECT_EQ(Val(u"007"), 7);
  EXPECT_EQ(Val(u"12 34"), 12);
  EXPECT_EQ(Val(u"3.9"), 3);
}

TEST(TextVal, NoDigitsIsZero) {
  EXPECT_EQ(Val(u""), 0);
  EXPECT_EQ(Val(u"   "), 0);
  EXPECT_EQ(Val(u"abc"), 0);
  EXPECT_EQ(Val(u"-"), 0);
  EXPECT_EQ(Val(u"+-3"), 0);
  EXPECT_EQ(Val(u"- 3"), 0);
  EXPECT_EQ(Val(u"\t5"), 0);
  // Full-width digits are not digits.
  EXPECT_EQ(Val(u"１２"), 0);
  EXPECT_EQ(Val(u"4２"), 4);
}

TEST(TextVal, ClampsInsteadOfOverflowing) {
  EXPECT_EQ(Val(Num(LONG_MAX)), LONG_MAX);
  EXPECT_EQ(Val(Num(LONG_MIN)), LONG_MIN);
  EXPECT_EQ(Val(u"99999999999999999999999999"), LONG_MAX);
  EXPECT_EQ(Val(u"-99999999999999999999999999"), LONG_MIN);
  // One past the limits.
  Str maxPlus = Num(LONG_MAX);
  maxPlus.back() = static_cast<char16_t>(maxPlus.back() + 1);
  EXPECT_EQ(Val(maxPlus), LONG_MAX);
  Str minMinus = Num(LONG_MIN);
  minMinus.back() = static_cast<char16_t>(minMinus.back() + 1);
  EXPECT_EQ(Val(minMinus), LONG_MIN);
}

TEST(TextNum, DigitsAndAlignment) {
  EXPECT_EQ(Num(0), u"0");
  EXPECT_EQ(Num(7), u"7");
  EXPECT_EQ(Num(-305), u"-305");
  EXPECT_EQ(Num(32767), u"32767");
  EXPECT_EQ(Num(LONG_MIN).substr(0, 2), u"-9");
  for (long v : {0L, 1L, -1L, 10L, -99L, 123456L, LONG_MAX, LONG_MIN}) EXPECT_EQ(Val(Num(v)), v) << v;

  EXPECT_EQ(RightAlign(5, 3), u"  5");
  EXPECT_EQ(RightAlign(-5, 3), u" -5");
  EXPECT_EQ(RightAlign(123, 3), u"123");
  EXPECT_EQ(RightAlign(12345, 3), u"12345");
  EXPECT_EQ(RightAlign(1, 0), u"1");
  EXPECT_EQ(RightAlign(1, -4), u"1");

  EXPECT_EQ(PadRight(u"石", 3), u"石  ");
  EXPECT_EQ(PadRight(u"abcd", 3), u"abcd");
  EXPECT_EQ(PadRight(u"", 2), u"  ");
  EXPECT_EQ(PadRight(u"x", -1), u"x");
}

TEST(TextUtf8, RoundTripsAllPlanes) {
  const Str s = u"A\u00E9\u0800\u30BD\uFFFF\U00010000\U0001F600\U0010FFFF";
  const std::string utf8 = ToUtf8(s);
  EXPECT_EQ(utf8,
            "A\xC3\xA9\xE0\xA0\x80\xE3\x82\xBD\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80"
            "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(FromUtf8(utf8), s);
  EXPECT_EQ(FromUtf8(std::string_view("a\0b", 3)), Str(u"a\0b", 3));
}

TEST(TextUtf8, EveryBmpCharacterRoundTrips) {
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    Str s(1, static_cast<char16_t>(c));
    ASSERT_EQ(FromUtf8(ToUtf8(s)), s) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(TextUtf8, InvalidInputBecomesReplacement) {
  const Str r = u"\uFFFD";
  EXPECT_EQ(FromUtf8("\x80"), r);  // stray continuation
  EXPECT_EQ(FromUtf8("\xFF"), r);
  EXPECT_EQ(FromUtf8("\xC0\xAF"), r + r);                  // overlong '/'
  EXPECT_EQ(FromUtf8("\xE0\x80\xAF"), r + r + r);          // overlong, 3 bytes
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), r + r + r);          // encoded surrogate
  EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
  EXPECT_EQ(FromUtf8("\xE3\x82"), r);                      // truncated at the end
  EXPECT_EQ(FromUtf8("\xE3\x82x"), r + u"x");              // truncated before ASCII
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98"), r);
  EXPECT_EQ(FromUtf8("a\xC3"), u"a" + r);
  EXPECT_EQ(FromUtf8("\xC3\xC3\xA9"), r + u"\u00E9");  // the second lead starts afresh
}

TEST(TextUtf8, UnpairedSurrogatesBecomeReplacement) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(ToUtf8(Str(1, char16_t(0xD800))), r);
  EXPECT_EQ(ToUtf8(Str(1, char16_t(0xDC00))), r);
  EXPECT_EQ(ToUtf8(Str({char16_t(0xDC00), char16_t(0xD800)})), r + r);
  EXPECT_EQ(ToUtf8(Str({char16_t(0xD83D), u'x'})), r + "x");
  EXPECT_EQ(ToUtf8(Str({char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)})), r + "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace sol
