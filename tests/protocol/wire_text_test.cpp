#include "protocol/wire_text.h"

#include <gtest/gtest.h>

#include <cstring>


namespace brantel {
namespace {

TEST(WireText, EncodesEachUnitOnItsOwn) {
  EXPECT_EQ(Utf16ToUtf8(u"abc"), "abc");
  EXPECT_EQ(Utf16ToUtf8(u"\uAC00"), "\xEA\xB0\x80");
  EXPECT_EQ(Utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(Utf16ToUtf8(u"\u0416"), "\xD0\x96");
  // A surrogate pair is two three-byte sequences, not one four-byte one.
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xED\xA0\xBD\xED\xB8\x80");
}

TEST(WireText, DecodesWithoutValidation) {
  EXPECT_EQ(Utf8ToUtf16("\xEA\xB0\x80"), u"\uAC00");
  EXPECT_EQ(Utf8ToUtf16("\xC3\xA9"), u"\u00E9");
  // A stray continuation byte starts a two-byte sequence: 0x80 'A' -> 0x0001.
  EXPECT_EQ(Utf8ToUtf16("\x80" "A"), WideText(1, char16_t(0x0001)));
  // A four-byte sequence is read as a three-byte one plus a stray byte.
  const WideText four = Utf8ToUtf16("\xF0\x9F\x98\x80");
  ASSERT_EQ(four.size(), 2u);
  EXPECT_EQ(four[0], char16_t(((0xF0 & 0x0F) << 12) | ((0x9F & 0x3F) << 6) | (0x98 & 0x3F)));
  // Input ends at its first zero byte; a sequence cut by the end reads zeros.
  EXPECT_EQ(Utf8ToUtf16(std::string_view("ab\0cd", 5)), u"ab");
  EXPECT_EQ(Utf8ToUtf16("\xEA"), WideText(1, char16_t(0xA000)));
}

TEST(WireText, BufferFormsKeepTheirCapacityAndTerminator) {
  char out[16];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(Utf16ToUtf8(u"abc", out, sizeof out), 3u);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(Utf16ToUtf8(u"", out, sizeof out), 0u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(Utf16ToUtf8(nullptr, out, sizeof out), 0u);
  EXPECT_EQ(Utf16ToUtf8(u"abc", nullptr, 8), 0u);
  EXPECT_EQ(Utf16ToUtf8(u"abc", out, 0), 0u);
  // Capacity 5 leaves room for four bytes: one Hangul syllable fits, the
  // second does not and is not cut in half.
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(Utf16ToUtf8(u"\uAC00\uAC01", out, 5), 3u);
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(out[4], 'x');

  char16_t wide[4];
  std::fill(std::begin(wide), std::end(wide), u'x');
  EXPECT_EQ(Utf8ToUtf16("abcdef", wide, sizeof wide), 6u);  // three units and the zero
  EXPECT_EQ(WideText(wide), u"abc");
  EXPECT_EQ(Utf8ToUtf16("", wide, sizeof wide), 0u);
  EXPECT_EQ(wide[0], 0);
  EXPECT_EQ(Utf8ToUtf16(nullptr, wide, sizeof wide), 0u);
  EXPECT_EQ(Utf8ToUtf16("a", wide, 1), 0u);  // no room even for the terminator
}

TEST(WireText, RoundTripsEveryUnitButZero) {
  WideText all;
  for (uint32_t u = 1; u <= 0xFFFF; ++u) all += char16_t(u);
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(all)), all);
}

}  // namespace
}  // namespace brantel
