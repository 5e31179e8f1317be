#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "account/account.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

struct EncodeCase {
  const char* name;
  std::string value;  // code-page-936 bytes
  std::string expected;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class UrlEncodeFieldTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(UrlEncodeFieldTest, EncodesAsTheSiteReadsIt) {
  EXPECT_EQ(UrlEncodeField(Text(GetParam().value)).str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Account, UrlEncodeFieldTest,
    testing::Values(EncodeCase{"Empty", "", ""},
                    EncodeCase{"AccountCharactersKept", "User.Name-09_x@mail",
                               "User.Name-09_x@mail"},
                    EncodeCase{"OtherKeptPunctuation", "*,/", "*,/"},
                    EncodeCase{"SpaceIsPercent20NotPlus", "a b", "a%20b"},
                    EncodeCase{"PlusEscaped", "a+b", "a%2Bb"},
                    EncodeCase{"LineFeedGetsLeadingZero", "\n", "%0A"},
                    EncodeCase{"LowestByte", "\x01", "%01"},
                    EncodeCase{"FormSeparatorsEscaped", "a&b=c%d", "a%26b%3Dc%25d"},
                    EncodeCase{"ColonToQuestionMark", ":;<=>?", "%3A%3B%3C%3D%3E%3F"},
                    EncodeCase{"BracketsBackslashCaretBacktick", "[\\]^`", "%5B%5C%5D%5E%60"},
                    EncodeCase{"BracesTildeDelete", "{|}~\x7F", "%7B%7C%7D%7E%7F"},
                    EncodeCase{"HighestByte", "\xFF", "%FF"},
                    // "中" is D6 D0 in code page 936: two escapes, not the three UTF-8 bytes.
                    EncodeCase{"ChineseCharacterAsItsLocalBytes", Local("中").str(), "%D6%D0"},
                    // A lead byte cut off at the end is still just a byte to escape.
                    EncodeCase{"LeadByteCutInHalf", "a\xB0", "a%B0"}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

// Every byte a Text can hold: the kept set is exactly the listed one, and every escape decodes
// back to its byte, so no byte is lost or confused with another.
TEST(AccountUrlEncodeField, EveryByteIsKeptOrEscapedReversibly) {
  const std::string kept = "*,-./0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  for (int byte = 1; byte <= 255; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const std::string encoded = UrlEncodeField(Text(one)).str();
    if (kept.find(one) != std::string::npos) {
      EXPECT_EQ(encoded, one) << "byte " << byte;
      continue;
    }
    ASSERT_EQ(encoded.size(), 3u) << "byte " << byte;
    EXPECT_EQ(encoded[0], '%');
    EXPECT_EQ(encoded.find_first_of("abcdef"), std::string::npos) << "upper-case hex only";
    EXPECT_EQ(std::stoi(encoded.substr(1), nullptr, 16), byte);
  }
}

}  // namespace
}  // namespace quorvane
