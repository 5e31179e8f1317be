// XmlDocument: the document as a flat table of numbered nodes. Callers hold node numbers, never
// pointers into the table. Number 0 stands for the root where the operations say so, and -1 is
// the failure result of operations that answer a number.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// Records refer to each other by number only, so copying and destroying a document are flat
// loops over the table whatever the nesting depth; the defaulted copy and destructor suffice.
class XmlDocument {
 public:
  // ---- Node access (xml_document.cpp) ------------------------------------------------------

  // 1 when loaded, 0 when not (the document is then empty). utf8ByDefault != 0 decodes the data
  // from UTF-8 unless its declaration names gb2312. Empty data loads as a document without root.
  int32_t LoadData(const Bytes& data, int32_t utf8ByDefault = 0, int32_t quoteAware = 0);
  // 1 and a deep copy in `record`; 0 and `record` untouched when `number` is no live node.
  // 0 stands for the root.
  int32_t GetNode(int32_t number, XmlNode& record) const;
  // The node's name; empty when there is no root or no such live node. 0 stands for the root.
  Text GetNodeName(int32_t number) const;

  // Empties every field; the document is then as new.
  void Clear();
  // -1 for a number outside the table or released, 0 for the root, 1 for any other live node.
  // 0 itself is an ordinary number here and never live.
  int32_t CheckNode(int32_t number) const;
  // The bytes last given to LoadData, unconverted; empty after Clear or a failed load.
  Bytes GetRawData() const;
  // Size of the node table, released entries included; 0 for an empty document.
  int32_t GetNodeCount() const;

  // ---- Writer (xml_writer.cpp) -------------------------------------------------------------

  // Declaration plus the root's subtree; empty when there is no root or its name is empty.
  Text ToXmlText() const;
  // Number 0 replaces `output` by the declaration and the root's subtree (and leaves it alone
  // when there is no named root); any other number appends that node's subtree. A number that
  // is no live node writes nothing. A child listed twice is written twice; a child that is
  // already being written (an imported table leading back to an ancestor), or 0 as a child, is
  // skipped, so such a table still ends.
  void WriteNodeXml(int32_t number, Text& output) const;

  // ---- Editing (xml_editing.cpp) -----------------------------------------------------------

  // -1 when number is no live node, 0 for the root (nothing deleted), 1 once the node and its
  // subtree are released. A node without parent is released without touching any child list.
  int32_t DeleteNode(int32_t number);
  // Puts number and its whole subtree, pre-order, on the free list. Numbers that are not live
  // (also those met again through a cyclic imported table) are skipped.
  void ReleaseNode(int32_t number);
  // Applies the given parts only; does nothing when number (0 for the root) is no live node.
  void SetNode(int32_t number, std::optional<Text> name = std::nullopt,
               std::optional<Text> text = std::nullopt,
               std::optional<Array<XmlAttribute>> attributes = std::nullopt);
  // New empty child at the end of parent's children (0 for the root), reusing the first
  // released number; -1 when parent is no live node (so always on a document without root).
  int32_t AddNode(int32_t parent);
  // Replaces the three variables by copies of the table, the free list and the root.
  void ExportNodes(Array<XmlNode>& nodesOut, Array<int32_t>& freeNumbersOut,
                   int32_t& rootOut) const;
  // Clears the document and installs copies of the given table, free list and root unchecked.
  void ImportNodes(const Array<XmlNode>& nodesIn, const Array<int32_t>& freeNumbersIn,
                   int32_t rootIn);

  // ---- Path lookup (xml_lookup.cpp) --------------------------------------------------------

  // Number reached by the "/"-separated steps (0 for the root); -1 when a step fails or the
  // path has no steps.
  int32_t FindPath(const Text& path) const;
  // One step from parent (negative: nothing reached yet; 0: the root); -1 when it fails.
  int32_t FindChild(int32_t parent, const Text& step) const;

  // ---- The load's passes, callable one by one (xml_encoding.cpp, xml_cdata.cpp,
  //      xml_split.cpp, xml_parse.cpp, xml_tags.cpp) ----------------------------------------

  // 1 when data was replaced by its conversion from UTF-8, 0 when left alone (gb2312 declared,
  // or no UTF-8 declared and utf8ByDefault 0).
  static int32_t ConvertEncoding(Bytes& data, int32_t utf8ByDefault);
  // Cuts every CDATA section into cdataSections, leaving a placeholder; returns their number.
  // An opener without "]]>" after it ends the extraction; it stays in the data as it is, except
  // at the data's first byte, where it is cut out as an empty section.
  int32_t ExtractCdata(Bytes& data);
  // "@" and `length` random capitals (none for a length below 1) that occur nowhere in data;
  // empty when 100 attempts all occur.
  static Bytes MakeCdataMarker(const Bytes& data, int32_t length = 5);
  // The section whose placeholder value holds, or value itself (up to its first zero byte).
  Text RestoreCdata(const Bytes& value) const;
  // Fills nodes and root from data; 0 (and the document cleared) for malformed input.
  int32_t ParseXml(const Bytes& data, int32_t quoteAware);
  // Replaces pieces by data split at the one-byte delimiter outside double quotes; the last
  // piece is always appended, even empty. An empty delimiter gives data as the one piece.
  static void SplitOutsideQuotes(const Bytes& data, const Bytes& delimiter, Array<Bytes>& pieces);
  // Copy without space, tab, CR and LF bytes; empty for empty input.
  static Bytes StripWhitespace(const Bytes& bytes);
  // The piece without whitespace, "/" and ">" bytes, as text (so cut at a zero byte); returns 1.
  static int32_t GetClosingName(const Bytes& piece, Text& name);
  // Fills node from an opening (withText 1) or self-closing (withText 0) tag piece whose last
  // ">" is at tagEnd; 0 when an attribute has no "=". length and tagEnd are clamped to the piece.
  int32_t ParseTag(const Bytes& piece, int32_t length, int32_t tagEnd, XmlNode& node,
                   int32_t withText) const;

  // ---- Read-only views of the remaining fields, for inspection -----------------------------

  const Array<Bytes>& CdataSections() const { return cdataSections; }
  const Bytes& CdataMarker() const { return cdataMarker; }

 private:
  // Table index for a node number (0 for the root), or 0 when it names no live node.
  int32_t LiveIndex(int32_t number) const;
  // ParseTag on a piece already cut into the tag's content (before its last ">") and the text
  // after it.
  int32_t ParseTagView(std::string_view content, std::string_view textPart, XmlNode& node,
                       bool withText) const;
  Text RestoreCdataView(std::string_view value) const;
  // The passes on views, so that LoadData copies the data only where a pass changes it.
  // ConvertEncodingInto sets `converted` only when the conversion changes a byte; plainAscii,
  // when known, spares it the look at every byte. ExtractCdataInto searches the data for its
  // marker only when mayHoldAt (an "@" occurs in it).
  static int32_t ConvertEncodingInto(const Bytes& data, int32_t utf8ByDefault,
                                     std::optional<bool> plainAscii, Bytes& converted,
                                     bool& changed);
  int32_t ExtractCdataInto(std::string_view data, bool mayHoldAt, std::string& rewritten);
  int32_t ParseView(std::string_view data, int32_t quoteAware);
  void PushFree(int32_t number);
  int32_t PopFree();
  // Forgets the editing bookkeeping below; trusted says whether the new table is one that
  // only the loader and the editing operations have built.
  void ResetEditing(bool trusted);
  // The editing side of the children lists (xml_editing.cpp). DeleteNode marks the entry it
  // removes instead of moving every later sibling, and a list is compacted once half of it is
  // marked, so that deleting every child of a node costs time linear in their number.
  struct RemovedEntries {
    std::vector<bool> at;  // by position - 1; positions past its end are not removed
    int32_t count = 0;
  };
  const RemovedEntries* RemovedOf(int32_t index) const;
  static bool IsRemoved(const RemovedEntries* removed, int32_t position) {
    return removed != nullptr && static_cast<size_t>(position - 1) < removed->at.size() &&
           removed->at[static_cast<size_t>(position - 1)];
  }
  // Entry index's children as every operation sees them: without the marked entries.
  Array<int32_t> VisibleChildren(int32_t index) const;
  // Position of the first unmarked occurrence of number in parent's list, 0 when none.
  int32_t ChildPosition(int32_t parent, int32_t number);
  void RemoveChildAt(int32_t parent, int32_t position);

  Bytes rawData;
  Array<XmlNode> nodes;
  Array<Bytes> cdataSections;
  Bytes cdataMarker;
  int32_t root = 0;
  // Numbers in the order of release; AddNode takes them from the front.
  std::deque<int32_t> freeNumbers;
  // How often each number occurs in freeNumbers, so CheckNode need not search the list.
  std::unordered_map<int32_t, int32_t> freeCount;
  std::unordered_map<int32_t, RemovedEntries> removedChildren;
  // True while the table is a tree as the loader and the editing operations build it: every
  // live node is listed once, in its parent's list. Then slotOf, built on first need, gives
  // each node's position there (0: none). An imported table is installed unchecked, and the
  // position is then searched for.
  bool trustedTree = true;
  std::vector<int32_t> slotOf;
  // Memory for LoadData's working copy, kept from one load to the next as rawData's is: the
  // program reloads its one document with every query, and a fresh buffer of the page's size
  // would cost an allocation and page faults each time. Its contents mean nothing between
  // loads, so a copied document starts without them.
  struct ScratchBuffer {
    std::string bytes;
    ScratchBuffer() = default;
    ScratchBuffer(const ScratchBuffer&) {}
    ScratchBuffer& operator=(const ScratchBuffer&) { return *this; }
  };
  ScratchBuffer workingCopy;
  // The writer's marks of the nodes on the path being written, all clear between calls. Kept
  // so that writing one node of a large table does not cost a mark per table entry each time.
  struct PathMarks {
    std::vector<uint8_t> marked;
    PathMarks() = default;
    PathMarks(const PathMarks&) {}
    PathMarks& operator=(const PathMarks&) { return *this; }
  };
  mutable PathMarks onPath;
};

}  // namespace quorvane
