// The writer: XML in, edit, XML out, compared with the expected text.
#include <gtest/gtest.h>

#include "text/text_ops.h"
#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;
using xml_test::T;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>";

TEST(XmlWriter, CompactDocumentRoundTrips) {
  const std::string xml =
      "<video a=\"1\" b=\"x y\"><durl><order>1</order><url>http://h/p?x=1&amp;y=2</url></durl>"
      "<durl><order>2</order><url></url></durl></video>";
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(xml)), 1);
  const Text written = doc.ToXmlText();
  EXPECT_EQ(written.str(), kDecl + xml);

  XmlDocument again;
  ASSERT_EQ(again.LoadData(TextToBytes(written)), 1);
  EXPECT_EQ(xml_test::Describe(again), xml_test::Describe(doc));
}

TEST(XmlWriter, TextsAndElementsAreWrittenAsStored) {
  struct Case {
    const char* name;
    const char* xml;
    const char* written;  // after the declaration
  };
  const Case cases[] = {
      {"EmptyElementIsNeverSelfClosing", "<a><b/><c></c></a>", "<a><b></b><c></c></a>"},
      {"TextWithAngleGoesIntoCdata", "<a><![CDATA[x<y&z]]></a>", "<a><![CDATA[x<y&z]]></a>"},
      {"AmpersandAndQuotesBare", "<a t='&'>\"&amp;\"</a>", "<a t='&'>\"&amp;\"</a>"},
      {"IndentationIsLost", "<a>\n  <b>1</b>\n</a>\n", "<a><b>1</b></a>"},
      {"CdataWithGreaterThanOnlyIsBare", "<a><![CDATA[x>y]]></a>", "<a>x>y</a>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XmlDocument doc;
    ASSERT_EQ(doc.LoadData(B(c.xml)), 1);
    EXPECT_EQ(doc.ToXmlText().str(), kDecl + c.written);
  }
}

TEST(XmlWriter, TextWithGreaterThanDoesNotComeBack) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><a><![CDATA[x>y]]></a></r>")), 1);
  XmlDocument again;
  EXPECT_EQ(again.LoadData(TextToBytes(doc.ToXmlText())), 0);
}

TEST(XmlWriter, NonZeroNumberAppendsWithoutDeclaration) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<a><b x=\"1\">t</b></a>")), 1);
  Text output = T("kept:");
  doc.WriteNodeXml(1, output);
  EXPECT_EQ(output, T("kept:<b x=\"1\">t</b>"));
  doc.WriteNodeXml(7, output);
  EXPECT_EQ(output, T("kept:<b x=\"1\">t</b>"));
  doc.WriteNodeXml(0, output);
  EXPECT_EQ(output.str(), kDecl + "<a><b x=\"1\">t</b></a>");
}

TEST(XmlWriter, NoNamedRootWritesNothing) {
  XmlDocument empty;
  EXPECT_TRUE(empty.ToXmlText().empty());
  Text output = T("kept");
  empty.WriteNodeXml(0, output);
  EXPECT_EQ(output, T("kept"));

  XmlDocument unnamed;
  ASSERT_EQ(unnamed.LoadData(B("< x=\"1\"><a/></ >")), 1);
  EXPECT_TRUE(unnamed.ToXmlText().empty());
  unnamed.WriteNodeXml(0, output);
  EXPECT_EQ(output, T("kept"));
}

// Tables installed by ImportNodes are not checked. A child list that leads back to an
// ancestor once made the writer recurse until the stack overflowed; a child that is already
// on the path being written is now skipped, as are a child 0 (no node number) and a released
// child. A node listed twice elsewhere is written twice, as any listed child is.
TEST(XmlWriter, ImportedCyclesAndBadChildrenEnd) {
  auto node = [](const char* name, int32_t parent, int32_t number,
                 std::initializer_list<int32_t> children) {
    XmlNode n;
    n.name = Text(name);
    n.parent = parent;
    n.number = number;
    for (int32_t c : children)
      n.children.Append(c);
    return n;
  };
  Array<XmlNode> nodes;
  nodes.Append(node("a", 3, 1, {2, 0, 3, 1, 9}));  // back to root and itself; 0; out of range
  nodes.Append(node("b", 1, 2, {2, 4}));           // itself; a released number
  nodes.Append(node("r", 0, 3, {1, 2}));           // b listed twice
  nodes.Append(node("gone", 2, 4, {}));
  XmlDocument doc;
  doc.ImportNodes(nodes, Array<int32_t>{4}, 3);
  EXPECT_EQ(doc.ToXmlText().str(), kDecl + "<r><a><b></b></a><b></b></r>");
  Text output;
  doc.WriteNodeXml(2, output);
  EXPECT_EQ(output, T("<b></b>"));
}

TEST(XmlWriter, NodeListedTwiceIsWrittenTwice) {
  Array<XmlNode> nodes;
  XmlNode leaf;
  leaf.name = T("u");
  leaf.text = T("x<y");
  leaf.parent = 3;
  leaf.number = 1;
  nodes.Append(leaf);
  XmlNode middle;
  middle.name = T("m");
  middle.parent = 3;
  middle.number = 2;
  middle.children = Array<int32_t>{1, 1};
  nodes.Append(middle);
  XmlNode root;
  root.name = T("r");
  root.number = 3;
  root.children = Array<int32_t>{1, 2, 1};
  nodes.Append(root);
  XmlDocument doc;
  doc.ImportNodes(nodes, Array<int32_t>{}, 3);
  const std::string u = "<u><![CDATA[x<y]]></u>";
  EXPECT_EQ(doc.ToXmlText().str(), kDecl + "<r>" + u + "<m>" + u + u + "</m>" + u + "</r>");
  // Writing one node appends its subtree only, however much the output holds.
  Text output = T("kept");
  doc.WriteNodeXml(2, output);
  doc.WriteNodeXml(1, output);
  EXPECT_EQ(output.str(), "kept<m>" + u + u + "</m>" + u);
}

}  // namespace
}  // namespace quorvane
