// Random sequences of edits, writes, exports, imports, loads and clears, checked step by step
// against a plain model of the table: children lists erased in place, the free list searched
// from the front, the writer recursive. The document's lazy deletion marks, position cache and
// reused writer marks must never show through.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "xml_test_support.h"

namespace quorvane {
namespace {

using xml_test::B;

struct Model {
  std::vector<XmlNode> nodes;  // entry k - 1 is number k
  std::deque<int32_t> freeNumbers;
  int32_t root = 0;

  int32_t Count() const { return static_cast<int32_t>(nodes.size()); }
  XmlNode& At(int32_t k) { return nodes[static_cast<size_t>(k - 1)]; }
  const XmlNode& At(int32_t k) const { return nodes[static_cast<size_t>(k - 1)]; }

  int32_t Check(int32_t n) const {
    if (n < 1 || n > Count()) return -1;
    if (std::find(freeNumbers.begin(), freeNumbers.end(), n) != freeNumbers.end()) return -1;
    return n == root ? 0 : 1;
  }
  int32_t Live(int32_t n) const {
    if (n == 0) n = root;
    return Check(n) < 0 ? 0 : n;
  }

  int32_t Add(int32_t parent) {
    if (parent == 0) parent = root;
    if (Check(parent) < 0) return -1;
    while (!freeNumbers.empty() && (freeNumbers.front() < 1 || freeNumbers.front() > Count()))
      freeNumbers.pop_front();
    int32_t k;
    if (!freeNumbers.empty()) {
      k = freeNumbers.front();
      freeNumbers.pop_front();
      XmlNode& node = At(k);
      node.name = Text();
      node.text = Text();
      node.attributes.Clear();
      node.children.Clear();
      node.parent = parent;
    } else {
      k = Count() + 1;
      XmlNode node;
      node.parent = parent;
      node.number = k;
      nodes.push_back(node);
    }
    At(parent).children.Append(k);
    return k;
  }

  void Release(int32_t n) {
    if (Check(n) < 0) return;
    freeNumbers.push_back(n);
    const Array<int32_t> children = At(n).children;
    for (int32_t c : children)
      Release(c);
  }

  int32_t Delete(int32_t n) {
    const int32_t s = Check(n);
    if (s <= 0) return s;
    const int32_t p = At(n).parent;
    if (p >= 1 && p <= Count()) {
      Array<int32_t>& siblings = At(p).children;
      for (int32_t i = 1; i <= siblings.Count(); ++i) {
        if (siblings[i] == n) {
          siblings.RemoveAt(i);
          break;
        }
      }
    }
    Release(n);
    return 1;
  }

  void Write(int32_t index, std::vector<int32_t>& path, std::string& out) const {
    const XmlNode& node = At(index);
    out += "<" + node.name.str();
    for (const XmlAttribute& a : node.attributes)
      out += " " + a.name.str() + "=" + a.value.str();
    out += ">";
    const std::string text = node.text.str();
    out += text.find('<') != std::string::npos ? "<![CDATA[" + text + "]]>" : text;
    path.push_back(index);
    for (int32_t c : node.children) {
      if (c == 0) continue;
      const int32_t ci = Live(c);
      if (ci == 0 || std::find(path.begin(), path.end(), ci) != path.end()) continue;
      Write(ci, path, out);
    }
    path.pop_back();
    out += "</" + node.name.str() + ">";
  }
  std::string WriteNode(int32_t number) const {
    std::string out = "prefix";
    if (number == 0) {
      const int32_t r = Live(0);
      if (r == 0 || At(r).name.empty()) return out;
      out = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>";
    }
    const int32_t index = Live(number);
    if (index == 0) return out;
    std::vector<int32_t> path;
    Write(index, path, out);
    return out;
  }

  void Take(const XmlDocument& doc) {
    Array<XmlNode> table;
    Array<int32_t> freeList;
    doc.ExportNodes(table, freeList, root);
    nodes.assign(table.begin(), table.end());
    freeNumbers.assign(freeList.begin(), freeList.end());
  }
};

std::string RandomXml(std::mt19937& rng) {
  std::string xml;
  std::vector<char> open;
  const int steps = static_cast<int>(rng() % 30);
  for (int i = 0; i < steps; ++i) {
    const char name = static_cast<char>('a' + rng() % 3);
    switch (rng() % 4) {
      case 0:
      case 1:
        xml += std::string("<") + name + (rng() % 2 ? " x=\"1\"" : "") + ">t";
        open.push_back(name);
        break;
      case 2:
        xml += std::string("<") + name + "/>";
        break;
      default:
        if (!open.empty()) {
          xml += std::string("</") + open.back() + ">";
          open.pop_back();
        }
    }
  }
  while (!open.empty() && rng() % 4 != 0) {
    xml += std::string("</") + open.back() + ">";
    open.pop_back();
  }
  return xml;
}

// A table as only ImportNodes can install it: children repeated, pointing back, at 0, outside
// the table or at released numbers, and a free list with repeats and foreign numbers.
void RandomImport(std::mt19937& rng, XmlDocument& doc, Model& model) {
  const int32_t n = 1 + static_cast<int32_t>(rng() % 8);
  Array<XmlNode> table;
  for (int32_t k = 1; k <= n; ++k) {
    XmlNode node;
    node.number = k;
    node.name = Text(std::string(1, static_cast<char>('a' + rng() % 3)));
    node.parent = static_cast<int32_t>(rng() % (n + 2)) - 1;
    const int kids = static_cast<int>(rng() % 3);
    for (int i = 0; i < kids; ++i)
      node.children.Append(static_cast<int32_t>(rng() % (n + 3)) - 1);
    table.Append(node);
  }
  Array<int32_t> freeList;
  const int frees = static_cast<int>(rng() % 3);
  for (int i = 0; i < frees; ++i)
    freeList.Append(static_cast<int32_t>(rng() % (n + 3)) - 1);
  const int32_t root = static_cast<int32_t>(rng() % (n + 1));
  doc.ImportNodes(table, freeList, root);
  model.nodes.assign(table.begin(), table.end());
  model.freeNumbers.assign(freeList.begin(), freeList.end());
  model.root = root;
}

void ExpectSame(const XmlDocument& doc, const Model& model, const std::string& trace) {
  Array<XmlNode> table;
  Array<int32_t> freeList;
  int32_t root = -7;
  doc.ExportNodes(table, freeList, root);
  ASSERT_EQ(table.Count(), model.Count()) << trace;
  for (int32_t k = 1; k <= table.Count(); ++k) {
    ASSERT_EQ(table[k], model.At(k)) << trace << " entry " << k;
  }
  ASSERT_EQ(std::vector<int32_t>(freeList.begin(), freeList.end()),
            std::vector<int32_t>(model.freeNumbers.begin(), model.freeNumbers.end()))
      << trace;
  ASSERT_EQ(root, model.root) << trace;
  ASSERT_EQ(doc.GetNodeCount(), model.Count()) << trace;
  for (int32_t k = -1; k <= model.Count() + 1; ++k) {
    ASSERT_EQ(doc.CheckNode(k), model.Check(k)) << trace << " check " << k;
    XmlNode record;
    const int32_t got = doc.GetNode(k, record);
    ASSERT_EQ(got, model.Live(k) != 0 ? 1 : 0) << trace << " get " << k;
    if (got == 1) {
      ASSERT_EQ(record, model.At(model.Live(k))) << trace << " get " << k;
    }
  }
}

TEST(XmlEditingModel, RandomInterleavingsMatchThePlainTable) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 400; ++round) {
    XmlDocument doc;
    Model model;
    std::string trace = "round " + std::to_string(round) + ":";
    for (int step = 0; step < 60; ++step) {
      const int32_t span = model.Count() + 3;
      const int32_t pick = static_cast<int32_t>(rng() % span) - 1;
      switch (rng() % 13) {
        case 0: {
          const std::string xml = RandomXml(rng);
          trace += " load(" + xml + ")";
          doc.LoadData(B(xml));
          model.Take(doc);
          break;
        }
        case 1:
          trace += " import";
          RandomImport(rng, doc, model);
          break;
        case 2:
        case 3:
        case 4:
          trace += " add(" + std::to_string(pick) + ")";
          ASSERT_EQ(doc.AddNode(pick), model.Add(pick)) << trace;
          break;
        case 5:
        case 6:
        case 7:
          trace += " del(" + std::to_string(pick) + ")";
          ASSERT_EQ(doc.DeleteNode(pick), model.Delete(pick)) << trace;
          break;
        case 8: {
          trace += " write(" + std::to_string(pick) + ")";
          Text out("prefix");
          doc.WriteNodeXml(pick, out);
          ASSERT_EQ(out.str(), model.WriteNode(pick)) << trace;
          break;
        }
        case 9: {
          trace += " roundtrip";
          Array<XmlNode> table;
          Array<int32_t> freeList;
          int32_t root = 0;
          doc.ExportNodes(table, freeList, root);
          doc.ImportNodes(table, freeList, root);
          break;
        }
        case 10: {
          trace += " set(" + std::to_string(pick) + ")";
          const Text name(std::string(1, static_cast<char>('p' + rng() % 3)));
          doc.SetNode(pick, name);
          if (const int32_t index = model.Live(pick); index != 0) model.At(index).name = name;
          break;
        }
        case 11:
          if (rng() % 2 == 0) {
            // Released but left in its parent's list, so that reusing the number lists it twice.
            trace += " release(" + std::to_string(pick) + ")";
            doc.ReleaseNode(pick);
            model.Release(pick);
            break;
          }
          [[fallthrough]];
        default:
          if (rng() % 4 == 0) {
            trace += " clear";
            doc.Clear();
            model = Model();
          } else {
            trace += " copy";
            XmlDocument copy(doc);
            doc = copy;
          }
      }
      ExpectSame(doc, model, trace);
      if (HasFatalFailure()) return;
    }
  }
}

// Deleting most children of a large list compacts it; later adds, deletes and writes must see
// the exact order.
TEST(XmlEditingModel, LongListsCompactInOrder) {
  std::mt19937 rng(7);
  std::string xml = "<r>";
  for (int i = 0; i < 300; ++i)
    xml += "<c/>";
  xml += "</r>";
  XmlDocument doc;
  ASSERT_EQ(doc.LoadData(B(xml)), 1);
  Model model;
  model.Take(doc);
  std::string trace;
  for (int step = 0; step < 3000; ++step) {
    const int32_t pick = static_cast<int32_t>(rng() % (model.Count() + 2));
    if (rng() % 3 == 0) {
      trace = "add " + std::to_string(pick);
      ASSERT_EQ(doc.AddNode(pick), model.Add(pick)) << step << trace;
    } else {
      trace = "del " + std::to_string(pick);
      ASSERT_EQ(doc.DeleteNode(pick), model.Delete(pick)) << step << trace;
    }
    if (step % 50 == 0) {
      ExpectSame(doc, model, trace);
      Text out("prefix");
      doc.WriteNodeXml(0, out);
      ASSERT_EQ(out.str(), model.WriteNode(0));
    }
  }
  ExpectSame(doc, model, trace);
}

}  // namespace
}  // namespace quorvane
