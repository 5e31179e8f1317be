// Arguments that live inside the document itself. CdataSections() and CdataMarker() hand out
// references into the document, and LoadData once cleared the document before reading its
// argument: loading a section read freed memory, and loading the marker answered 1 with an
// empty table where a copy of the same bytes answered 0. Every operation that takes bytes must
// act on such an argument exactly as on a copy of it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;
using xml_test::Describe;

// What an operation leaves behind: its answer, the table and the load's other fields (the
// marker only by its length, since a load draws a fresh one).
std::string Outcome(const XmlDocument& doc, const std::string& answer) {
  std::string out = answer + " | " + Describe(doc) + " | raw=" + doc.GetRawData().str() +
                    " | marker=" + std::to_string(doc.CdataMarker().size()) + " |";
  for (const Bytes& section : doc.CdataSections())
    out += " [" + section.str() + "]";
  return out;
}

TEST(XmlAliasing, ArgumentsInsideTheDocumentActAsCopies) {
  struct Source {
    const char* name;
    std::function<const Bytes&(const XmlDocument&)> pick;
  };
  const Source sources[] = {
      {"FirstSection", [](const XmlDocument& d) -> const Bytes& { return d.CdataSections()[1]; }},
      {"SecondSection", [](const XmlDocument& d) -> const Bytes& { return d.CdataSections()[2]; }},
      {"Marker", [](const XmlDocument& d) -> const Bytes& { return d.CdataMarker(); }},
  };
  struct Operation {
    const char* name;
    std::function<std::string(XmlDocument&, const Bytes&)> run;
  };
  const Operation operations[] = {
      {"LoadData", [](XmlDocument& d, const Bytes& b) { return std::to_string(d.LoadData(b)); }},
      {"LoadDataQuoteAware",
       [](XmlDocument& d, const Bytes& b) { return std::to_string(d.LoadData(b, 1, 1)); }},
      {"ParseXml", [](XmlDocument& d, const Bytes& b) { return std::to_string(d.ParseXml(b, 0)); }},
      {"RestoreCdata", [](XmlDocument& d, const Bytes& b) { return d.RestoreCdata(b).str(); }},
      {"ParseTag",
       [](XmlDocument& d, const Bytes& b) {
         XmlNode node;
         const int32_t tagEnd = static_cast<int32_t>(b.view().rfind('>') + 1);
         const int32_t result = d.ParseTag(b, b.Length(), tagEnd, node, 1);
         return std::to_string(result) + node.name.str() + "{" + node.text.str() + "}";
       }},
      {"StripWhitespace",
       [](XmlDocument& d, const Bytes& b) { return d.StripWhitespace(b).str(); }},
      {"GetClosingName",
       [](XmlDocument& d, const Bytes& b) {
         Text name;
         return std::to_string(d.GetClosingName(b, name)) + name.str();
       }},
      {"SplitOutsideQuotes",
       [](XmlDocument& d, const Bytes& b) {
         Array<Bytes> pieces;
         d.SplitOutsideQuotes(b, B("<"), pieces);
         std::string out;
         for (const Bytes& p : pieces)
           out += "[" + p.str() + "]";
         return out;
       }},
      {"MakeCdataMarkerAvoidsIt",
       [](XmlDocument& d, const Bytes& b) {
         const Bytes marker = d.MakeCdataMarker(b);
         return std::to_string(b.view().find(marker.view()) == std::string_view::npos);
       }},
  };
  // The first section is a whole document, the second a closing tag; the marker on its own
  // holds no "<".
  const Bytes data = B("<r><u><![CDATA[<a x=\"1\">t<b/></a>]]></u><v><![CDATA[ </r> ]]></v></r>");
  for (const Source& source : sources) {
    for (const Operation& operation : operations) {
      SCOPED_TRACE(std::string(source.name) + " " + operation.name);
      XmlDocument inside;
      ASSERT_EQ(inside.LoadData(data), 1);
      XmlDocument outside = inside;
      const Bytes copy = source.pick(outside);
      const std::string viaInside = operation.run(inside, source.pick(inside));
      const std::string viaCopy = operation.run(outside, copy);
      EXPECT_EQ(Outcome(inside, viaInside), Outcome(outside, viaCopy));
    }
  }
}

// The caller's own array may hold the data being split.
TEST(XmlAliasing, SplitIntoTheArrayThatHoldsTheData) {
  Array<Bytes> pieces{B("a<b<c")};
  XmlDocument::SplitOutsideQuotes(pieces[1], B("<"), pieces);
  EXPECT_EQ(pieces, (Array<Bytes>{B("a"), B("b"), B("c")}));
}

}  // namespace
}  // namespace quorvane
