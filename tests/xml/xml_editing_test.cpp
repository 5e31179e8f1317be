// Editing sequences: numbers are kept for life and released numbers come back in release order.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

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

// DeleteNode marks the entry it removes and compacts a list only once half of it is marked, so
// that deleting every child is linear. Every reading operation must still see each list as if
// the entry had gone at once; this walks a long random edit sequence against a plain model of
// the root's children and the free list, on a loaded table and on the same table imported.
TEST(XmlEditing, ChildrenStayExactThroughDeletionsAndReuse) {
  for (const bool imported : {false, true}) {
    SCOPED_TRACE(imported ? "imported" : "loaded");
    std::string xml = "<r>";
    for (int i = 1; i <= 40; ++i)
      xml += "<c" + std::to_string(i) + "/>";
    XmlDocument doc;
    ASSERT_EQ(doc.LoadData(B(xml + "</r>")), 1);
    if (imported) {
      Array<XmlNode> nodes;
      Array<int32_t> freeNumbers;
      int32_t root = 0;
      doc.ExportNodes(nodes, freeNumbers, root);
      doc.ImportNodes(nodes, freeNumbers, root);
    }
    std::vector<int32_t> children;
    std::vector<std::string> names(42);
    for (int32_t k = 1; k <= 40; ++k) {
      children.push_back(k);
      names[static_cast<size_t>(k)] = "c" + std::to_string(k);
    }
    std::deque<int32_t> freeNumbers;
    uint32_t seed = 12345;
    auto next = [&](uint32_t bound) {
      seed = seed * 1103515245u + 12345u;
      return (seed >> 16) % bound;
    };
    for (int step = 0; step < 400; ++step) {
      SCOPED_TRACE(step);
      if (!children.empty() && next(3) != 0) {
        const size_t at = next(static_cast<uint32_t>(children.size()));
        const int32_t gone = children[at];
        ASSERT_EQ(doc.DeleteNode(gone), 1);
        children.erase(children.begin() + static_cast<std::ptrdiff_t>(at));
        freeNumbers.push_back(gone);
      } else {
        int32_t expected = static_cast<int32_t>(names.size());
        if (!freeNumbers.empty()) {
          expected = freeNumbers.front();
          freeNumbers.pop_front();
        } else {
          names.emplace_back();
        }
        ASSERT_EQ(doc.AddNode(0), expected);
        names[static_cast<size_t>(expected)].clear();
        children.push_back(expected);
      }
      XmlNode record;
      ASSERT_EQ(doc.GetNode(0, record), 1);
      ASSERT_EQ(std::vector<int32_t>(record.children.begin(), record.children.end()), children);
      std::string written = "<r>";
      for (int32_t c : children)
        written +=
            "<" + names[static_cast<size_t>(c)] + "></" + names[static_cast<size_t>(c)] + ">";
      Text output;
      doc.WriteNodeXml(41, output);
      ASSERT_EQ(output.str(), written + "</r>");
      const int32_t k = static_cast<int32_t>(next(static_cast<uint32_t>(children.size() + 2)));
      const int32_t child = k >= 1 && k <= static_cast<int32_t>(children.size())
                                ? children[static_cast<size_t>(k - 1)]
                                : -1;
      ASSERT_EQ(doc.FindChild(0, T("<@" + std::to_string(k))), child);
      std::string freeList;
      for (int32_t n : freeNumbers)
        freeList += (freeList.empty() ? "" : ",") + std::to_string(n);
      ASSERT_EQ(FreeList(doc), freeList);
    }
    Array<XmlNode> nodes;
    Array<int32_t> exportedFree;
    int32_t root = 0;
    doc.ExportNodes(nodes, exportedFree, root);
    EXPECT_EQ(std::vector<int32_t>(nodes[41].children.begin(), nodes[41].children.end()), children);
  }
}

// A removed entry still sat in its old parent's list when its number was reused elsewhere;
// deleting that parent must not release the reused node with it.
TEST(XmlEditing, ReusedNumberIsNotReleasedWithItsOldParent) {
  // b1..b4 = 1..4, a = 5, r = 6.
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><a><b1/><b2/><b3/><b4/></a></r>")), 1);
  ASSERT_EQ(doc.DeleteNode(2), 1);
  ASSERT_EQ(doc.AddNode(0), 2);
  ASSERT_EQ(doc.DeleteNode(5), 1);
  EXPECT_EQ(FreeList(doc), "5,1,3,4");
  EXPECT_EQ(doc.CheckNode(2), 1);
  EXPECT_EQ(doc.ToXmlText().str(), "<?xml version=\"1.0\" encoding=\"gb2312\" ?><r><></></r>");
}

// An imported table is installed unchecked and may list a child twice; DeleteNode removes the
// first occurrence only, and AddNode appends after the second.
TEST(XmlEditing, ImportedDuplicateChildIsRemovedFirstOccurrenceFirst) {
  XmlNode child;
  child.name = T("c");
  child.parent = 2;
  child.number = 1;
  XmlNode root;
  root.name = T("r");
  root.number = 2;
  root.children = Array<int32_t>{1, 1};
  XmlDocument doc;
  doc.ImportNodes(Array<XmlNode>{child, root}, Array<int32_t>{}, 2);
  ASSERT_EQ(doc.DeleteNode(1), 1);
  EXPECT_EQ(Describe(doc), "~1:c{}^2() 2:r{}^0(1) root=2");
  ASSERT_EQ(doc.AddNode(0), 1);
  EXPECT_EQ(Describe(doc), "1:{}^2() 2:r{}^0(1,1) root=2");
  ASSERT_EQ(doc.DeleteNode(1), 1);
  EXPECT_EQ(Describe(doc), "~1:{}^2() 2:r{}^0(1) root=2");
}

}  // namespace
}  // namespace quorvane
