#include "config/crypt.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"

namespace qm {
namespace {

// Expected values were worked out by hand from the key bytes 51 00 78 00 37 00 2D 00 ... ("Qx7-mRv2Lk9pTz4"
// as UTF-16LE) and the Windows-1252 bytes of the text.
TEST(Crypt, MatchesHandComputedVectors) {
  EXPECT_EQ(Crypt::EnCrypt(""), "");
  EXPECT_EQ(Crypt::EnCrypt("A"), "92");  // 0x41 + 0x51
  EXPECT_EQ(Crypt::EnCrypt("[Config]"), "AC43E76E9D69945D");
  // é is 0xE9 in Windows-1252; at position 3 the key byte is 0.
  EXPECT_EQ(Crypt::EnCrypt("Caf\xC3\xA9"), "9461DEE9");
  // è at position 2: 0xE8 + 0x78 = 0x160, minus 255 (not 256) gives 0x61.
  EXPECT_EQ(Crypt::EnCrypt("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65 \xC3\xA0 No\xC3\xABl"),
            "9472616D9C208F72696C3C6596E0524EBBEBD7");
  // The key repeats after 30 bytes: byte 31 is enciphered like byte 1.
  EXPECT_EQ(Crypt::EnCrypt(std::string(31, 'A')), "9241B94178416E41AE419341B74173418D41AC417A41B1419541BB41754192");

  EXPECT_EQ(Crypt::DeCrypt(""), "");
  EXPECT_EQ(Crypt::DeCrypt("92"), "A");
  EXPECT_EQ(Crypt::DeCrypt("9461DEE9"), "Caf\xC3\xA9");
  EXPECT_EQ(Crypt::DeCrypt("9461dee9"), "Caf\xC3\xA9");  // lower-case digits are hexadecimal too
  EXPECT_EQ(Crypt::DeCrypt("AC43E76E9D69945D"), "[Config]");
}

TEST(Crypt, ByteTwoFiftyFiveSurvivesTheRoundTrip) {
  // 0xFF + 0x51 - 255 = 0x51: the same cipher byte as a plain 0 would give. Text never holds a NUL, so the
  // cipher byte is read back as 0xFF.
  EXPECT_EQ(Crypt::EnCryptBytes("\xFF"), "51");
  EXPECT_EQ(Crypt::DeCryptBytes("51"), "\xFF");
  // Where the key byte is 0 nothing wraps: 0xFF stays 0xFF.
  EXPECT_EQ(Crypt::EnCryptBytes("a\xFF"), "B2FF");
  EXPECT_EQ(Crypt::DeCryptBytes("B2FF"), "a\xFF");
  EXPECT_EQ(Crypt::DeCrypt(Crypt::EnCrypt("\xC3\xBF")), "\xC3\xBF");  // ÿ
}

TEST(Crypt, EveryTextByteSurvivesAtEveryKeyPosition) {
  for (std::size_t position = 0; position < 30; ++position) {
    for (int b = 1; b <= 255; ++b) {
      const std::string plain = std::string(position, 'x') + static_cast<char>(b);
      const std::string stored = Crypt::EnCryptBytes(plain);
      ASSERT_EQ(stored.size(), 2 * plain.size());
      ASSERT_EQ(Crypt::DeCryptBytes(stored), plain) << "byte " << b << " at " << position;
    }
  }
}

TEST(Crypt, RejectsTextThatIsNotEnciphered) {
  EXPECT_TRUE(Crypt::IsCipherText(""));
  EXPECT_TRUE(Crypt::IsCipherText("0aFF"));
  for (const char* bad : {"9", "92A", "9G", "92 4", "-1", "[Config]x"}) {
    EXPECT_FALSE(Crypt::IsCipherText(bad)) << bad;
    try {
      Crypt::DeCrypt(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), Crypt::kInvalidCipherText);
      EXPECT_EQ(e.Source(), "Crypt");
    }
  }
}

}  // namespace
}  // namespace qm
