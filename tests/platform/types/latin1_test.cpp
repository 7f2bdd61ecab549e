#include "platform/types/latin1.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Latin1, EveryByteSurvivesTheTripToUtf8AndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = latin1ToUtf8(all);
  EXPECT_EQ(utf8.size(), 128u + 2u * 128u);  // one byte below 0x80, two above
  const auto back = utf8ToLatin1(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
  EXPECT_EQ(latin1ToUtf8("\xE9"), "\xC3\xA9");  // é
}

TEST(Latin1, TextThatCannotBeStoredIsRefusedAndNamed) {
  struct Case {
    const char* utf8;
    const char* offending;
  } cases[] = {
      {"caf\xE2\x82\xAC", "\xE2\x82\xAC"},             // € is outside Latin-1
      {"ok \xF0\x9F\x98\x80 no", "\xF0\x9F\x98\x80"},  // emoji
      {"\xC4\x80", "\xC4\x80"},                        // U+0100, the first one past Latin-1
      {"ab\xC3", "\xEF\xBF\xBD"},                      // cut-off sequence
      {"\xC0\xAF", "\xEF\xBF\xBD"},                    // overlong '/'
      {"\xED\xA0\x80", "\xEF\xBF\xBD"},                // surrogate
      {"\xFF", "\xEF\xBF\xBD"},                        // a raw Latin-1 byte is not UTF-8
      {"\xA9", "\xEF\xBF\xBD"},                        // stray continuation byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    std::string offending;
    EXPECT_FALSE(utf8ToLatin1(c.utf8, &offending).has_value());
    EXPECT_EQ(offending, c.offending);
  }
  const std::string message = notLatin1Message("\xE2\x82\xAC");
  EXPECT_NE(message.find("\"\xE2\x82\xAC\""), std::string::npos) << message;
  EXPECT_FALSE(notLatin1Message("\xEF\xBF\xBD").empty());
}

TEST(Latin1, UpperCaseFoldsLettersOnly) {
  struct Case {
    unsigned char in, out;
  } cases[] = {
      {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'1', '1'}, {'{', '{'},
      {0xE0, 0xC0},  // à
      {0xE9, 0xC9},  // é
      {0xFE, 0xDE},  // þ
      {0xF7, 0xF7},  // ÷ is no letter
      {0xDF, 0xDF},  // ß has no single upper case
      {0xFF, 0xFF},  // ÿ neither, in Latin-1
      {0xB5, 0xB5},  // µ
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.in));
    EXPECT_EQ(static_cast<unsigned char>(latin1Upper(static_cast<char>(c.in))), c.out);
  }
  EXPECT_EQ(latin1Upper("Jos\xE9 M\xFCller"), "JOS\xC9 M\xDCLLER");
}

TEST(Latin1, RtrimRemovesTrailingSpacesOnly) {
  EXPECT_EQ(rtrim("ab  "), "ab");
  EXPECT_EQ(rtrim("   "), "");
  EXPECT_EQ(rtrim("  ab"), "  ab");
  EXPECT_EQ(rtrim("ab\t"), "ab\t");
}

}  // namespace
}  // namespace platform
