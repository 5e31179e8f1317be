// Operations on byte buffers. Every byte position counts; there is no character structure,
// and positions and counts are clamped rather than refused.
#include <algorithm>

#include "text/text_ops.h"

namespace quorvane {
namespace {

size_t ClampCount(int32_t n, size_t available) {
  return n <= 0 ? 0 : std::min(static_cast<size_t>(n), available);
}

// Start position clamped to 1…length + 1, as a 0-based index.
size_t ClampStartIndex(int32_t start, size_t length) {
  return start <= 1 ? 0 : std::min(static_cast<size_t>(start - 1), length);
}

int32_t ToPosition(size_t index) {
  return index == std::string_view::npos ? -1 : static_cast<int32_t>(index + 1);
}

}  // namespace

int32_t BytesLength(const Bytes& bytes) { return bytes.Length(); }

Bytes BytesLeft(const Bytes& bytes, int32_t n) {
  return Bytes(bytes.view().substr(0, ClampCount(n, bytes.size())));
}

Bytes BytesRight(const Bytes& bytes, int32_t n) {
  return Bytes(bytes.view().substr(bytes.size() - ClampCount(n, bytes.size())));
}

Bytes BytesMid(const Bytes& bytes, int32_t start, int32_t n) {
  const size_t from = ClampStartIndex(start, bytes.size());
  return Bytes(bytes.view().substr(from, ClampCount(n, bytes.size() - from)));
}

int32_t FindBytes(const Bytes& bytes, const Bytes& pattern, int32_t start) {
  if (pattern.empty()) return -1;
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start - 1);
  if (from >= bytes.size()) return -1;
  return ToPosition(bytes.view().find(pattern.view(), from));
}

int32_t FindBytesBackward(const Bytes& bytes, const Bytes& pattern) {
  if (pattern.empty()) return -1;
  return ToPosition(bytes.view().rfind(pattern.view()));
}

Bytes ReplaceBytesRange(const Bytes& bytes, int32_t start, int32_t n, const Bytes& replacement) {
  const std::string_view all = bytes.view();
  const size_t from = ClampStartIndex(start, all.size());
  const size_t removed = ClampCount(n, all.size() - from);
  std::string result;
  result.reserve(all.size() - removed + replacement.size());
  result.append(all.substr(0, from));
  result.append(replacement.view());
  result.append(all.substr(from + removed));
  return Bytes(std::move(result));
}

Bytes ReplaceAllBytes(const Bytes& bytes, const Bytes& pattern, const Bytes& replacement) {
  if (bytes.empty() || pattern.empty()) return bytes;
  const std::string_view all = bytes.view();
  std::string result;
  result.reserve(all.size());
  size_t copied = 0;
  for (size_t at = all.find(pattern.view()); at != std::string_view::npos;
       at = all.find(pattern.view(), copied)) {
    result.append(all.substr(copied, at - copied));
    result.append(replacement.view());
    copied = at + pattern.size();
  }
  result.append(all.substr(copied));
  return Bytes(std::move(result));
}

Array<Bytes> SplitBytes(const Bytes& bytes, const Bytes& separator) {
  Array<Bytes> pieces;
  if (bytes.empty()) return pieces;
  if (separator.empty()) {
    pieces.Append(bytes);
    return pieces;
  }
  const std::string_view all = bytes.view();
  size_t pieceStart = 0;
  for (size_t at = all.find(separator.view()); at != std::string_view::npos;
       at = all.find(separator.view(), pieceStart)) {
    pieces.Append(Bytes(all.substr(pieceStart, at - pieceStart)));
    pieceStart = at + separator.size();
  }
  if (pieceStart < all.size()) pieces.Append(Bytes(all.substr(pieceStart)));
  return pieces;
}

Bytes ZeroBytes(int32_t n) {
  if (n <= 0) return {};
  return Bytes(std::string(static_cast<size_t>(n), '\0'));
}

bool BytesEqual(const Bytes& left, const Bytes& right) { return left.view() == right.view(); }

}  // namespace quorvane
