// Reading DIB headers and their uncompressed, bit-field and run-length pixel rows.
#include "picture/dib.h"

#include <bit>

#include "picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

bool ValidDepth(uint32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

// One channel of a bit-field pixel scaled to 0…255; any mask works, even a scattered one.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (mask != 0) {
      shift = std::countr_zero(mask);
      max = mask >> shift;
    }
  }
  uint32_t Scale(uint32_t value, uint32_t absent) const {
    if (max == 0) return absent;
    const uint64_t raw = (value & mask) >> shift;
    return static_cast<uint32_t>((raw * 255 + max / 2) / max);
  }
};

bool ReadMasks(const ByteReader& reader, uint64_t offset, int count, uint32_t masks[4]) {
  for (int i = 0; i < count; ++i) {
    if (!reader.U32(offset + 4 * static_cast<uint64_t>(i), masks[i])) return false;
  }
  return true;
}

uint32_t PaletteColour(const DibInfo& info, uint32_t index) {
  return index < info.palette.size() ? info.palette[index] : kOpaqueBlack;
}

void DecodeRow(const unsigned char* row, const DibInfo& info, DibAlpha alpha,
               const Channel channels[4], uint32_t* out) {
  const int64_t width = info.width;
  switch (info.bitsPerPixel) {
    case 1:
    case 4:
    case 8: {
      const uint32_t bits = info.bitsPerPixel;
      const uint32_t perByte = 8 / bits;
      const uint32_t valueMask = (1u << bits) - 1;
      for (int64_t x = 0; x < width; ++x) {
        const unsigned char byte = row[x / perByte];
        const uint32_t shift = 8 - bits * (static_cast<uint32_t>(x % perByte) + 1);
        out[x] = PaletteColour(info, (byte >> shift) & valueMask);
      }
      return;
    }
    case 24:
      for (int64_t x = 0; x < width; ++x) {
        const unsigned char* p = row + 3 * x;
        out[x] = Argb(255, p[2], p[1], p[0]);
      }
      return;
    case 16:
    case 32: {
      const bool wide = info.bitsPerPixel == 32;
      const bool keep = alpha == DibAlpha::Keep && wide && channels[3].max != 0;
      for (int64_t x = 0; x < width; ++x) {
        uint32_t v = 0;
        if (wide) {
          const unsigned char* p = row + 4 * x;
          v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
        } else {
          const unsigned char* p = row + 2 * x;
          v = uint32_t{p[0]} | uint32_t{p[1]} << 8;
        }
        out[x] = Argb(keep ? channels[3].Scale(v, 255) : 255, channels[0].Scale(v, 0),
                      channels[1].Scale(v, 0), channels[2].Scale(v, 0));
      }
      return;
    }
  }
}

// Run-length rows, bottom-up. Pixels a run leaves out stay black; runs that go past the right
// edge are cut off there, and the stream must end with its end-of-bitmap code.
bool DecodeRle(ByteSpan data, uint64_t offset, const DibInfo& info, int64_t rows,
               std::span<uint32_t> out) {
  const bool four = info.compression == kBiRle4;
  const int64_t width = info.width;
  int64_t x = 0;
  int64_t y = rows - 1;  // destination row, counted from the top
  auto put = [&](uint32_t index) {
    if (x < width && y >= 0) out[static_cast<size_t>(y * width + x)] = PaletteColour(info, index);
    ++x;
  };
  uint64_t at = offset;
  while (true) {
    if (!RangeFits(data.size(), at, 2)) return false;
    const uint32_t count = data[at];
    const uint32_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) {
        put(four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      --y;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // move right and up
      if (!RangeFits(data.size(), at, 2)) return false;
      x += data[at];
      y -= data[at + 1];
      at += 2;
    } else {  // `value` pixels stored as they are, padded to an even number of bytes
      const uint64_t bytes = four ? (value + 1) / 2 : value;
      const uint64_t padded = (bytes + 1) / 2 * 2;
      if (!RangeFits(data.size(), at, padded)) return false;
      for (uint32_t i = 0; i < value; ++i) {
        const unsigned char byte = data[at + (four ? i / 2 : i)];
        put(four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
      }
      at += padded;
    }
    // Rows above the top are out of the picture; nothing more can be drawn.
    if (y < 0) return true;
  }
}

}  // namespace

std::optional<DibInfo> ReadDibInfo(ByteSpan data, uint64_t offset) {
  const ByteReader reader(data);
  uint32_t headerSize = 0;
  if (!reader.U32(offset, headerSize)) return std::nullopt;

  DibInfo info;
  uint32_t entrySize = 4;
  uint64_t tableCount = 0;
  if (headerSize == kCoreHeaderSize) {
    uint32_t width = 0, height = 0, bits = 0;
    if (!reader.U16(offset + 4, width) || !reader.U16(offset + 6, height) ||
        !reader.U16(offset + 10, bits)) {
      return std::nullopt;
    }
    info.width = width;
    info.height = height;
    info.bitsPerPixel = bits;
    info.compression = kBiRgb;
    if (bits == 16 || bits == 32) return std::nullopt;  // the old header knows no such depths
    entrySize = 3;
    tableCount = bits <= 8 ? (1u << bits) : 0;
    info.tablesEnd = offset + headerSize;
  } else if (headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
             headerSize == 108 || headerSize == 124) {
    int32_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0, used = 0;
    if (!reader.I32(offset + 4, width) || !reader.I32(offset + 8, height) ||
        !reader.U16(offset + 14, bits) || !reader.U32(offset + 16, compression) ||
        !reader.U32(offset + 32, used)) {
      return std::nullopt;
    }
    info.width = width;
    info.height = height;
    info.bitsPerPixel = bits;
    info.compression = compression;
    info.tablesEnd = offset + headerSize;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      if (bits != 16 && bits != 32) return std::nullopt;
      const int count = compression == kBiAlphaBitfields ? 4 : 3;
      if (headerSize == kInfoHeaderSize) {
        // The masks follow the short header as a small table of their own.
        if (!ReadMasks(reader, info.tablesEnd, count, info.masks)) return std::nullopt;
        info.tablesEnd += 4 * static_cast<uint64_t>(count);
      } else if (!ReadMasks(reader, offset + 40, headerSize >= 56 ? 4 : 3, info.masks)) {
        return std::nullopt;
      }
    } else if (compression == kBiRle8) {
      if (bits != 8) return std::nullopt;
    } else if (compression == kBiRle4) {
      if (bits != 4) return std::nullopt;
    } else if (compression != kBiRgb) {
      return std::nullopt;
    }
    tableCount = used != 0 ? used : (bits <= 8 ? (1u << bits) : 0);
  } else {
    return std::nullopt;
  }
  if (!ValidDepth(info.bitsPerPixel)) return std::nullopt;

  if (info.compression == kBiRgb && (info.bitsPerPixel == 16 || info.bitsPerPixel == 32)) {
    if (info.bitsPerPixel == 16) {
      info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
    } else {
      info.masks[0] = 0x00FF0000, info.masks[1] = 0x0000FF00, info.masks[2] = 0x000000FF;
      info.masks[3] = 0xFF000000;
    }
  }

  if (!RangeFits(data.size(), info.tablesEnd, tableCount * entrySize)) return std::nullopt;
  // Only indices 0…255 can occur; a longer table is skipped over, not read.
  const uint64_t readable = info.bitsPerPixel <= 8 ? std::min<uint64_t>(tableCount, 256) : 0;
  info.palette.reserve(static_cast<size_t>(readable));
  for (uint64_t i = 0; i < readable; ++i) {
    const unsigned char* p = data.data() + info.tablesEnd + i * entrySize;
    info.palette.push_back(Argb(255, p[2], p[1], p[0]));
  }
  info.tablesEnd += tableCount * entrySize;
  return info;
}

std::optional<uint64_t> DecodeDibPixels(ByteSpan data, uint64_t pixelOffset, const DibInfo& info,
                                        int64_t rows, DibAlpha alpha, std::span<uint32_t> out) {
  if (info.width < 1 || rows < 1 || out.size() != static_cast<uint64_t>(info.width * rows)) {
    return std::nullopt;
  }
  const bool topDown = info.height < 0;
  if (info.compression == kBiRle8 || info.compression == kBiRle4) {
    // Run-length bitmaps are bottom-up by definition.
    if (topDown || !DecodeRle(data, pixelOffset, info, rows, out)) return std::nullopt;
    return data.size();
  }
  const uint64_t stride = DibStride(info.width, info.bitsPerPixel);
  if (!RangeFits(data.size(), pixelOffset, stride * static_cast<uint64_t>(rows))) {
    return std::nullopt;
  }
  const Channel channels[4] = {Channel(info.masks[0]), Channel(info.masks[1]),
                               Channel(info.masks[2]), Channel(info.masks[3])};
  for (int64_t stored = 0; stored < rows; ++stored) {
    const int64_t y = topDown ? stored : rows - 1 - stored;
    const unsigned char* row = data.data() + pixelOffset + static_cast<uint64_t>(stored) * stride;
    DecodeRow(row, info, alpha, channels, out.data() + y * info.width);
  }
  return pixelOffset + stride * static_cast<uint64_t>(rows);
}

}  // namespace quorvane::picture_detail
