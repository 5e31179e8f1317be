// Icon and cursor files: a directory of entries, one of which is chosen and decoded either as a
// DIB with its AND mask or, in newer files, as an embedded PNG.
#include <cstring>

#include "picture/decoders.h"
#include "picture/dib.h"
#include "picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

constexpr uint64_t kDirectoryHeaderSize = 6;
constexpr uint64_t kEntrySize = 16;

struct IconEntry {
  uint64_t offset = 0;
  uint64_t size = 0;
};

// The first entry that is 32 pixels wide with at least 16 colours, otherwise the last one.
std::optional<IconEntry> ChooseEntry(const ByteReader& reader) {
  uint32_t count = 0;
  if (!reader.U16(4, count) || count == 0) return std::nullopt;
  if (!RangeFits(reader.size(), kDirectoryHeaderSize, count * kEntrySize)) return std::nullopt;
  uint64_t chosen = count - 1;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = kDirectoryHeaderSize + i * kEntrySize;
    uint32_t width = 0, colours = 0;
    reader.U8(entry, width);
    reader.U8(entry + 2, colours);
    if (width == 32 && colours >= 16) {
      chosen = i;
      break;
    }
  }
  const uint64_t entry = kDirectoryHeaderSize + chosen * kEntrySize;
  uint32_t size = 0, offset = 0;
  reader.U32(entry + 8, size);
  reader.U32(entry + 12, offset);
  if (size == 0 || !RangeFits(reader.size(), offset, size)) return std::nullopt;
  return IconEntry{offset, size};
}

std::optional<DecodedPicture> DecodePngEntry(ByteSpan bytes, PictureKind kind) {
  std::optional<DecodedPicture> picture = DecodePng(bytes);
  if (!picture) return std::nullopt;
  picture->kind = kind;
  // The PNG's own alpha is its transparency; the mask says the same in one bit.
  const std::vector<uint32_t>& pixels = picture->frames[0].pixels;
  picture->mask.resize(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i)
    picture->mask[i] = (pixels[i] >> 24) == 0 ? 1 : 0;
  return picture;
}

std::optional<DecodedPicture> DecodeDibEntry(ByteSpan bytes, PictureKind kind) {
  const std::optional<DibInfo> info = ReadDibInfo(bytes, 0);
  if (!info) return std::nullopt;
  // The stored height covers the colour rows and the mask rows together.
  const int64_t doubled = info->height < 0 ? -info->height : info->height;
  const int64_t rows = doubled / 2;
  std::optional<DecodedPicture> picture = NewPicture(kind, info->width, rows, kOpaqueBlack);
  if (!picture) return std::nullopt;
  std::vector<uint32_t>& pixels = picture->frames[0].pixels;
  const std::optional<uint64_t> maskOffset =
      DecodeDibPixels(bytes, info->tablesEnd, *info, rows, DibAlpha::Keep, pixels);
  if (!maskOffset) return std::nullopt;

  const bool withAlpha = info->bitsPerPixel == 32;
  if (withAlpha) {
    // Older 32-bit icons leave the fourth byte at zero and rely on the mask alone; taking that
    // byte as alpha would make them vanish.
    bool anyAlpha = false;
    for (uint32_t pixel : pixels)
      anyAlpha |= (pixel >> 24) != 0;
    if (!anyAlpha) {
      for (uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    }
  }

  picture->mask.assign(pixels.size(), 0);
  const uint64_t stride = DibStride(info->width, 1);
  const bool maskFits = RangeFits(bytes.size(), *maskOffset, stride * static_cast<uint64_t>(rows));
  if (!maskFits) {
    // A 32-bit entry carries its transparency in the alpha byte, so its mask may be left out.
    if (!withAlpha) return std::nullopt;
    return picture;
  }
  const bool topDown = info->height < 0;
  for (int64_t stored = 0; stored < rows; ++stored) {
    const int64_t y = topDown ? stored : rows - 1 - stored;
    const unsigned char* row = bytes.data() + *maskOffset + static_cast<uint64_t>(stored) * stride;
    for (int64_t x = 0; x < info->width; ++x) {
      picture->mask[static_cast<size_t>(y * info->width + x)] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  return picture;
}

}  // namespace

std::optional<DecodedPicture> DecodeIcon(ByteSpan data, PictureKind kind) {
  const ByteReader reader(data);
  const std::optional<IconEntry> entry = ChooseEntry(reader);
  if (!entry) return std::nullopt;
  const ByteSpan bytes = data.subspan(entry->offset, entry->size);
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0) {
    return DecodePngEntry(bytes, kind);
  }
  return DecodeDibEntry(bytes, kind);
}

}  // namespace quorvane::picture_detail
