// Random tag soup loaded by the document and by a step-by-step reading of the passes with its
// own whitespace strip, split and token walk: a shortcut in the loader that behaves differently
// from the passes shows up as a different table.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml_test_support.h"

namespace quorvane {
namespace {

struct PlainLoad {
  std::vector<XmlNode> nodes;
  int32_t root = 0;

  static std::string Strip(const std::string& s) {
    std::string out;
    for (char c : s)
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
    return out;
  }
  static std::vector<std::string> Split(const std::string& data, char d, bool quotes) {
    std::vector<std::string> pieces;
    bool outside = true;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
      if (quotes && data[i] == '"') outside = !outside;
      if (data[i] == d && outside) {
        pieces.push_back(data.substr(start, i - start));
        start = i + 1;
      }
    }
    if (quotes || start < data.size()) pieces.push_back(data.substr(start));
    return pieces;
  }
  static bool Tag(const std::string& p, size_t tagEnd, XmlNode& node, bool withText) {
    node = XmlNode();
    std::string content = p.substr(0, tagEnd - 1);
    if (!withText && !content.empty() && content.back() == '/') content.pop_back();
    const std::vector<std::string> raw = Split(content, ' ', true);
    std::vector<std::string> kept;
    for (const std::string& t : raw) {
      const std::string s = Strip(t);
      if (!s.empty() && s != "/") kept.push_back(t);
    }
    node.name = Text(raw[0]);
    if (withText) node.text = Text(p.substr(tagEnd));
    for (size_t i = 1; i < kept.size(); ++i) {
      const size_t eq = kept[i].find('=');
      if (eq == std::string::npos) return false;
      node.attributes.Append(
          XmlAttribute{Text(kept[i].substr(0, eq)), Text(kept[i].substr(eq + 1))});
    }
    return true;
  }
  int32_t Load(const std::string& data, bool quoteAware) {
    std::vector<XmlNode> stack(1);
    int32_t counter = 0;
    for (const std::string& p : Split(data, '<', quoteAware)) {
      if (Strip(p).empty() || p[0] == '?' || p[0] == '!') continue;
      const size_t last = p.rfind('>');
      if (last == std::string::npos) return Fail();
      const size_t tagEnd = last + 1;
      const bool closing = p[0] == '/';
      const bool selfClosing = tagEnd >= 2 && p[tagEnd - 2] == '/';
      if (closing) {
        if (selfClosing || stack.size() == 1) return Fail();
        std::string name;
        for (char c : Strip(p))
          if (c != '/' && c != '>') name += c;
        if (Text(name) != stack.back().name) return Fail();
        ++counter;
        stack[stack.size() - 2].children.Append(counter);
        XmlNode top = stack.back();
        top.number = counter;
        for (int32_t c : top.children)
          nodes[static_cast<size_t>(c - 1)].parent = counter;
        if (Strip(top.text.str()).empty()) top.text = Text();
        nodes.push_back(top);
        stack.pop_back();
      } else if (selfClosing) {
        XmlNode node;
        if (!Tag(p, tagEnd, node, false)) return Fail();
        ++counter;
        stack.back().children.Append(counter);
        node.number = counter;
        nodes.push_back(node);
      } else {
        XmlNode node;
        if (!Tag(p, tagEnd, node, true)) return Fail();
        stack.push_back(node);
      }
    }
    root = counter;
    return 1;
  }
  int32_t Fail() {
    nodes.clear();
    root = 0;
    return 0;
  }
};

using xml_test::B;

TEST(XmlLoadModel, RandomTagSoupLoadsAsThePlainReading) {
  std::mt19937 rng(15);
  const std::string alphabet[] = {"<",  ">", "/", " ", "\t",   "\n",  "a",    "b",       "=",
                                  "\"", "x", "?", "!", "</a>", "<a>", "<b/>", "<a x=1>", " /"};
  for (int round = 0; round < 20000; ++round) {
    std::string data;
    const int length = static_cast<int>(rng() % 24);
    for (int i = 0; i < length; ++i)
      data += alphabet[rng() % std::size(alphabet)];
    for (int quoteAware = 0; quoteAware <= 1; ++quoteAware) {
      SCOPED_TRACE(testing::PrintToString(data) + " quoteAware " + std::to_string(quoteAware));
      XmlDocument doc;
      PlainLoad plain;
      ASSERT_EQ(doc.LoadData(B(data), 0, quoteAware), plain.Load(data, quoteAware != 0));
      Array<XmlNode> table;
      Array<int32_t> freeList;
      int32_t root = 0;
      doc.ExportNodes(table, freeList, root);
      ASSERT_EQ(root, plain.root);
      ASSERT_EQ(std::vector<XmlNode>(table.begin(), table.end()), plain.nodes);
    }
  }
}

}  // namespace
}  // namespace quorvane
