// TextBetween and TextAfterLast as tables of named cases. Sources and markers are written as
// UTF-8 and converted with Local, except where a case needs exact code-page-936 bytes.
#include "query/text_extraction.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_ops.h"

namespace quorvane {
namespace {

struct BetweenCase {
  const char* name;
  Text source;
  Text left;
  Text right;
  int32_t start;
  bool ignoreCase;
  Text expected;
};

void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.name; }

// "諸" is 0xD6 0x54 in code page 936: its second byte is the letter T.
Text TrailT() { return Local("諸"); }

BetweenCase Between(const char* name, std::string_view source, std::string_view left,
                    std::string_view right, std::string_view expected, int32_t start = 0,
                    bool ignoreCase = false) {
  return {name, Local(source), Local(left), Local(right), start, ignoreCase, Local(expected)};
}

class TextBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenMarkers) {
  const BetweenCase& c = GetParam();
  const Text leftBefore = c.left;
  const Text rightBefore = c.right;
  EXPECT_EQ(TextBetween(c.source, c.left, c.right, c.start, c.ignoreCase).str(), c.expected.str());
  // The quote substitution works on copies.
  EXPECT_EQ(c.left, leftBefore);
  EXPECT_EQ(c.right, rightBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(
        Between("FieldBetweenMarkers", "x=1;cid=123&aid=4", "cid=", "&", "123"),
        Between("NoRightMarker", "cid=123", "cid=", "&", ""),
        Between("NoLeftMarker", "x=1&", "cid=", "&", ""),
        Between("RightMarkerOnlyBeforeLeft", "&cid=1", "cid=", "&", ""),
        Between("MarkersTouch", "cid=&", "cid=", "&", ""),
        Between("EmptySource", "", "cid=", "&", ""),
        Between("OnlyFirstOccurrencesCount", "cid=1&cid=2&", "cid=", "&", "1"),
        Between("SecondLeftMarkerIsPartOfResult", "cid=1cid=2&", "cid=", "&", "1cid=2"),
        // The right marker is searched after the left one ends, so "ab" inside "xab" is not it.
        Between("RightMarkerInsideLeftNotSeen", "xab1ab", "xab", "ab", "1"),
        Between("QuoteNameInBothMarkers", "x\"y\"z", "#引号", "#引号", "y"),
        Between("QuoteNameAmongOtherBytes", "<h1 title=\"T\">", "title=#引号", "#引号>", "T"),
        Between("QuoteNameTwiceInOneMarker", "a\"\"b\"\"c", "#引号#引号", "#引号#引号", "b"),
        Between("IncompleteQuoteNameSearchedAsWritten", "a#引b\"c", "#引", "\"", "b"),
        Between("IncompleteQuoteNameNotAQuote", "a\"b\"c", "#引", "\"", ""),
        Between("StartZero", "cid=1&cid=2&", "cid=", "&", "1", 0),
        Between("StartNegative", "cid=1&cid=2&", "cid=", "&", "1", -5),
        Between("StartOne", "cid=1&cid=2&", "cid=", "&", "1", 1),
        Between("StartPastFirstLeft", "cid=1&cid=2&", "cid=", "&", "2", 2),
        Between("StartPastEnd", "cid=1&", "cid=", "&", "", 99),
        Between("CaseDiffersExact", "AbC", "a", "c", ""),
        Between("CaseDiffersIgnored", "AbC", "a", "c", "b", 0, true),
        Between("TwoByteCharactersKept", "标题:<b>中文标题</b>", "<b>", "</b>", "中文标题"),
        // A left marker equal to a character's second byte must not match inside it.
        BetweenCase{"LeftMarkerIsTrailByte", TrailT() + Local("T1T"), Local("T"), Local("T"), 0,
                    false, Local("1")},
        BetweenCase{"RightMarkerIsTrailByte", Local("a") + TrailT() + Local("xT"), Local("a"),
                    Local("T"), 0, false, TrailT() + Local("x")},
        BetweenCase{"TrailByteOnlyGivesNothing", Local("a") + TrailT(), Local("a"), Local("T"), 0,
                    false, Text()}),
    [](const testing::TestParamInfo<BetweenCase>& info) { return std::string(info.param.name); });

struct AfterLastCase {
  const char* name;
  Text source;
  Text marker;
  bool ignoreCase;
  Text expected;
};

void PrintTo(const AfterLastCase& c, std::ostream* os) { *os << c.name; }

AfterLastCase AfterLast(const char* name, std::string_view source, std::string_view marker,
                        std::string_view expected, bool ignoreCase = false) {
  return {name, Local(source), Local(marker), ignoreCase, Local(expected)};
}

class TextAfterLastTest : public testing::TestWithParam<AfterLastCase> {};

TEST_P(TextAfterLastTest, TakesTextAfterLastMarker) {
  const AfterLastCase& c = GetParam();
  EXPECT_EQ(TextAfterLast(c.source, c.marker, c.ignoreCase).str(), c.expected.str());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextAfterLastTest,
    testing::Values(
        AfterLast("NodeNumber", "durl-12", "-", "12"),
        AfterLast("LastOfSeveral", "a-b-c", "-", "c"),
        AfterLast("MarkerEndsSource", "abc-", "-", ""), AfterLast("NoMarker", "abc", "-", ""),
        AfterLast("EmptySource", "", "-", ""), AfterLast("LongerMarker", "x::y::z", "::", "z"),
        AfterLast("CaseDiffersExact", "aXb", "x", ""),
        AfterLast("CaseDiffersIgnored", "aXb", "x", "b", true),
        AfterLast("QuoteNameIsLiteralHere", "a#引号b", "#引号", "b"),
        AfterLast("QuoteNotMatchedByQuoteName", "a\"b", "#引号", ""),
        AfterLastCase{"MarkerIsTrailByte", Local("xT") + TrailT(), Local("T"), false, TrailT()},
        AfterLastCase{"TrailByteOnly", Local("x") + TrailT(), Local("T"), false, Text()}),
    [](const testing::TestParamInfo<AfterLastCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane
