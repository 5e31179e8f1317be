// The load's passes one by one: CDATA cutting and restoring, splitting, closing names, tags.
#include <gtest/gtest.h>

#include <vector>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using namespace std::string_literals;
using xml_test::B;
using xml_test::T;

bool IsMarker(const Bytes& marker, size_t letters) {
  if (marker.size() != letters + 1 || marker.view()[0] != '@') return false;
  for (char c : marker.view().substr(1)) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

TEST(XmlCdataMarker, IsFreshCapitalsAbsentFromTheData) {
  const Bytes data = B("@ABCDE @QWERT");
  for (int i = 0; i < 50; ++i) {
    const Bytes marker = XmlDocument::MakeCdataMarker(data);
    ASSERT_TRUE(IsMarker(marker, 5)) << marker.str();
    EXPECT_EQ(data.view().find(marker.view()), std::string_view::npos);
  }
  EXPECT_TRUE(IsMarker(XmlDocument::MakeCdataMarker(Bytes(), 3), 3));
}

TEST(XmlCdataMarker, EmptyWhenEveryCandidateOccurs) {
  std::string all;
  for (char c = 'A'; c <= 'Z'; ++c)
    all += "@"s + c;
  EXPECT_TRUE(XmlDocument::MakeCdataMarker(B(all), 1).empty());
}

TEST(XmlExtractCdata, ReplacesEachSectionByANumberedPlaceholder) {
  XmlDocument doc;
  Bytes data = B("<a><![CDATA[1<2]]>x<![CDATA[]]></a><![CDATA[z]]>");
  EXPECT_EQ(doc.ExtractCdata(data), 3);
  const std::string m = doc.CdataMarker().str();
  ASSERT_TRUE(IsMarker(doc.CdataMarker(), 5));
  EXPECT_EQ(data.str(), "<a>" + m + ",1.x" + m + ",2.</a>" + m + ",3.");
  EXPECT_EQ(doc.CdataSections(), (Array<Bytes>{B("1<2"), B(""), B("z")}));
}

TEST(XmlExtractCdata, NestedOpenerBelongsToTheContent) {
  XmlDocument doc;
  Bytes data = B("<![CDATA[x<![CDATA[y]]>]]>");
  EXPECT_EQ(doc.ExtractCdata(data), 1);
  EXPECT_EQ(doc.CdataSections()[1], B("x<![CDATA[y"));
  EXPECT_EQ(data.str(), doc.CdataMarker().str() + ",1.]]>");
}

// An opener without "]]>" once made the extraction insert placeholders in front of the same
// opener for ever. At the data's first byte the cut is defined (an empty section, only the "<"
// replaced); anywhere else the opener stays as written. Either way the extraction ends there.
TEST(XmlExtractCdata, UnterminatedOpenerEndsTheExtraction) {
  struct Case {
    const char* data;
    int32_t sections;
    const char* after;  // what follows the placeholder, or the whole data when none was cut
  };
  const Case cases[] = {
      {"<![CDATA[", 1, "![CDATA["},
      {"<![CDATA[abc", 1, "![CDATA[abc"},
      {"<![CDATA[a<![CDATA[b", 1, "![CDATA[a<![CDATA[b"},
      {"x<![CDATA[abc<![CDATA[d", 0, "x<![CDATA[abc<![CDATA[d"},
      {" <![CDATA[abc", 0, " <![CDATA[abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    XmlDocument doc;
    Bytes data = B(c.data);
    EXPECT_EQ(doc.ExtractCdata(data), c.sections);
    ASSERT_TRUE(IsMarker(doc.CdataMarker(), 5));
    if (c.sections == 0) {
      EXPECT_EQ(data, B(c.data));
      continue;
    }
    EXPECT_EQ(data.str(), doc.CdataMarker().str() + ",1." + c.after);
    EXPECT_EQ(doc.CdataSections(), (Array<Bytes>{B("")}));
  }
}

TEST(XmlRestoreCdata, ThePlaceholderStandsForTheWholeValue) {
  XmlDocument doc;
  Bytes data = B("<![CDATA[first]]><![CDATA[second]]>");
  ASSERT_EQ(doc.ExtractCdata(data), 2);
  const std::string m = doc.CdataMarker().str();
  struct Case {
    std::string value;
    std::string restored;
  };
  const Case cases[] = {
      {m + ",1.", "first"},
      {"before " + m + ",2. after", "second"},
      {m + ",2." + m + ",1.", "second"},
      {m + ",3.", m + ",3."},
      {m + ",0.", m + ",0."},
      {m + ",1", m + ",1"},
      {m + ".", m + "."},
      {"plain", "plain"},
      {"cut\0here"s, "cut"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(doc.RestoreCdata(B(c.value)).str(), c.restored);
  }
  // Without a marker nothing is ever restored.
  EXPECT_EQ(XmlDocument().RestoreCdata(B(",1.")), T(",1."));
}

std::vector<std::string> Pieces(const Array<Bytes>& pieces) {
  std::vector<std::string> out;
  for (const Bytes& p : pieces)
    out.push_back(p.str());
  return out;
}

TEST(XmlSplitOutsideQuotes, OnlyDoubleQuotesProtect) {
  struct Case {
    const char* name;
    std::string data;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"Empty", "", {""}},
      {"OnlyDelimiter", "<", {"", ""}},
      {"Plain", "a<b<", {"a", "b", ""}},
      {"DoubleQuoted", "a\"<\"b<c", {"a\"<\"b", "c"}},
      {"SingleQuotedStillSplits", "a'<'b", {"a'", "'b"}},
      {"UnclosedQuoteRunsToTheEnd", "a\"<b<c", {"a\"<b<c"}},
      {"ZeroByteIsOrdinary", "a\0<b"s, {"a\0"s, "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Array<Bytes> pieces{B("stale")};
    XmlDocument::SplitOutsideQuotes(B(c.data), B("<"), pieces);
    EXPECT_EQ(Pieces(pieces), c.pieces);
  }
}

TEST(XmlStripWhitespace, RemovesSpaceTabCrLfOnly) {
  EXPECT_EQ(XmlDocument::StripWhitespace(B(" a\tb\r\nc \v")), B("abc\v"));
  EXPECT_EQ(XmlDocument::StripWhitespace(B("")), B(""));
  EXPECT_EQ(XmlDocument::StripWhitespace(B(" \0 "s)), B("\0"s));
}

TEST(XmlGetClosingName, DropsWhitespaceSlashesAndAngles) {
  struct Case {
    std::string piece;
    const char* name;
  };
  const Case cases[] = {
      {"/a>", "a"},     {"/a >\r\n  ", "a"}, {"/a>tail", "atail"}, {"/a b>", "ab"},
      {"/a/b>>", "ab"}, {"/a\0b>"s, "a"},    {"/>", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.piece);
    Text name = T("stale");
    EXPECT_EQ(XmlDocument::GetClosingName(B(c.piece), name), 1);
    EXPECT_EQ(name, T(c.name));
  }
}

TEST(XmlParseTag, NameAttributesAndText) {
  struct Case {
    const char* name;
    std::string piece;
    int32_t withText;
    int32_t result;
    std::string node;  // name|attr=value,…|text
  };
  const Case cases[] = {
      {"NameOnly", "a>", 1, 1, "a||"},
      {"Text", "a>some text", 1, 1, "a||some text"},
      {"QuotedSpaces", "a x=\"1 2\"  y=3>t", 1, 1, "a|x=\"1 2\",y=3,|t"},
      {"SelfClosingSlashRemoved", "b x=\"1\"/>ignored", 0, 1, "b|x=\"1\",|"},
      {"SelfClosingSpaceSlash", "b />", 0, 1, "b||"},
      {"LoneSlashTokenDropped", "b / x=1>", 1, 1, "b|x=1,|"},
      // The token is dropped when its StripWhitespace form is "/", whitespace and all.
      {"SlashWithTabDropped", "a /\t>", 1, 1, "a||"},
      {"SlashWithLineBreakDropped", "a x=1 /\n/>", 0, 1, "a|x=1,|"},
      {"SlashWithMoreIsAnAttribute", "a /x>", 1, 0, ""},
      {"TabStaysInToken", "a\tx=1>", 1, 1, "a\tx=1||"},
      {"EmptyValue", "a x=>", 1, 1, "a|x=,|"},
      {"NoEquals", "a x>", 1, 0, ""},
      {"LastAngleEndsTheTag", "a x=\">\">t", 1, 1, "a|x=\">\",|t"},
  };
  const XmlDocument doc;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes piece = B(c.piece);
    const int32_t tagEnd = static_cast<int32_t>(c.piece.rfind('>')) + 1;
    XmlNode node;
    node.children.Append(5);
    ASSERT_EQ(doc.ParseTag(piece, piece.Length(), tagEnd, node, c.withText), c.result);
    if (c.result == 0) continue;
    std::string got = node.name.str() + "|";
    for (const XmlAttribute& a : node.attributes)
      got += a.name.str() + "=" + a.value.str() + ",";
    got += "|" + node.text.str();
    EXPECT_EQ(got, c.node);
    EXPECT_TRUE(node.children.empty());
  }
}

}  // namespace
}  // namespace quorvane
