// UTF-8 to code page 936 and back. Expected code-page-936 bytes are written out in hex so the
// tests do not lean on the converter they check.
#include <gtest/gtest.h>

#include <iconv.h>

#include <memory>

#include "text/cp936_table.h"
#include "text/encoding.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

using namespace std::literals;

TEST(Utf8ToGbk, ConvertsCharactersAndReplacesWhatHasNoForm) {
  struct Case {
    const char* name;
    std::string_view utf8;
    std::string_view gbk;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"ASCII byte for byte", "GET /video/av170001 HTTP/1.1\r\n~",
       "GET /video/av170001 HTTP/1.1\r\n~"},
      {"login error phrase", "\xE9\xAA\x8C\xE8\xAF\x81\xE7\xA0\x81\xE9\x94\x99\xE8\xAF\xAF",
       "\xD1\xE9\xD6\xA4\xC2\xEB\xB4\xED\xCE\xF3"},
      {"two-byte UTF-8 form", "\xC2\xA7", "\xA1\xEC"},
      {"full-width letter", "\xEF\xBC\xA1", "\xA3\xC1"},
      {"ideographic space", "\xE3\x80\x80", "\xA1\xA1"},
      {"euro sign is the single byte 80", "\xE2\x82\xAC", "\x80"},
      {"no form in the code page", "\xC2\xA9|\xE0\xB8\x81", "?|?"},
      {"outside the BMP", "\xF0\x9F\x98\x80!", "?!"},
      {"lone FF", "\xFF", "?"},
      {"byte-order mark is converted, not stripped",
       "\xEF\xBB\xBF"
       "a",
       "?a"},
      {"zero byte ends the result", "ab\0\xE4\xB8\xAD"sv, "ab"},
      {"zero byte first", "\0ab"sv, ""},
      // Maximal subparts: one "?" for the longest prefix that could have begun a valid
      // sequence, and the byte that broke it is read again on its own.
      {"truncated three-byte sequence at the end", "a\xE4\xB8", "a?"},
      {"three-byte sequence broken by ASCII",
       "\xE4\xB8"
       "A",
       "?A"},
      {"lead byte followed by ASCII",
       "\xE4"
       "A",
       "?A"},
      {"truncated four-byte sequence",
       "\xF0\x9F\x98"
       "A",
       "?A"},
      {"overlong two-byte form", "\xC0\xAF", "??"},
      {"overlong three-byte form", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"stray continuation bytes", "\x80\xBF", "??"},
      {"F5 is never a lead byte", "\xF5\x80", "??"},
      {"invalid between Chinese", "\xE4\xB8\xAD\xFF\xE6\x96\x87", "\xD6\xD0?\xCE\xC4"},
      // Long enough for the word-at-a-time ASCII path, with a character in the middle.
      {"long ASCII runs",
       "0123456789abcdef\xE4\xB8\xAD"
       "0123456789abcdef",
       "0123456789abcdef\xD6\xD0"
       "0123456789abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToGbk(Bytes(c.utf8)).view(), c.gbk);
  }
}

TEST(Utf8ToGbk, ConvertedPhraseIsFoundByItsLocalLiteral) {
  const Text page =
      Utf8ToGbk(Bytes("<p>\xE9\xAA\x8C\xE8\xAF\x81\xE7\xA0\x81\xE9\x94\x99\xE8\xAF\xAF</p>"sv));
  EXPECT_EQ(Local("验证码错误").view(), "\xD1\xE9\xD6\xA4\xC2\xEB\xB4\xED\xCE\xF3");
  EXPECT_EQ(FindText(page, Local("验证码错误")), 4);
}

TEST(GbkToUtf8, DecodesPairsAndReplacesBrokenOnes) {
  struct Case {
    const char* name;
    std::string_view gbk;
    std::string_view utf8;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"ASCII", "av170001\r\n", "av170001\r\n"},
      {"two characters", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"euro single byte", "\x80", "\xE2\x82\xAC"},
      {"FF stands alone",
       "\xFF"
       "a",
       "\xEF\xBF\xBD"
       "a"},
      {"lead byte at the end", "a\xD6", "a\xEF\xBF\xBD"},
      {"lead byte before CR LF keeps the line end", "\xD6\r\n", "\xEF\xBF\xBD\r\n"},
      {"lead byte before 7F", "\xD6\x7F", "\xEF\xBF\xBD\x7F"},
      {"pair the code page does not define",
       "\xA2\xAB"
       "x",
       "\xEF\xBF\xBD"
       "x"},
      {"zero bytes pass through", "a\0b"sv, "a\0b"sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
  }
}

// Every two-byte code the C library's converter defines must come back unchanged through both
// directions, and agree with that converter; this checks the whole table, not a sample.
TEST(GbkToUtf8, EveryDefinedPairRoundTripsAndMatchesIconv) {
  iconv_t toUtf8 = iconv_open("UTF-8", "CP936");
  ASSERT_NE(toUtf8, reinterpret_cast<iconv_t>(-1));
  int defined = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;  // not a trail byte; the named cases cover it
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char expected[8] = {};
      char* in = pair;
      size_t inLeft = 2;
      char* out = expected;
      size_t outLeft = sizeof expected;
      const bool known = iconv(toUtf8, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1);
      iconv(toUtf8, nullptr, nullptr, nullptr, nullptr);
      const std::string utf8 = GbkToUtf8(std::string_view(pair, 2));
      if (!known) {
        EXPECT_EQ(utf8, "\xEF\xBF\xBD") << std::hex << lead << ' ' << trail;
        continue;
      }
      ++defined;
      ASSERT_EQ(utf8, std::string_view(expected, sizeof expected - outLeft))
          << std::hex << lead << ' ' << trail;
      ASSERT_EQ(Utf8ToGbk(Bytes(utf8)).view(), std::string_view(pair, 2))
          << std::hex << lead << ' ' << trail;
    }
  }
  iconv_close(toUtf8);
  EXPECT_GT(defined, 20000);  // GBK defines 21886 codes; far fewer means the table was not built
}

}  // namespace
}  // namespace quorvane

namespace quorvane::text_detail {
namespace {

// Where the C library lacks the converter, or a name opens some other code page, every Chinese
// text would silently read as "?"; the table says so and the start-up check stops.
TEST(Cp936Converter, TableSaysWhetherItCameFromAWorkingConverter) {
  struct Case {
    const char* name;
    std::initializer_list<const char*> converters;
    bool working;
  };
  const Case cases[] = {
      {"the program's names", {"CP936", "GBK"}, true},
      {"first name missing, second works", {"QUORVANE-NO-SUCH-CODEPAGE", "GBK"}, true},
      {"no converter of that name", {"QUORVANE-NO-SUCH-CODEPAGE"}, false},
      {"another two-byte code page", {"BIG5"}, false},
      {"a one-byte code page", {"ISO-8859-1"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto table = std::make_unique<Cp936Table>(c.converters);
    EXPECT_EQ(table->fromConverter, c.working);
    EXPECT_EQ(table->fromUnicode['A'], 'A');
    EXPECT_EQ(table->fromUnicode[0x4E2D], c.working ? 0xD6D0 : 0);
  }
}

using Cp936ConverterDeathTest = testing::Test;

TEST_F(Cp936ConverterDeathTest, MissingConverterStopsNamingIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto missing =
      std::make_unique<Cp936Table>(std::initializer_list<const char*>{"QUORVANE-NO-SUCH-CODEPAGE"});
  EXPECT_EXIT(RequireConverter(*missing), testing::ExitedWithCode(255),
              "no working converter for code page 936");
}

TEST(Cp936Converter, WorkingConverterPassesTheStartUpCheck) {
  RequireCodePageConverter();
  RequireConverter(Cp936());
  SUCCEED();
}

}  // namespace
}  // namespace quorvane::text_detail
