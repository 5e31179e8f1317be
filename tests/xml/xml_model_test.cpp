// The node table and its read operations: numbering, liveness, copies out of the table.
#include <gtest/gtest.h>

#include "text/text_ops.h"
#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;
using xml_test::T;

constexpr std::string_view kBda = "<a><b>x</b><d/></a>";

TEST(XmlModel, NewDocumentIsEmpty) {
  const XmlDocument doc;
  XmlNode record;
  record.name = T("keep");
  EXPECT_EQ(doc.GetNode(0, record), 0);
  EXPECT_EQ(record.name, T("keep"));
  EXPECT_TRUE(doc.GetNodeName(0).empty());
  EXPECT_EQ(doc.GetNodeCount(), 0);
  EXPECT_TRUE(doc.GetRawData().empty());
  EXPECT_EQ(doc.CheckNode(0), -1);
  EXPECT_EQ(xml_test::Describe(doc), "root=0");
}

TEST(XmlModel, ElementsAreNumberedInTheOrderTheyEnd) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(kBda)), 1);
  EXPECT_EQ(xml_test::Describe(doc), "1:b{x}^3() 2:d{}^3() 3:a{}^0(1,2) root=3");

  XmlNode record;
  ASSERT_EQ(doc.GetNode(0, record), 1);
  EXPECT_EQ(record.number, 3);
  EXPECT_EQ(record.name, T("a"));

  struct Case {
    int32_t number;
    int32_t check;
    const char* name;
  };
  for (const Case& c : {Case{3, 0, "a"}, Case{1, 1, "b"}, Case{2, 1, "d"}, Case{0, -1, "a"},
                        Case{4, -1, ""}, Case{-1, -1, ""}}) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(doc.CheckNode(c.number), c.check);
    EXPECT_EQ(doc.GetNodeName(c.number), T(c.name));
  }
}

TEST(XmlModel, GetNodeReplacesTheRecordOnlyOnSuccess) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(kBda)), 1);
  XmlNode record;
  ASSERT_EQ(doc.GetNode(1, record), 1);
  ASSERT_EQ(doc.GetNode(3, record), 1);
  EXPECT_EQ(record.name, T("a"));
  EXPECT_EQ(record.children, (Array<int32_t>{1, 2}));
  EXPECT_EQ(doc.GetNode(9, record), 0);
  EXPECT_EQ(record.name, T("a"));

  // The record is a copy: changing it leaves the table alone.
  record.name = T("changed");
  record.children.Append(7);
  EXPECT_EQ(doc.GetNodeName(3), T("a"));
  XmlNode again;
  doc.GetNode(3, again);
  EXPECT_EQ(again.children.Count(), 2);
}

TEST(XmlModel, ReleasedNumbersAreNotLiveButStillCounted) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(kBda)), 1);
  ASSERT_EQ(doc.DeleteNode(1), 1);
  XmlNode record;
  EXPECT_EQ(doc.GetNode(1, record), 0);
  EXPECT_TRUE(doc.GetNodeName(1).empty());
  EXPECT_EQ(doc.CheckNode(1), -1);
  EXPECT_EQ(doc.GetNodeCount(), 3);
}

TEST(XmlModel, WithoutRootNamesAreEmptyButNodesCanBeRead) {
  XmlDocument source;
  ASSERT_EQ(source.LoadData(B(kBda)), 1);
  Array<XmlNode> nodes;
  Array<int32_t> freeNumbers;
  int32_t root = 0;
  source.ExportNodes(nodes, freeNumbers, root);

  XmlDocument doc;
  doc.ImportNodes(nodes, freeNumbers, 0);
  XmlNode record;
  EXPECT_EQ(doc.GetNode(0, record), 0);
  EXPECT_EQ(doc.GetNode(1, record), 1);
  EXPECT_EQ(record.name, T("b"));
  for (int32_t n : {0, 1, 2, 3})
    EXPECT_TRUE(doc.GetNodeName(n).empty()) << n;
}

TEST(XmlModel, RawDataIsKeptUnconvertedAndClearEmptiesEverything) {
  // "中" in UTF-8; the load converts it, the raw data keeps the original bytes.
  const Bytes utf8 = B("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE4\xB8\xAD</a>");
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(utf8), 1);
  EXPECT_EQ(doc.GetRawData(), utf8);
  XmlNode record;
  doc.GetNode(0, record);
  EXPECT_EQ(record.text, Local("中"));

  doc.Clear();
  EXPECT_TRUE(doc.GetRawData().empty());
  EXPECT_EQ(doc.GetNodeCount(), 0);
  EXPECT_TRUE(doc.CdataMarker().empty());
  EXPECT_EQ(doc.CdataSections().Count(), 0);
  EXPECT_EQ(xml_test::FreeList(doc), "");
}

TEST(XmlModel, CopiesAreDeepAndIndependent) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<a><u><![CDATA[x<y]]></u><d/></a>")), 1);
  doc.DeleteNode(2);
  XmlDocument copy(doc);
  EXPECT_EQ(xml_test::Describe(copy), xml_test::Describe(doc));
  EXPECT_EQ(xml_test::FreeList(copy), "2");
  EXPECT_EQ(copy.CdataSections(), doc.CdataSections());
  EXPECT_EQ(copy.CdataMarker(), doc.CdataMarker());
  EXPECT_EQ(copy.GetRawData(), doc.GetRawData());

  // The copy keeps the free-number state: the released number is reused there too.
  EXPECT_EQ(copy.AddNode(0), 2);
  EXPECT_EQ(doc.CheckNode(2), -1);

  XmlDocument assigned;
  assigned = doc;
  doc.Clear();
  EXPECT_EQ(assigned.GetNodeName(0), T("a"));
  EXPECT_EQ(assigned.CheckNode(2), -1);
}

}  // namespace
}  // namespace quorvane
