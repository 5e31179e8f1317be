// The device-independent bitmap inside BMP files and icon entries: its header, colour table and
// pixel rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "picture/byte_reader.h"

namespace quorvane::picture_detail {

enum class DibAlpha { Opaque, Keep };

struct DibInfo {
  int64_t width = 0;
  int64_t height = 0;  // as stored: negative for top-down rows, doubled in icon entries
  uint32_t bitsPerPixel = 0;
  uint32_t compression = 0;
  uint32_t masks[4] = {};         // red, green, blue, alpha for 16- and 32-bit pixels
  std::vector<uint32_t> palette;  // opaque 0xAARRGGBB, at most 256 entries
  uint64_t tablesEnd = 0;         // offset just past header, masks and colour table
};

// The header starting at `offset`, checked for a supported variant and with its masks and colour
// table inside the buffer; nothing otherwise. Sides are not checked against the limits here.
std::optional<DibInfo> ReadDibInfo(ByteSpan data, uint64_t offset);

// Decodes `rows` rows of `info.width` pixels starting at `pixelOffset` into `out`, which holds
// width × rows pixels, top row first. Answers the offset just past the pixel rows (for the icon
// mask that follows them), or nothing when the rows do not fit in the buffer or a run-length
// stream is malformed.
std::optional<uint64_t> DecodeDibPixels(ByteSpan data, uint64_t pixelOffset, const DibInfo& info,
                                        int64_t rows, DibAlpha alpha, std::span<uint32_t> out);

// Bytes in one stored row of `width` pixels at `bitsPerPixel`, padded to four bytes.
inline uint64_t DibStride(int64_t width, uint32_t bitsPerPixel) {
  return (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace quorvane::picture_detail
