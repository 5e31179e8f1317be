// Cutting, case, trimming and comparison of texts at their edges.
#include <gtest/gtest.h>

#include <climits>

#include "text/text_ops.h"

namespace quorvane {
namespace {

Text T(std::string_view bytes) { return Text(bytes); }

TEST(TextCut, LeftRightAndMidClampAtBothEnds) {
  struct Case {
    const char* name;
    Text result;
    const char* expected;
  };
  const Text abc = T("abc");
  const Case cases[] = {
      {"left within", TextLeft(abc, 2), "ab"},
      {"left beyond length", TextLeft(abc, 10), "abc"},
      {"left zero", TextLeft(abc, 0), ""},
      {"left negative", TextLeft(abc, -1), ""},
      {"left of empty", TextLeft(Text(), 3), ""},
      {"right within", TextRight(abc, 2), "bc"},
      {"right beyond length", TextRight(abc, INT_MAX), "abc"},
      {"right zero", TextRight(abc, 0), ""},
      {"right negative", TextRight(abc, INT_MIN), ""},
      {"mid from 1", TextMid(abc, 1, 2), "ab"},
      {"mid from 0 is empty", TextMid(abc, 0, 2), ""},
      {"mid from negative", TextMid(abc, -5, 2), ""},
      {"mid count past end", TextMid(abc, 2, INT_MAX), "bc"},
      {"mid at last byte", TextMid(abc, 3, 1), "c"},
      {"mid past end", TextMid(abc, 4, 1), ""},
      {"mid zero count", TextMid(abc, 1, 0), ""},
      // By byte: a cut may split a two-byte character.
      {"mid halves a character", TextMid(T("\xD6\xD0"), 2, 1), "\xD0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.result, T(c.expected));
  }
}

TEST(TextCut, ReplaceTextRangeClampsStartAndCount) {
  struct Case {
    const char* name;
    int32_t start, n;
    const char* replacement;
    const char* expected;
  };
  const Case cases[] = {
      {"cut the first seven bytes", 1, 7, "", "89"},
      {"replace in the middle", 3, 2, "XY", "12XY56789"},
      {"insert without removing", 3, 0, "-", "12-3456789"},
      {"negative count inserts", 3, -4, "-", "12-3456789"},
      {"count past end removes the rest", 8, 100, "!", "1234567!"},
      {"start below 1 counts as 1", -3, 2, "", "3456789"},
      {"start past end appends", 50, 2, "!", "123456789!"},
      {"INT_MIN start does not overflow", INT_MIN, 1, "", "23456789"},
      {"INT_MAX count", 1, INT_MAX, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceTextRange(T("123456789"), c.start, c.n, T(c.replacement)), T(c.expected));
  }
  EXPECT_EQ(ReplaceTextRange(T("abc"), 2, 1), T("ac"));
}

TEST(TextCut, CaseChangeLeavesSecondBytesAlone) {
  // 0xB0 0x61 is one character whose second byte happens to be the letter a.
  EXPECT_EQ(ToUpper(T("ab\xB0\x61z")), T("AB\xB0\x61Z"));
  EXPECT_EQ(ToLower(T("AB\xB0\x41Z")), T("ab\xB0\x41z"));
  EXPECT_EQ(ToUpper(T("x\xB0")), T("X\xB0"));  // a lead byte at the end stays as it is
  EXPECT_EQ(ToUpper(Text()), Text());
}

TEST(TextCut, TrimSpacesRemovesOnlySpacesAndIdeographicSpaces) {
  struct Case {
    const char* name;
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"plain spaces", "  ab c  ", "ab c"},
      {"tab and CR LF stay", "\tab\r\n", "\tab\r\n"},
      {"leading ideographic space", "\xA1\xA1x", "x"},
      {"trailing ideographic space", "x \xA1\xA1 ", "x"},
      {"only spaces", " \xA1\xA1 ", ""},
      {"empty", "", ""},
      // 0xB0 0xA1 then 0xA1 0x41: the last three bytes look like A1 A1 seen from the end, but
      // no ideographic space starts on a character boundary there.
      {"A1 A1 across two characters", "\xB0\xA1\xA1\x41", "\xB0\xA1\xA1\x41"},
      {"character ending in A1 before a space", "\xB0\xA1 ", "\xB0\xA1"},
      {"lone lead byte at the end", " x\xA1", "x\xA1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TrimSpaces(T(c.input)), T(c.expected));
  }
}

TEST(TextCut, Comparisons) {
  EXPECT_TRUE(TextEquals(Text(), T("")));
  EXPECT_FALSE(TextEquals(T("a"), T("A")));
  EXPECT_TRUE(TextEqualsNoCase(T("HTTP://"), T("http://")));
  EXPECT_FALSE(TextEqualsNoCase(T("http:/"), T("http://")));
  EXPECT_FALSE(TextEqualsNoCase(T("["), T("{")));  // 0x5B and 0x7B are not letters
  EXPECT_TRUE(TextEqualsNoCase(Text(), Text()));
}

TEST(TextCut, TextsAndBuffersTurnIntoEachOther) {
  using namespace std::literals;
  EXPECT_EQ(BytesToText(Bytes("ab\0cd"sv)), T("ab"));
  EXPECT_EQ(BytesToText(Bytes("\0cd"sv)), Text());
  EXPECT_EQ(BytesToText(Bytes("abcd"sv)), T("abcd"));
  EXPECT_TRUE(TextToBytes(Text()).empty());
  EXPECT_EQ(TextToBytes(T("\xD6\xD0")), Bytes("\xD6\xD0"sv));
  EXPECT_EQ(ConcatTexts(T("a"), Text(), T("bc")), T("abc"));
  EXPECT_EQ(TextLength(T("\xD6\xD0x")), 3);
}

}  // namespace
}  // namespace quorvane
