// Searches, replacements and splits, which walk texts by character.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "text/text_ops.h"

namespace quorvane {
namespace {

Text T(std::string_view bytes) { return Text(bytes); }

std::vector<std::string> Pieces(const Array<Text>& array) {
  std::vector<std::string> pieces;
  for (const Text& piece : array)
    pieces.push_back(piece.str());
  return pieces;
}

TEST(TextSearch, FindTextStartAndCase) {
  struct Case {
    const char* name;
    const char* text;
    const char* sought;
    int32_t start;
    bool ignoreCase;
    int32_t expected;
  };
  const Case cases[] = {
      {"start 0 searches all", "abcabc", "a", 0, false, 1},
      {"start 1 searches all", "abcabc", "a", 1, false, 1},
      {"negative start searches all", "abcabc", "a", INT_MIN, false, 1},
      {"later start skips an earlier match", "abcabc", "a", 2, false, 4},
      {"start at length sees the last byte", "abcabc", "c", 6, false, 6},
      {"start past length", "abcabc", "c", 7, false, -1},
      {"match must fit in the text", "abcab", "abc", 2, false, -1},
      {"upper B exact", "aBc", "B", 0, false, 2},
      {"upper B ignoring case", "aBc", "B", 0, true, 2},
      {"lower b ignoring case", "aBc", "b", 0, true, 2},
      {"lower b exact", "aBc", "b", 0, false, -1},
      {"empty sought", "abc", "", 0, false, -1},
      {"empty text", "", "a", 0, false, -1},
      {"second byte of the only character", "\xD6\x41", "A", 0, false, -1},
      {"second byte ignoring case", "\xD6\x61", "A", 0, true, -1},
      {"after a two-byte character", "\xD6\x41\x41", "A", 0, false, 3},
      // 0xB0 0xB0 0xB0 0xB0 is two characters; B0 B0 starting at byte 2 straddles them.
      {"straddling two characters", "\xB0\xB0\xB0\xB0x", "\xB0x", 0, false, -1},
      {"two-byte sought", "a\xD6\xD0\xCE\xC4", "\xCE\xC4", 0, false, 4},
      // Case folding applies to every compared byte, second bytes included.
      {"folding inside the sought character", "\xB0\x61", "\xB0\x41", 0, true, 1},
      {"lead byte at the very end", "ab\xD6", "\xD6", 0, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindText(T(c.text), T(c.sought), c.start, c.ignoreCase), c.expected);
  }
  EXPECT_EQ(FindText(T("xyz"), T("z")), 3);
}

TEST(TextSearch, FindTextBackward) {
  struct Case {
    const char* name;
    const char* text;
    const char* sought;
    bool ignoreCase;
    int32_t expected;
  };
  const Case cases[] = {
      {"last hyphen", "durl-3-7", "-", false, 7},
      {"overlapping matches, last wins", "aaaa", "aa", false, 3},
      {"not found", "durl", "-", false, -1},
      {"empty sought", "abc", "", false, -1},
      {"second byte of the only character", "\xD6\x41", "A", false, -1},
      {"a real match before a false one", "A\xD6\x41", "A", false, 1},
      {"ignoring case", "xAyA", "a", true, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindTextBackward(T(c.text), T(c.sought), c.ignoreCase), c.expected);
  }
}

TEST(TextSearch, ReplaceAllText) {
  const Text quoteMarker = Local("#引号");
  EXPECT_EQ(ReplaceAllText(ConcatTexts(quoteMarker, T("x"), quoteMarker), quoteMarker, T("\"")),
            T("\"x\""));
  EXPECT_EQ(ReplaceAllText(T("a-b-c"), T("-"), Text()), T("abc"));
  EXPECT_EQ(ReplaceAllText(T("aaa"), T("aa"), T("b")), T("ba"));  // no overlap
  EXPECT_EQ(ReplaceAllText(T("ab"), T("b"), T("bb")), T("abb"));  // replacement not rescanned
  EXPECT_EQ(ReplaceAllText(T("\xD6\x41\x41"), T("A"), T("-")), T("\xD6\x41-"));
  EXPECT_EQ(ReplaceAllText(T("ab\xD6"), T("b"), T("B")), T("aB\xD6"));  // the lead byte stays
  EXPECT_EQ(ReplaceAllText(T("abc"), Text(), T("x")), T("abc"));
  EXPECT_EQ(ReplaceAllText(Text(), T("a"), T("x")), Text());
}

TEST(TextSearch, SplitText) {
  using Expected = std::vector<std::string>;
  struct Case {
    const char* name;
    const char* text;
    const char* separator;
    Expected expected;
  };
  const Case cases[] = {
      {"plain", "a|b|c", "|", {"a", "b", "c"}},
      {"bar at the end gives no empty last piece", "a|b|", "|", {"a", "b"}},
      {"bar at the start gives an empty first piece", "|a", "|", {"", "a"}},
      {"two bars give an empty piece between", "a||b", "|", {"a", "", "b"}},
      {"only a bar", "|", "|", {""}},
      {"empty text", "", "|", {}},
      {"empty separator", "a|b", "", {"a|b"}},
      {"no separator in the text", "abc", "|", {"abc"}},
      {"longer separator", "a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"separator as second byte is not split", "\xD6|x|y", "|", {"\xD6|x", "y"}},
      {"lead byte at the end is kept", "a|\xD6", "|", {"a", "\xD6"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Pieces(SplitText(T(c.text), T(c.separator))), c.expected);
  }
}

}  // namespace
}  // namespace quorvane
