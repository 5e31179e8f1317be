// Editing sequences: numbers are kept for life and released numbers come back in release order.
#include <gtest/gtest.h>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;
using xml_test::Describe;
using xml_test::FreeList;
using xml_test::T;

TEST(XmlEditing, AddNodeAppendsAnEmptyChild) {
  XmlDocument doc;
  EXPECT_EQ(doc.AddNode(0), -1);
  ASSERT_EQ(doc.LoadData(B("<a><b>x</b><d/></a>")), 1);
  EXPECT_EQ(doc.AddNode(0), 4);
  EXPECT_EQ(doc.AddNode(1), 5);
  EXPECT_EQ(doc.AddNode(6), -1);
  EXPECT_EQ(doc.AddNode(-2), -1);
  EXPECT_TRUE(doc.GetNodeName(4).empty());
  EXPECT_EQ(Describe(doc), "1:b{x}^3(5) 2:d{}^3() 3:a{}^0(1,2,4) 4:{}^3() 5:{}^1() root=3");
}

TEST(XmlEditing, DeletedSubtreeIsReusedInPreOrder) {
  // c=1, b=2, d=3, a=4, e=5, r=6.
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><a x=\"1\"><b><c/></b><d/></a><e/></r>")), 1);
  EXPECT_EQ(doc.DeleteNode(4), 1);
  EXPECT_EQ(FreeList(doc), "4,2,1,3");
  XmlNode record;
  for (int32_t gone : {4, 2, 1, 3})
    EXPECT_EQ(doc.GetNode(gone, record), 0) << gone;
  doc.GetNode(0, record);
  EXPECT_EQ(record.children, (Array<int32_t>{5}));
  EXPECT_EQ(doc.GetNodeCount(), 6);

  EXPECT_EQ(doc.AddNode(0), 4);
  EXPECT_EQ(doc.AddNode(5), 2);
  EXPECT_EQ(doc.AddNode(4), 1);
  EXPECT_EQ(FreeList(doc), "3");
  EXPECT_EQ(Describe(doc), "1:{}^4() 2:{}^5() ~3:d{}^4() 4:{}^6(1) 5:e{}^6(2) 6:r{}^0(5,4) root=6");
  EXPECT_EQ(doc.AddNode(0), 3);
  EXPECT_EQ(doc.AddNode(0), 7);
}

TEST(XmlEditing, DeleteRefusesRootAndDeadNumbers) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<a><b/></a>")), 1);
  ASSERT_EQ(doc.DeleteNode(1), 1);
  const std::string before = Describe(doc);
  for (int32_t n : {2, 0, 3, -1, 1}) {
    EXPECT_EQ(doc.DeleteNode(n), n == 2 ? 0 : -1) << n;
  }
  EXPECT_EQ(Describe(doc), before);
  EXPECT_EQ(FreeList(doc), "1");
}

TEST(XmlEditing, ParentlessNodeIsReleasedWithoutUnlinking) {
  // a is a top-level element before the root; c is a child of the element x that never ends,
  // and b (the root, as the element that ended last) is one as well.
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<a/><x><c/><b></b>")), 1);
  EXPECT_EQ(Describe(doc), "1:a{}^0() 2:c{}^0() 3:b{}^0() root=3");
  EXPECT_EQ(doc.DeleteNode(1), 1);
  EXPECT_EQ(doc.DeleteNode(2), 1);
  EXPECT_EQ(FreeList(doc), "1,2");
  EXPECT_EQ(Describe(doc), "~1:a{}^0() ~2:c{}^0() 3:b{}^0() root=3");
  EXPECT_EQ(doc.AddNode(0), 1);
}

TEST(XmlEditing, SetNodeAppliesOnlyWhatIsGiven) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<a k=\"v\">t<b/></a>")), 1);
  doc.SetNode(0, std::nullopt, T("new"));
  EXPECT_EQ(Describe(doc), "1:b{}^2() 2:a k=\"v\"{new}^0(1) root=2");
  doc.SetNode(2, T("z"), std::nullopt, Array<XmlAttribute>{});
  EXPECT_EQ(Describe(doc), "1:b{}^2() 2:z{new}^0(1) root=2");
  doc.SetNode(1, std::nullopt, std::nullopt,
              Array<XmlAttribute>{{T("p"), T("1")}, {T("q"), T("\"2\"")}});
  doc.SetNode(1, T(""));
  EXPECT_EQ(Describe(doc), "1: p=1 q=\"2\"{}^2() 2:z{new}^0(1) root=2");
  doc.DeleteNode(1);
  doc.SetNode(1, T("dead"));
  doc.SetNode(5, T("none"));
  EXPECT_EQ(Describe(doc), "~1: p=1 q=\"2\"{}^2() 2:z{new}^0() root=2");
}

TEST(XmlEditing, ExportImportCopiesTheTableOnly) {
  XmlDocument source;
  ASSERT_EQ(source.LoadData(B("<a><u><![CDATA[<x>]]></u><v/><w/></a>")), 1);
  source.DeleteNode(2);
  Array<XmlNode> nodes{XmlNode{}};
  Array<int32_t> freeNumbers{9};
  int32_t root = -5;
  source.ExportNodes(nodes, freeNumbers, root);
  EXPECT_EQ(nodes.Count(), 4);
  EXPECT_EQ(freeNumbers, (Array<int32_t>{2}));
  EXPECT_EQ(root, 4);

  XmlDocument target;
  ASSERT_EQ(target.LoadData(B("<old/>")), 1);
  target.ImportNodes(nodes, freeNumbers, root);
  EXPECT_EQ(Describe(target), Describe(source));
  EXPECT_EQ(FreeList(target), "2");
  EXPECT_TRUE(target.GetRawData().empty());
  EXPECT_TRUE(target.CdataMarker().empty());
  EXPECT_EQ(target.CdataSections().Count(), 0);
  EXPECT_EQ(target.AddNode(0), 2);
}

TEST(XmlEditing, ImportedFreeNumbersOutsideTheTableAreNotReused) {
  XmlDocument source;
  ASSERT_EQ(source.LoadData(B("<a><b/></a>")), 1);
  Array<XmlNode> nodes;
  Array<int32_t> freeNumbers;
  int32_t root = 0;
  source.ExportNodes(nodes, freeNumbers, root);
  XmlDocument doc;
  doc.ImportNodes(nodes, Array<int32_t>{0, 7, -1}, root);
  EXPECT_EQ(doc.AddNode(0), 3);
  EXPECT_EQ(FreeList(doc), "");
}

}  // namespace
}  // namespace quorvane
