// Reading SGF bytes into the generic tree: encodings, syntax, and files made
// to hurt.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/charset.h"
#include "sgf/sgf_tree.h"

namespace sol::sgf {
namespace {

std::string Bytes(const std::string& utf8, const std::string& charset) {
  const std::optional<std::string> b = ConvertFromUtf8(utf8, charset);
  EXPECT_TRUE(b) << charset;
  return b.value_or("");
}

// The message of the refusal, or "" when the bytes read.
std::string Refusal(const std::string& bytes) {
  try {
    ParseCollection(bytes);
  } catch (const SgfError& e) {
    return ToUtf8(e.Message());
  }
  return "";
}

bool Mentions(const std::vector<Str>& notes, const std::string& part) {
  for (const Str& n : notes)
    if (ToUtf8(n).find(part) != std::string::npos) return true;
  return false;
}

TEST(SgfEncoding, ShiftJisWithoutLabelKeepsTrailBytesInsideValues) {
  // 表 and ソ end in 0x5C ('\'), ゾ in 0x5D (']'): split before decoding they
  // would escape or end their values.
  const std::string file = Bytes("(;GM[1]PB[表ソ]PW[ゾ]C[評]GN[望];B[pd];W[dp])", "CP932");
  const Collection c = ParseCollection(file);
  EXPECT_EQ(c.Encoding, "CP932");
  EXPECT_FALSE(c.CharsetIgnored);
  const GameTree& g = c.Games.at(0);
  EXPECT_EQ(g.Value(0, "PB"), "表ソ");
  EXPECT_EQ(g.Value(0, "PW"), "ゾ");
  EXPECT_EQ(g.Value(0, "GN"), "望");
  ASSERT_EQ(g.Nodes.size(), 3u);
  EXPECT_EQ(g.Value(2, "W"), "dp");
  EXPECT_TRUE(Mentions(c.Notes, "Shift_JIS"));
}

TEST(SgfEncoding, LabelsBomAndFallbacks) {
  {
    const Collection c = ParseCollection("\xEF\xBB\xBF(;GN[囲碁の会])");
    EXPECT_EQ(c.Encoding, "UTF-8");
    EXPECT_EQ(c.Games.at(0).Value(0, "GN"), "囲碁の会");
    EXPECT_TRUE(c.Notes.empty());
  }
  {
    // GB18030 bytes of these characters are also CP932 text: only the label
    // tells them apart.
    const Collection c = ParseCollection(Bytes("(;CA[gb2312]PB[围棋黑]PW[白])", "GB18030"));
    EXPECT_EQ(c.Encoding, "GB18030");
    EXPECT_EQ(c.DeclaredCharset, "gb2312");
    EXPECT_FALSE(c.CharsetIgnored);
    EXPECT_EQ(c.Games.at(0).Value(0, "PB"), "围棋黑");
  }
  {
    // A label that the bytes contradict.
    const Collection c = ParseCollection(Bytes("(;CA[UTF-8]PB[秀策]PW[因碩])", "CP932"));
    EXPECT_EQ(c.Encoding, "CP932");
    EXPECT_TRUE(c.CharsetIgnored);
    EXPECT_TRUE(Mentions(c.Notes, "CA[UTF-8]"));
    EXPECT_EQ(c.Games.at(0).Value(0, "PW"), "因碩");
  }
  {
    const Collection c = ParseCollection("(;CA[x-mac-klingon]GN[abc])");
    EXPECT_EQ(c.Encoding, "UTF-8");
    EXPECT_TRUE(c.CharsetIgnored);
    EXPECT_TRUE(Mentions(c.Notes, "x-mac-klingon"));
  }
  {
    // 0xFF is text in none of the multi-byte encodings.
    const Collection c = ParseCollection("(;GN[caf\xE9 \xFF])");
    EXPECT_EQ(c.Encoding, "ISO-8859-1");
    EXPECT_EQ(c.Games.at(0).Value(0, "GN"), "café ÿ");
  }
}

TEST(SgfSyntax, ValuesWithEscapesAndLineBreaks) {
  const GameTree g = ParseCollection(
                         "(;C[a\\]b\\\\c\\d]GC[one\\\ntwo\\\r\nthree]EV[x\r\ny\n\rz\rw]PC[tab\there\\\t]"
                         "GN[])")
                         .Games.at(0);
  EXPECT_EQ(g.Value(0, "C"), "a]b\\cd");
  EXPECT_EQ(g.Value(0, "GC"), "onetwothree");  // soft line breaks vanish
  EXPECT_EQ(g.Value(0, "EV"), "x\ny\nz\nw");
  EXPECT_EQ(SimpleText(g.Value(0, "EV")), "x y z w");
  EXPECT_EQ(g.Value(0, "PC"), "tab here ");
  ASSERT_NE(g.Find(0, "GN"), nullptr);
  EXPECT_EQ(g.Value(0, "GN"), "");
}

TEST(SgfSyntax, TreeShapesJunkAndSeveralGames) {
  const Collection c = ParseCollection(
      "Saved by hand (not a game) ( x\n"
      "( ; FF [3] CoPyright [me] AddBlack[aa][bb]\n"
      "  (;B[cc];W[dd]) ( ;B[ee] ) (;B[ff]))\n"
      "junk between\n"
      "(;GN[second]\t;B[aa])trailing");
  ASSERT_EQ(c.Games.size(), 2u);
  const GameTree& g = c.Games[0];
  EXPECT_EQ(g.Value(0, "CP"), "me");
  const Property* ab = g.Find(0, "AB");
  ASSERT_NE(ab, nullptr);
  EXPECT_EQ(ab->Values, (std::vector<std::string>{"aa", "bb"}));
  ASSERT_EQ(g.Children(0), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(g.Children(1), std::vector<int>{2});
  EXPECT_EQ(g.Value(2, "W"), "dd");
  EXPECT_EQ(g.Nodes[2].Parent, 1);
  EXPECT_EQ(g.Value(4, "B"), "ff");
  EXPECT_EQ(c.Games[1].Value(0, "GN"), "second");
  EXPECT_EQ(c.Games[1].Value(1, "B"), "aa");
}

TEST(SgfSyntax, BrokenFilesAreRefusedWithTheReason) {
  const std::string unreadable = "SGFファイルとして読めません：";
  struct Case {
    std::string bytes, reason;
  } cases[] = {
      {"", "「(;」がありません"},         {"just a letter", "「(;」がありません"},
      {"(;B[aa]", "途中で終わって"},      {"(;B[aa](;W[bb])", "途中で終わって"},
      {"(;C[unclosed", "途中で終わって"}, {"(;C[ends in escape\\", "途中で終わって"},
      {"(;B[aa]\n\n;W[bb] % )", "「%」"}, {"(;B)", "値がありません"},
      {"(;abc[1])", "「abc」"},           {"(;B[aa]((;W[bb])))", "「(」の後に「;」がありません"},
  };
  for (const Case& c : cases) {
    const std::string m = Refusal(c.bytes);
    EXPECT_EQ(m.rfind(unreadable, 0), 0u) << c.bytes << " -> " << m;
    EXPECT_NE(m.find(c.reason), std::string::npos) << c.bytes << " -> " << m;
  }
  EXPECT_NE(Refusal("(;B[aa]\n\n;W[bb] % )").find("3行目"), std::string::npos);
  EXPECT_NE(Refusal(std::string("(;GN[a\0b])", 10)).find("NUL"), std::string::npos);
}

// Each hostile file is refused or read well inside a second (the budget
// below is loose for sanitizer builds).
class SgfHostile : public ::testing::Test {
 protected:
  std::string Timed(const std::string& bytes) {
    const auto start = std::chrono::steady_clock::now();
    std::string m = Refusal(bytes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    return m;
  }
};

TEST_F(SgfHostile, DeepNestingReadsUpToTheLimitAndIsRefusedBeyond) {
  std::string deep;
  for (int i = 0; i < 100'000; ++i) deep += "(;B[aa]";
  EXPECT_NE(Timed(deep + std::string(100'000, ')')).find(std::to_string(MaxNestingDepth)), std::string::npos);

  std::string allowed;
  for (std::size_t i = 0; i < MaxNestingDepth; ++i) allowed += "(;C[x]";
  allowed += std::string(MaxNestingDepth, ')');
  const Collection c = ParseCollection(allowed);
  const GameTree& g = c.Games.at(0);
  ASSERT_EQ(g.Nodes.size(), MaxNestingDepth);
  EXPECT_EQ(g.Nodes.back().Parent, static_cast<int>(MaxNestingDepth) - 2);
}

TEST_F(SgfHostile, CountsAndSizesBeyondTheLimits) {
  std::string props = "(;";
  for (int i = 0; i < 1'000'000; ++i) props += "B[aa]";
  EXPECT_NE(Timed(props + ")").find(std::to_string(MaxProperties)), std::string::npos);

  EXPECT_NE(Timed("(" + std::string(MaxNodes + 1, ';') + ")").find(std::to_string(MaxNodes)), std::string::npos);
  EXPECT_NE(Timed("(;C[" + std::string(MaxValueBytes + 1, 'x') + "])").find("値が長すぎます"), std::string::npos);
  EXPECT_NE(Timed("(;C[" + std::string(MaxFileBytes, 'x') + "])").find("16MB"), std::string::npos);
  // Charset labels that never close, looked for before anything is parsed.
  std::string labels;
  for (int i = 0; i < 1'000'000; ++i) labels += "CA[x";
  EXPECT_NE(Timed(labels).find("「(;」がありません"), std::string::npos);
  // Just inside the limits, the same shapes read.
  EXPECT_EQ(Timed("(" + std::string(MaxNodes, ';') + ")"), "");
  EXPECT_EQ(Timed("(;C[" + std::string(MaxValueBytes, 'x') + "])"), "");
}

}  // namespace
}  // namespace sol::sgf
