// Numbers read from texts (full-width forms included) and written to them, and byte codes.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>

#include "text/text_ops.h"

namespace quorvane {
namespace {

Text T(std::string_view bytes) { return Text(bytes); }

TEST(TextNumbers, TextToInteger) {
  struct Case {
    const char* name;
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"spaces, sign, digits, letters", "  -12ab", -12},
      {"full-width digits", "\xA3\xB1\xA3\xB2", 12},
      {"full-width minus and digits",
       "\xA3\xAD\xA3\xB1"
       "5",
       -15},
      {"ideographic space is skipped",
       "\xA1\xA1"
       "7",
       7},
      {"empty", "", 0},
      {"letters only", "abc", 0},
      {"sign only", "+", 0},
      {"plus sign", "+42", 42},
      {"all white space kinds", " \t\r\n\v\f9", 9},
      {"digits then full-width letter", "3\xA3\xC1", 3},
      {"other two-byte character stops",
       "\xD6\xD0"
       "5",
       0},
      {"maximum", "2147483647", INT_MAX},
      {"minimum", "-2147483648", INT_MIN},
      {"saturates high", "2147483648", INT_MAX},
      {"saturates low", "-99999999999999999999", INT_MIN},
      {"leading zeros", "000000000000000000012", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextToInteger(T(c.text)), c.expected);
  }
}

TEST(TextNumbers, TextToNumber) {
  struct Case {
    const char* name;
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"decimal", " 3.25kg", 3.25},
      {"negative with exponent", "-1.5e3x", -1500},
      {"exponent without digits is not taken", "2e", 2},
      {"exponent with sign but no digits", "2e+x", 2},
      {"second point ends the number", "1.2.3", 1.2},
      {"leading point", ".5", 0.5},
      {"trailing point", "5.", 5},
      {"point only", ".", 0},
      {"letters", "abc", 0},
      {"infinity is not a number here", "inf", 0},
      {"hexadecimal is not read", "0x10", 0},
      {"full-width digits and point", "\xA3\xB1\xA3\xAE\xA3\xB5", 1.5},
      {"empty", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(TextToNumber(T(c.text)), c.expected);
  }
  EXPECT_TRUE(std::isinf(TextToNumber(T("1e999"))));
}

TEST(TextNumbers, TextToNumberIgnoresTheProcessLocale) {
  // The window toolkit adopts the user's locale; a comma locale must not change the reading.
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  const double value = TextToNumber(T("2.5"));
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_DOUBLE_EQ(value, 2.5);
}

TEST(TextNumbers, IntegerToTextAndHex) {
  struct Case {
    int32_t value;
    const char* decimal;
    const char* hex;
  };
  const Case cases[] = {
      {0, "0", "0"},
      {10, "10", "A"},
      {255, "255", "FF"},
      {-1, "-1", "FFFFFFFF"},
      {INT_MAX, "2147483647", "7FFFFFFF"},
      {INT_MIN, "-2147483648", "80000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(IntegerToText(c.value), T(c.decimal));
    EXPECT_EQ(IntegerToHex(c.value), T(c.hex));
  }
}

TEST(TextNumbers, ByteCodes) {
  const Text text = T("\xD6z");
  EXPECT_EQ(ByteCodeAt(text, 1), -42);
  EXPECT_EQ(ByteCodeAt(text, 2), 'z');
  EXPECT_EQ(ByteCodeAt(text, 0), 0);
  EXPECT_EQ(ByteCodeAt(text, 3), 0);
  EXPECT_EQ(ByteCodeAt(Text(), 1), 0);

  EXPECT_EQ(CharFromCode(0), Text());
  EXPECT_EQ(CharFromCode('A'), T("A"));
  EXPECT_EQ(CharFromCode(0xD6), T("\xD6"));

  EXPECT_EQ(BlankText(3), T("   "));
  EXPECT_EQ(BlankText(0), Text());
  EXPECT_EQ(BlankText(-2), Text());
}

}  // namespace
}  // namespace quorvane
