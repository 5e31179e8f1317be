// A page from the network may nest a million levels deep. Loading, writing, deleting, copying
// and destroying must not recurse on the machine stack.
#include <gtest/gtest.h>

#include <memory>

#include "xml_test_support.h"

namespace quorvane {
namespace {

constexpr int32_t kDepth = 1'000'000;

std::string Nested(int32_t depth) {
  std::string xml;
  xml.reserve(static_cast<size_t>(depth) * 7);
  for (int32_t i = 0; i < depth; ++i)
    xml += "<a>";
  for (int32_t i = 0; i < depth; ++i)
    xml += "</a>";
  return xml;
}

TEST(XmlDeep, MillionLevelsLoadWriteDeleteCopyAndDestroy) {
  const std::string xml = Nested(kDepth);
  auto doc = std::make_unique<XmlDocument>();
  ASSERT_EQ(doc->LoadData(Bytes(xml)), 1);
  ASSERT_EQ(doc->GetNodeCount(), kDepth);
  XmlNode record;
  ASSERT_EQ(doc->GetNode(0, record), 1);
  EXPECT_EQ(record.number, kDepth);
  EXPECT_EQ(record.children, (Array<int32_t>{kDepth - 1}));

  EXPECT_EQ(doc->ToXmlText().str(), "<?xml version=\"1.0\" encoding=\"gb2312\" ?>" + xml);

  auto copy = std::make_unique<XmlDocument>(*doc);

  // Deleting the root's only child releases everything below it, outermost first, so the
  // numbers come back from the outside in.
  ASSERT_EQ(doc->DeleteNode(kDepth - 1), 1);
  EXPECT_EQ(doc->CheckNode(1), -1);
  EXPECT_EQ(doc->AddNode(0), kDepth - 1);
  EXPECT_EQ(doc->AddNode(kDepth - 1), kDepth - 2);
  EXPECT_EQ(doc->ToXmlText().str(),
            "<?xml version=\"1.0\" encoding=\"gb2312\" ?><a><><></></></a>");
  doc.reset();

  EXPECT_EQ(copy->GetNodeName(1), Text("a"));
  EXPECT_EQ(copy->GetNodeCount(), kDepth);
  EXPECT_EQ(copy->CheckNode(1), 1);
  copy.reset();
}

}  // namespace
}  // namespace quorvane
