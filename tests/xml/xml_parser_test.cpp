// LoadData as a whole: XML in, node table out, as a table of named cases.
#include <gtest/gtest.h>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using namespace std::string_literals;
using xml_test::B;

struct LoadCase {
  const char* name;
  std::string data;
  int32_t quoteAware;
  int32_t result;
  // Describe() of the table after the load; a failed load must leave "root=0".
  std::string table;
};

class XmlLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(XmlLoad, GivesTheExpectedTable) {
  const LoadCase& c = GetParam();
  XmlDocument doc;
  // A previous document must not leak into the next load.
  ASSERT_EQ(doc.LoadData(B("<old><x/></old>")), 1);
  EXPECT_EQ(doc.LoadData(B(c.data), 0, c.quoteAware), c.result);
  EXPECT_EQ(xml_test::Describe(doc), c.table);
  if (c.result == 0) {
    EXPECT_TRUE(doc.GetRawData().empty());
    EXPECT_TRUE(doc.CdataMarker().empty());
    EXPECT_EQ(doc.CdataSections().Count(), 0);
  } else {
    EXPECT_EQ(doc.GetRawData(), B(c.data));
  }
}

const LoadCase kLoadCases[] = {
    {"Empty", "", 0, 1, "root=0"},
    {"OnlyWhitespaceAndDeclaration", "<?xml version=\"1.0\"?>\r\n  ", 0, 1, "root=0"},
    {"CdataAddressWithAmpersandsAndAngles", "<url><![CDATA[http://x/a?b=1&c=<2>&amp;]]></url>", 0,
     1, "1:url{http://x/a?b=1&c=<2>&amp;}^0() root=1"},
    {"TextAroundCdataIsDropped", "<a>pre<![CDATA[in]]>post</a>", 0, 1, "1:a{in}^0() root=1"},
    {"WhitespaceOnlyTextIsEmptied", "<a> \t\r\n<b/></a>", 0, 1, "1:b{}^2() 2:a{}^0(1) root=2"},
    {"OtherTextKeepsItsWhitespace", "<a> x \n<b/></a>", 0, 1, "1:b{}^2() 2:a{ x \n}^0(1) root=2"},
    {"IndentedDocument", "<?xml version=\"1.0\"?>\n<a>\n  <b>1</b>\n  <c/>\n</a>\n", 0, 1,
     "1:b{1}^3() 2:c{}^3() 3:a{}^0(1,2) root=3"},
    {"SelfClosingForms", "<r><b/><c /><d x=\"1\"/><e x=\"1\" /></r>", 0, 1,
     "1:b{}^5() 2:c{}^5() 3:d x=\"1\"{}^5() 4:e x=\"1\"{}^5() 5:r{}^0(1,2,3,4) root=5"},
    {"BytesAfterSelfClosingTagAreIgnored", "<a><b/>tail</a>", 0, 1, "1:b{}^2() 2:a{}^0(1) root=2"},
    {"AttributesKeepQuotesAndEntities", "<a k=\"x y\" e='&amp;' q=x=y>&lt;t</a>", 0, 1,
     "1:a k=\"x y\" e='&amp;' q=x=y{&lt;t}^0() root=1"},
    {"SpaceBeforeNameGivesEmptyName", "< a x=\"1\"/>", 0, 1, "1: x=\"1\"{}^0() root=1"},
    {"CommentAndDoctypeSkipped", "<!DOCTYPE a><a><!-- note --><b/></a>", 0, 1,
     "1:b{}^2() 2:a{}^0(1) root=2"},
    {"UnclosedDocumentElement", "<a><b>x</b>", 0, 1, "1:b{x}^0() root=1"},
    {"UnclosedWithoutFinishedElement", "<a><b>", 0, 1, "root=0"},
    {"SiblingsAfterNestedParents", "<r><a><x/><y/></a><b/><c><z/></c></r>", 0, 1,
     "1:x{}^3() 2:y{}^3() 3:a{}^7(1,2) 4:b{}^7() 5:z{}^6() 6:c{}^7(5) 7:r{}^0(3,4,6) root=7"},
    {"ClosingNameMatchesTheNameUpToItsZeroByte", "<a\0b c=1>x</a>"s, 0, 1, "1:a c=1{x}^0() root=1"},
    {"TwoTopLevelElements", "<a/><b><c/></b>", 0, 1, "1:a{}^0() 2:c{}^3() 3:b{}^0(2) root=3"},
    {"ZeroByteEndsEveryText", "<a\0b>x\0y</a>"s, 0, 1, "1:a{x}^0() root=1"},
    {"QuoteAwareKeepsAngleInValue", "<a t=\"<b>\"></a>", 1, 1, "1:a t=\"<b>\"{}^0() root=1"},
    {"ClosingTagWithSpaceBeforeName", "<a></ a >", 0, 1, "1:a{}^0() root=1"},
    {"SlashAndTabTokenDropped", "<a /\t></a>", 0, 1, "1:a{}^0() root=1"},
    {"SlashAndLineBreakBeforeSelfClose", "<a x=1 /\n/>", 0, 1, "1:a x=1{}^0() root=1"},

    {"AttributeWithoutEquals", "<a flag></a>", 0, 0, "root=0"},
    // An element that never ends still has its tag read when it opens.
    {"UnclosedElementWithBareWord", "<r><b/><a flag><c/>", 0, 0, "root=0"},
    {"SingleQuotedValueWithSpace", "<a t='x y'></a>", 0, 0, "root=0"},
    {"TextAfterEndTag", "<a><b></b>tail</a>", 0, 0, "root=0"},
    {"CommentHoldingAngleIsReadAsTag", "<a><!-- 1 <b x --></a>", 0, 0, "root=0"},
    {"ClosingTagAtTopLevel", "</a>", 0, 0, "root=0"},
    {"MismatchedClosingTag", "<a><b></a></b>", 0, 0, "root=0"},
    {"ClosingNameIsCaseSensitive", "<a></A>", 0, 0, "root=0"},
    {"PieceWithoutAngle", "<a><b</a>", 0, 0, "root=0"},
    {"ClosingAndSelfClosing", "<a></a/>", 0, 0, "root=0"},
    {"TextWithAngleBracketBreaksTheTag", "<a>x>y</a>", 0, 0, "root=0"},
    {"PlainSplitCutsQuotedAngle", "<a t=\"<b>\"></a>", 0, 0, "root=0"},
    {"ZeroBytePieceIsNoWhitespace", "<a></a><\0"s, 0, 0, "root=0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, XmlLoad, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XmlLoadCdata, SectionsAreKeptInDocumentOrder) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><u><![CDATA[a&b]]></u><v><![CDATA[]]></v></r>")), 1);
  ASSERT_EQ(doc.CdataSections().Count(), 2);
  EXPECT_EQ(doc.CdataSections()[1], B("a&b"));
  EXPECT_EQ(doc.CdataSections()[2], B(""));
  EXPECT_EQ(xml_test::Describe(doc), "1:u{a&b}^3() 2:v{}^3() 3:r{}^0(1,2) root=3");
}

// An opener without "]]>" once made the extraction insert placeholders in front of the same
// opener for ever. The open section now stays in the data as written: its piece starts with
// "!" and is skipped like a declaration, and the "<" inside it split as usual. Only at the
// data's first byte is it cut out, as an empty section, which leaves a first piece that is no
// tag.
TEST(XmlLoadCdata, UnterminatedSectionStaysInTheData) {
  struct Case {
    const char* name;
    const char* data;
    int32_t result;
    int32_t sections;
    const char* table;
  };
  const Case cases[] = {
      {"AtStart", "<![CDATA[open", 0, 0, "root=0"},
      {"AtStartWithAngles", "<![CDATA[<a>x</a>", 0, 0, "root=0"},
      // The placeholder's piece is read as an opening tag that never ends.
      {"AtStartReadAsTag", "<![CDATA[ x=1>", 1, 1, "root=0"},
      {"AfterSpace", " <![CDATA[open", 1, 0, "root=0"},
      {"AfterElement", "<a>x</a><![CDATA[never closed", 1, 0, "1:a{x}^0() root=1"},
      {"AfterClosedSection", "<a><![CDATA[ok]]></a><![CDATA[open <b>", 1, 1, "1:a{ok}^0() root=1"},
      {"InsideElement", "<a><u><![CDATA[http://x</u></a>", 1, 0, "1:u{}^2() 2:a{}^0(1) root=2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XmlDocument doc;
    EXPECT_EQ(doc.LoadData(B(c.data)), c.result);
    EXPECT_EQ(doc.CdataSections().Count(), c.sections);
    EXPECT_EQ(xml_test::Describe(doc), c.table);
  }
}

TEST(XmlLoadEncoding, Utf8IsDecodedUnlessDeclaredGb2312) {
  // "中" in UTF-8 and in code page 936.
  const std::string utf8 = "\xE4\xB8\xAD";
  const std::string gbk = "\xD6\xD0";
  struct Case {
    const char* name;
    std::string declaration;
    int32_t utf8ByDefault;
    bool converted;
  };
  const Case cases[] = {
      {"Utf8Declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0, true},
      {"Utf8MixedCase", "<?xml ENCODING=\"uTf-8\" ?>", 0, true},
      {"Gb2312Declared", "<?xml encoding=\"gb2312\"?>", 1, false},
      {"Gb2312UpperCase", "<?xml encoding=\"GB2312\"?>", 1, false},
      {"SingleQuotedUtf8NoDefault", "<?xml encoding='utf-8'?>", 0, false},
      {"SingleQuotedUtf8Default", "<?xml encoding='utf-8'?>", 1, true},
      {"SingleQuotedGb2312Default", "<?xml encoding='gb2312'?>", 1, true},
      {"OtherNameNoDefault", "<?xml encoding=\"iso-8859-1\"?>", 0, false},
      {"OtherNameDefault", "<?xml encoding=\"iso-8859-1\"?>", 1, true},
      {"MissingNoDefault", "", 0, false},
      {"MissingDefault", "", 1, true},
      {"NoEndOfDeclaration", "<?xml encoding=\"gb2312\"", 1, true},
      // Without "encoding" the value is read from byte 7 on.
      {"NoEncodingWordGb2312Default", "<?xml gb2312?>", 1, false},
      {"NoEncodingWordGb2312NoDefault", "<?xml gb2312?>", 0, false},
      {"NoEncodingWordUtf8NoDefault", "<?xml utf-8?>", 0, true},
      {"NoEncodingWordUtf8Default", "<?xml utf-8?>", 1, true},
      {"NoEncodingWordQuotedGb2312", "<?xml =\"gb2312\" ?>", 1, false},
      {"NoEncodingWordByte7Counts", "<?xml Xutf-8?>", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data = c.declaration + "<a>" + utf8 + "</a>";
    Bytes working = B(data);
    EXPECT_EQ(XmlDocument::ConvertEncoding(working, c.utf8ByDefault), c.converted ? 1 : 0);
    XmlDocument doc;
    ASSERT_EQ(doc.LoadData(B(data), c.utf8ByDefault), 1);
    XmlNode node;
    ASSERT_EQ(doc.GetNode(0, node), 1);
    EXPECT_EQ(node.text.str(), c.converted ? gbk : utf8);
  }
}

// The play-address answer is loaded with utf8ByDefault 1; one that names gb2312 without the
// word "encoding" once had its GBK addresses converted as UTF-8 into question marks.
TEST(XmlLoadEncoding, Gb2312WithoutEncodingWordKeepsGbkText) {
  const std::string gbk = "\xCA\xD3\xC6\xB5";  // "视频"
  const std::string data =
      "<?xml gb2312?><video><durl><url>http://x/" + gbk + "</url></durl></video>";
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(data), 1), 1);
  XmlNode node;
  ASSERT_EQ(doc.GetNode(1, node), 1);
  EXPECT_EQ(node.text.str(), "http://x/" + gbk);
}

// The load looks at the page's bytes block by block while copying it; a byte that decides the
// conversion counts wherever it lies, also far past the first block or at a block's edge.
TEST(XmlLoadEncoding, ByteFarIntoThePageDecidesTheConversion) {
  struct Case {
    const char* name;
    size_t fill;
    std::string tail;
    // Name and text of the root: the element that ended last.
    std::string rootName;
    std::string rootText;
  };
  const Case cases[] = {
      {"PlainAscii", 40000, "y", "b", "y"},
      {"Utf8AfterTheFirstBlocks", 40000, "\xE4\xB8\xAD", "b", "\xD6\xD0"},
      // The character's three bytes straddle the end of the first 16 KiB.
      {"Utf8AtABlockEdge", 16 * 1024 - 11, "\xE4\xB8\xAD", "b", "\xD6\xD0"},
      // The conversion takes the page as text, so it ends at the zero byte and b never ends;
      // without it b would end and keep the text before the zero byte.
      {"ZeroByteAfterTheFirstBlocks", 40000, "y\0z"s, "a", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data = "<a>" + std::string(c.fill, ' ') + "</a><b>" + c.tail + "</b>";
    XmlDocument doc;
    ASSERT_EQ(doc.LoadData(B(data), 1), 1);
    XmlNode node;
    ASSERT_EQ(doc.GetNode(0, node), 1);
    EXPECT_EQ(node.name.str(), c.rootName);
    EXPECT_EQ(node.text.str(), c.rootText);
    EXPECT_EQ(doc.GetRawData(), B(data));
  }
}

TEST(XmlLoadEncoding, DeclarationAfterZeroByteIsNotSeen) {
  const Bytes original = B("<a/>\0<?xml encoding=\"utf-8\"?>"s);
  Bytes data = original;
  EXPECT_EQ(XmlDocument::ConvertEncoding(data, 0), 0);
  EXPECT_EQ(data, original);
}

}  // namespace
}  // namespace quorvane
