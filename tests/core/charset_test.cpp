#include "core/charset.h"

#include <gtest/gtest.h>

namespace sol {
namespace {

TEST(Charset, LabelsAsFilesWriteThem) {
  EXPECT_EQ(CharsetName("Shift_JIS"), "CP932");
  EXPECT_EQ(CharsetName("sjis"), "CP932");
  EXPECT_EQ(CharsetName("Windows-31J"), "CP932");
  EXPECT_EQ(CharsetName("utf8"), "UTF-8");
  EXPECT_EQ(CharsetName("gb2312"), "GB18030");
  EXPECT_EQ(CharsetName("EUC_kr"), "EUC-KR");
  EXPECT_EQ(CharsetName("latin1"), "ISO-8859-1");
  EXPECT_EQ(CharsetName("ebcdic"), std::nullopt);
  EXPECT_EQ(CharsetName(""), std::nullopt);
}

TEST(Charset, RoundTripsThroughEachEncoding) {
  const std::string text = "先手 白";  // characters every CJK encoding here holds
  for (const char* label : {"cp932", "euc-jp", "gb18030", "big5", "euc-kr"}) {
    const std::string name = *CharsetName(label);
    if (name == "EUC-KR") continue;  // Korean text is checked with Hangul below
    const std::optional<std::string> bytes = ConvertFromUtf8(text, name);
    ASSERT_TRUE(bytes) << label;
    EXPECT_NE(*bytes, text) << label;
    EXPECT_EQ(ConvertToUtf8(*bytes, name), text) << label;
  }
  const std::string hangul = "흑 백";
  const std::optional<std::string> kr = ConvertFromUtf8(hangul, "EUC-KR");
  ASSERT_TRUE(kr);
  EXPECT_EQ(ConvertToUtf8(*kr, "EUC-KR"), hangul);
  // The CP932 trail byte 0x5C of 表 survives as part of the character.
  EXPECT_EQ(*ConvertFromUtf8("表", "CP932"), "\x95\x5C");
}

TEST(Charset, StrictOnBadInput) {
  EXPECT_EQ(ConvertToUtf8("\x82", "CP932"), std::nullopt);           // a lead byte cut off
  EXPECT_EQ(ConvertFromUtf8("한", "CP932"), std::nullopt);           // not in the target
  EXPECT_EQ(ConvertToUtf8("\xE9", "UTF-8"), std::nullopt);           // Latin-1 read as UTF-8
  EXPECT_EQ(ConvertToUtf8("\xE9", "ISO-8859-1"), "\xC3\xA9");        // é
  EXPECT_EQ(ConvertToUtf8("abc", "NO-SUCH-CHARSET"), std::nullopt);  // the system lacks it
}

TEST(Charset, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("碁 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong NUL
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE7\xA2"));          // cut off at the end
}

}  // namespace
}  // namespace sol
