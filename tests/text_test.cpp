#include <gtest/gtest.h>

#include <string>

#include "setup/text.h"

namespace {

TEST(TrailingBackslash, LooksAtTheLastCharacterNotTheLastByte) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"C:\\Dic", "C:\\Dic\\"},     {"C:\\Dic\\", "C:\\Dic\\"}, {"", "\\"},
      {"C:\\ソ", "C:\\ソ\\"},                                // ソ is 83 5C
      {"C:\\ソ\\", "C:\\ソ\\"},     {"C:\\表", "C:\\表\\"},  // 表 is 95 5C
      {"C:\\a\x83", "C:\\a\x83\\"},  // a lone lead byte at the end is one character
      {"C:\\ｱ\\", "C:\\ｱ\\"},        // half-width kana are single bytes
  };
  for (const Case& c : cases) {
    Text<64> text(c.text);
    text.EnsureTrailingBackslash();
    EXPECT_STREQ(c.expected, text.c_str()) << c.text;
  }
}

TEST(FindInText, MatchesOnlyOnCharacterBoundaries) {
  // "\x83VezDim97.dic": 83 56 is one double-byte character, so the name inside does not start a
  // character; a plain byte search does find it.
  const std::string hidden = "C:\\\x83VezDim97.dic,1";
  EXPECT_EQ(-1, cp932::FindInText(hidden.data(), hidden.size(), "VezDim97.dic"));
  EXPECT_EQ(4, cp932::FindBytes(hidden.data(), hidden.size(), "VezDim97.dic"));
  const std::string plain = "C:\\ソ\\VezDim97.dic,1";
  EXPECT_EQ(6, cp932::FindInText(plain.data(), plain.size(), "VezDim97.dic"));
  // Bounded by the length given, not by a terminator.
  EXPECT_EQ(-1, cp932::FindInText(plain.data(), 10, "VezDim97.dic"));
  EXPECT_EQ(-1, cp932::FindInText("VezDim97.di", 11, "VezDim97.dic"));
  EXPECT_EQ(0, cp932::FindInText("VezDim97.dic", 12, "VezDim97.dic"));
}

TEST(Text, OverflowKeepsWhatFitAndSaysSo) {
  Text<8> text("abc");
  text.Append("defg");
  EXPECT_FALSE(text.overflowed);
  EXPECT_STREQ("abcdefg", text.c_str());
  text.Append("h");
  EXPECT_TRUE(text.overflowed);
  EXPECT_STREQ("abcdefg", text.c_str());
  EXPECT_EQ(7u, text.length);
}

TEST(Text, FormatAndDecimal) {
  const char* const args[] = {"C:\\a.ini", "ATOK10"};
  Text<64> text;
  text.AppendFormat("%s の編集%s!", args, 2);
  EXPECT_STREQ("C:\\a.ini の編集ATOK10!", text.c_str());
  Text<32> number;
  number.AppendDecimal(0)
      .AppendChar(' ')
      .AppendDecimal(-2147483647 - 1)
      .AppendChar(' ')
      .AppendDecimal(254);
  EXPECT_STREQ("0 -2147483648 254", number.c_str());
}

}  // namespace
