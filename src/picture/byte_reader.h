// Bounds-checked reading of little-endian fields from untrusted picture data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvane::picture_detail {

using ByteSpan = std::span<const unsigned char>;

// True when [offset, offset + length) lies inside a buffer of `size` bytes; written so that no
// sum can wrap around.
inline bool RangeFits(size_t size, uint64_t offset, uint64_t length) {
  return offset <= size && length <= size - offset;
}

// Reads fixed-size fields at absolute offsets. A read past the end answers false and leaves the
// output alone, so a caller checks every field it depends on.
class ByteReader {
 public:
  explicit ByteReader(ByteSpan data) : data_(data) {}

  size_t size() const { return data_.size(); }
  ByteSpan data() const { return data_; }

  bool U8(uint64_t offset, uint32_t& out) const {
    if (!RangeFits(data_.size(), offset, 1)) return false;
    out = data_[offset];
    return true;
  }
  bool U16(uint64_t offset, uint32_t& out) const {
    if (!RangeFits(data_.size(), offset, 2)) return false;
    out = uint32_t{data_[offset]} | uint32_t{data_[offset + 1]} << 8;
    return true;
  }
  bool U32(uint64_t offset, uint32_t& out) const {
    if (!RangeFits(data_.size(), offset, 4)) return false;
    out = uint32_t{data_[offset]} | uint32_t{data_[offset + 1]} << 8 |
          uint32_t{data_[offset + 2]} << 16 | uint32_t{data_[offset + 3]} << 24;
    return true;
  }
  bool I32(uint64_t offset, int32_t& out) const {
    uint32_t raw = 0;
    if (!U32(offset, raw)) return false;
    out = static_cast<int32_t>(raw);  // two's complement, defined since C++20
    return true;
  }

 private:
  ByteSpan data_;
};

}  // namespace quorvane::picture_detail
