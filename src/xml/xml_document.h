// XmlDocument: the document as a flat table of numbered nodes. Callers hold node numbers, never
// pointers into the table. Number 0 stands for the root where the operations say so, and -1 is
// the failure result of operations that answer a number.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace quorvane {

struct XmlAttribute {
  Text name;
  // Every byte after the attribute's first "=", quotes included.
  Text value;
  friend bool operator==(const XmlAttribute&, const XmlAttribute&) = default;
};

struct XmlNode {
  Text name;
  Text text;
  Array<XmlAttribute> attributes;
  Array<int32_t> children;
  int32_t parent = 0;
  int32_t number = 0;
  friend bool operator==(const XmlNode&, const XmlNode&) = default;
};

class XmlDocument {
 public:
  // 1 when loaded, 0 when not (the document is then empty). utf8ByDefault != 0 decodes the data
  // from UTF-8 unless its declaration names gb2312.
  int32_t LoadData(const Bytes& data, int32_t utf8ByDefault = 0, int32_t quoteAware = 0);
  // 1 and a deep copy in `record`; 0 and `record` untouched when `number` is no live node.
  // 0 stands for the root.
  int32_t GetNode(int32_t number, XmlNode& record) const;
  // The node's name; empty when there is no root or no such live node. 0 stands for the root.
  Text GetNodeName(int32_t number) const;

  // The XML subsystem completes this class with the rest of its operations.
};

}  // namespace quorvane
