// Path lookup: names, "<#n" numbers and "<@k" positions, step by step from the root.
#include <gtest/gtest.h>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;
using xml_test::T;

TEST(XmlFindPath, StepsFromTheRoot) {
  // durl=1, u=2, durl=3, x=4, r=5.
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><durl/><durl><u/></durl><x/></r>")), 1);
  struct Case {
    const char* path;
    int32_t result;
  };
  const Case cases[] = {
      {"r", 0},     {"r/durl", 1},   {"r/<@2", 3},    {"r/<@4", -1},    {"r/<@0", -1}, {"<@1/x", 4},
      {"<@2", -1},  {"<@1", 0},      {"r/<@2/u", 2},  {"r/durl/u", -1}, {"<#0", 0},    {"<#7", 7},
      {"<#3", 3},   {"<#7/x", -1},   {"<#3/u", 2},    {"r/<#4", 4},     {"<#abc", -1}, {"<#00", -1},
      {"<#-3", -1}, {"<", -1},       {"<x", -1},      {"", -1},         {"/r", -1},    {"r/", 0},
      {"R", -1},    {"r//durl", -1}, {"r/x/<@1", -1}, {"r/X", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(doc.FindPath(T(c.path)), c.result) << c.path;
  }
}

TEST(XmlFindPath, EmptyRootNameAndMissingRoot) {
  XmlDocument unnamed;
  ASSERT_EQ(unnamed.LoadData(B("< x=\"1\"><a/></ >")), 1);
  EXPECT_EQ(unnamed.FindPath(T("/a")), 1);
  EXPECT_EQ(unnamed.FindPath(T("/")), 0);

  XmlDocument empty;
  for (const char* path : {"r", "/", "r/a", "<#0/a"})
    EXPECT_EQ(empty.FindPath(T(path)), -1) << path;
}

TEST(XmlFindChild, FromAGivenParent) {
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B("<r><a/><b/><a/></r>")), 1);
  EXPECT_EQ(doc.FindChild(0, T("a")), 1);
  EXPECT_EQ(doc.FindChild(4, T("b")), 2);
  EXPECT_EQ(doc.FindChild(1, T("a")), -1);
  EXPECT_EQ(doc.FindChild(9, T("<#1")), -1);
  EXPECT_EQ(doc.FindChild(-7, T("r")), 0);
  doc.DeleteNode(1);
  EXPECT_EQ(doc.FindChild(0, T("a")), 3);
}

}  // namespace
}  // namespace quorvane
