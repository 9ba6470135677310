#include "core/cipher.h"

#include <gtest/gtest.h>

#include <string>

namespace morvela {
namespace {

TEST(CipherTest, EncipheredLengthFollowsWholeBlocks) {
  struct Case {
    size_t plain_bytes;
    size_t base64_chars;
  };
  const Case cases[] = {{0, 24}, {1, 24}, {15, 24}, {16, 24}, {17, 44}, {32, 44}, {33, 64}};
  for (const auto& c : cases) {
    EXPECT_EQ(EncipherText(std::string(c.plain_bytes, 'a')).size(), c.base64_chars)
        << c.plain_bytes;
  }
}

// Expected values computed once with the openssl command line tool (aes-128-cbc, -nopad, the
// zero-padded phrases as -K and -iv, the zero-padded text as input).
TEST(CipherTest, EncipherMatchesAes128CbcWithZeroPadding) {
  struct Case {
    const char* plain;
    const char* enciphered;
  };
  const Case cases[] = {
      {"4.8", "VSn/rP20VnkYJ++gTdshGg=="},
      {"Morvela, the 17b!", "sO8IR758VtyEKjQJM+EBz2d2rELXcNq1rpxZEuB/3Cc="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncipherText(c.plain), c.enciphered) << c.plain;
    EXPECT_EQ(DecipherText(c.enciphered, false), c.plain) << c.plain;
  }
}

TEST(CipherTest, RoundTripGivesTheTextBack) {
  const std::string cases[] = {
      "",
      "4.8",
      "exactly sixteen!",
      "seventeen bytes!!",
      "\xC5\xBDilina \xE2\x80\x93 Tren\xC4\x8D\xC3\xADn",  // UTF-8 text
      "a=1;b=\"two\"",
      std::string(100, 'x') + "end",
  };
  for (const auto& plain : cases) {
    EXPECT_EQ(DecipherText(EncipherText(plain), false), plain) << plain;
    EXPECT_EQ(DecipherText(EncipherText(plain), true), plain) << plain;
  }
}

TEST(CipherTest, RoundTripDropsLeadingAndTrailingBlanksAndControls) {
  struct Case {
    std::string plain;
    std::string deciphered;
  };
  const Case cases[] = {
      {"  padded  ", "padded"},
      {"\tline\r\n", "line"},
      {"   ", ""},
      {" inner  blanks stay ", "inner  blanks stay"},
      {std::string("x\0y", 3), std::string("x\0y", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecipherText(EncipherText(c.plain), false), c.deciphered) << c.plain;
  }
}

TEST(CipherTest, InvalidTextFailsSoftlyOrStrictly) {
  const char* cases[] = {
      "abc",                         // length not a multiple of 4
      "VSn/rP20VnkYJ++gTdshGg==\n",  // a line break makes the length wrong
      "VSn/rP20VnkY!++gTdshGg==",    // not a Base64 character
      "VSn/rP20VnkYJ++g=dshGg==",    // padding inside
      "=Sn/rP20VnkYJ++gTdshGg==",
      "AAAAAAAA",                  // 6 bytes: not a whole cipher block
      "VSn/rP20VnkYJ++gTdshGgAA",  // 18 bytes
  };
  for (const char* text : cases) {
    EXPECT_EQ(DecipherText(text, true), "false") << text;
    EXPECT_THROW(DecipherText(text, false), CipherError) << text;
  }
}

TEST(CipherTest, EmptyTextDeciphersToEmptyText) {
  EXPECT_EQ(DecipherText("", true), "");
  EXPECT_EQ(DecipherText("", false), "");
}

}  // namespace
}  // namespace morvela
