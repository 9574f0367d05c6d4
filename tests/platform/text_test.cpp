#include "platform/text.h"

#include <gtest/gtest.h>

namespace qm {

TEST(TextTest, Utf16CarriesCharactersBeyondTheBasicPlaneAsSurrogatePairsAndMalformedInputAsReplacements) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  const std::u16string utf16 = text::Utf8ToUtf16(utf8);
  EXPECT_EQ(utf16, (std::u16string{u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(text::Utf16ToUtf8(utf16), utf8);
  EXPECT_EQ(text::Utf8ToUtf16("\xF4\x8F\xBF\xBF"), (std::u16string{0xDBFF, 0xDFFF}));  // U+10FFFF, the last one

  const std::u16string replacement(1, 0xFFFD);
  EXPECT_EQ(text::Utf8ToUtf16(std::string("a\xFF") + 'b'), u"a" + replacement + u"b");
  EXPECT_EQ(text::Utf8ToUtf16("\xC0\xAF"), replacement + replacement);                    // overlong "/"
  EXPECT_EQ(text::Utf8ToUtf16("\xED\xA0\x80"), replacement + replacement + replacement);  // an encoded surrogate
  EXPECT_EQ(text::Utf8ToUtf16("x\xE2\x82"), u"x" + replacement + replacement);            // cut short at the end
  // A lone surrogate.
  EXPECT_EQ(text::Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}), std::string("a\xEF\xBF\xBD") + 'b');
  EXPECT_EQ(text::Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");

  EXPECT_TRUE(text::IsValidUtf8("plain \xC3\xA9 \xEF\xBF\xBD \xF0\x9F\x98\x80"));
  EXPECT_FALSE(text::IsValidUtf8("caf\xE9"));
  EXPECT_FALSE(text::IsValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(text::IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_TRUE(text::IsValidUtf8(""));
}

TEST(TextTest, EveryAnsiByteSurvivesTheRoundTripThroughUtf8AndCaseFoldingTouchesAsciiLettersOnly) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = text::AnsiToUtf8(all);
  EXPECT_TRUE(text::IsValidUtf8(utf8));
  EXPECT_EQ(text::Utf8ToAnsi(utf8), all);
  // The code page of the test systems is Windows-1252.
  EXPECT_EQ(text::AnsiToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(text::AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(text::AnsiToUtf8("\x9F"), "\xC5\xB8");  // Ÿ
  EXPECT_EQ(text::AnsiToUtf8("\x81"), "\xC2\x81");  // undefined in the code page: the C1 control of that value
  EXPECT_EQ(text::Utf8ToAnsi("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");
  EXPECT_EQ(text::Utf8ToAnsi(std::string("a\xE6\x97\xA5") + 'b'), "a?b");  // 日
  EXPECT_EQ(text::Utf8ToAnsi("\xC4\x80"), "?");                            // Ā: no best-fit "A"
  EXPECT_EQ(text::Utf8ToAnsi(""), "");
  EXPECT_EQ(text::AnsiToUtf8(""), "");

  EXPECT_EQ(text::ToLowerAscii("Software\\MICROSOFT \xC3\x84Z"), "software\\microsoft \xC3\x84z");
  EXPECT_TRUE(text::EqualsIgnoreCase("Software\\Dunvorel", "SOFTWARE\\dunvorel"));
  EXPECT_FALSE(text::EqualsIgnoreCase("abc", "abd"));
  EXPECT_FALSE(text::EqualsIgnoreCase("abc", "abcd"));
  EXPECT_FALSE(text::EqualsIgnoreCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä differ beyond ASCII
  EXPECT_TRUE(text::EqualsIgnoreCase("", ""));
}

}  // namespace qm
