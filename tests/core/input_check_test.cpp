#include "core/input_check.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cp932.h"
#include "ui/controls.h"

namespace sol {
namespace {

std::string Codes(const Str& s) {
  std::string out;
  for (char16_t c : s) out += std::to_string(static_cast<unsigned>(c)) + " ";
  return out;
}

TEST(StoredForm, ComposesWhatTheFilesCannotHoldDecomposed) {
  EXPECT_EQ(StoredForm(u"か\u3099き"), u"がき");
  EXPECT_EQ(StoredForm(u"ハ\u309Aン\u3099"), u"パン\u3099");  // ン has no voiced form
  EXPECT_EQ(StoredForm(u"ヰ\u3099"), u"\u30F8");              // composed, though not storable
  EXPECT_EQ(StoredForm(u"e\u0301"), u"é");
  EXPECT_EQ(StoredForm(u"ｶﾞ"), u"ｶﾞ");  // half-width kana and mark are two characters
  EXPECT_EQ(StoredForm(u""), u"");
  // A pair outside the BMP passes through whole.
  EXPECT_EQ(StoredForm(u"石\U0001F600"), u"石\U0001F600");
}

// Plain NFC would turn the Ångström sign and three vendor ideographs into
// characters the code page lacks, and swap others for look-alikes.
TEST(StoredForm, KeepsEveryStorableCharacterAsTyped) {
  for (int code = 0; code <= 0xFFFF; ++code) {
    const std::string bytes = code > 0xFF ? std::string{static_cast<char>(code >> 8), static_cast<char>(code)}
                                          : std::string(1, static_cast<char>(code));
    const Str ch = Decode(bytes);
    if (ch.size() != 1 || ch[0] == 0xFFFD) continue;
    ASSERT_EQ(StoredForm(ch), ch) << std::hex << code;
  }
  EXPECT_EQ(StoredForm(u"\u212B\uFA15\uFA20"), u"\u212B\uFA15\uFA20");
}

TEST(StoredForm, InputMethodFormsBecomeWhatTheFileGivesBack) {
  EXPECT_EQ(StoredForm(u"1〜3−‖¢£¬"), u"1～3－∥￠￡￢");
  EXPECT_EQ(InputRefusal(u"〜−‖¢£¬"), std::nullopt);
}

TEST(InputRefusal, NamesControlCharactersByPosition) {
  const Str message = u"文字目に制御文字（タブ・改行など）があります。記録できません。";
  EXPECT_EQ(InputRefusal(u"a\tb"), u"2" + message);
  EXPECT_EQ(InputRefusal(Str(u"1001\0x", 6)), u"5" + message);
  for (char16_t c : {u'\x01', u'\n', u'\r', u'\x1F', u'\x7F', u'\x80', u'\x9F'})
    EXPECT_EQ(InputRefusal(Str(u"碁") + c), u"2" + message) << Codes(Str(1, c));
  // Counted in the composed text.
  EXPECT_EQ(InputRefusal(u"か\u3099\x01"), u"2" + message);
  EXPECT_EQ(InputRefusal(u"01：名局　 ～"), std::nullopt);
}

TEST(InputRefusal, NamesTheUnstorableCharacterWithItsBase) {
  EXPECT_EQ(InputRefusal(u"Cafe\u0301"), u"「é」は記録できない文字です。");
  EXPECT_EQ(InputRefusal(u"き\u309Aと"), u"「き\u309A」は記録できない文字です。");
  EXPECT_EQ(InputRefusal(u"\u3099"), u"「\u3099」は記録できない文字です。");
  EXPECT_EQ(InputRefusal(u"祝\U0001F600"), u"「\U0001F600」は記録できない文字です。");
  EXPECT_EQ(InputRefusal(u"¥"), u"「¥」は記録できない文字です。");
}

TEST(TextBoxLimit, TakesNoMoreThanTheFieldStores) {
  TextBox box;
  box.SetText(u"abcdef");
  box.SetLimit(4, 6, [](const Str& t) { return EncodedLength(t); });
  EXPECT_EQ(box.Text(), u"abcd");  // a limit set later cuts what is there
  box.SetText(u"碁碁碁碁");
  EXPECT_EQ(box.Text(), u"碁碁碁");  // bytes, not units
  box.SetText(u"abc碁碁");
  EXPECT_EQ(box.Text(), u"abc碁");
  box.SetText(u"a\U0001F600b");  // a pair is never split
  EXPECT_EQ(box.Text(), u"a\U0001F600b");
  box.SetText(u"abc\U0001F600");
  EXPECT_EQ(box.Text(), u"abc");
  EXPECT_TRUE(box.Fits(u"abc碁"));
  EXPECT_FALSE(box.Fits(u"a碁碁碁"));
  EXPECT_FALSE(box.Fits(u"abcde"));

  // A cut that leaves the text as it was still tells the view to redraw.
  const uint64_t revision = box.Revision();
  box.SetText(u"abc\U0001F600x");
  EXPECT_EQ(box.Text(), u"abc");
  EXPECT_GT(box.Revision(), revision);

  TextBox free;
  free.SetText(Str(500, u'碁'));
  EXPECT_EQ(free.Text().size(), 500u);
  EXPECT_TRUE(free.Fits(Str(5000, u'x')));
}

}  // namespace
}  // namespace sol
