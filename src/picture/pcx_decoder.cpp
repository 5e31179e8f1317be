// PCX: a 128-byte header, run-length rows, and for 256 colours a palette in the last 769 bytes.
#include "picture/decoders.h"
#include "picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

constexpr uint64_t kHeaderSize = 128;
constexpr uint64_t kPaletteSize = 769;  // the 0x0C marker and 256 RGB triples

// Unpacks the run-length stream one row at a time. A run may carry over from one row into the
// next, as some writers do; it can never write past the row buffer or read past `end`.
class RleReader {
 public:
  RleReader(ByteSpan data, uint64_t start, uint64_t end) : data_(data), at_(start), end_(end) {}

  bool ReadRow(std::vector<unsigned char>& row) {
    size_t filled = 0;
    while (filled < row.size()) {
      if (pending_ == 0) {
        if (at_ >= end_) return false;
        const unsigned char byte = data_[at_++];
        if ((byte & 0xC0) == 0xC0) {
          if (at_ >= end_) return false;
          pending_ = byte & 0x3F;  // may be zero: then the next code is read
          value_ = data_[at_++];
          continue;
        }
        pending_ = 1;
        value_ = byte;
      }
      row[filled++] = value_;
      --pending_;
    }
    return true;
  }

 private:
  ByteSpan data_;
  uint64_t at_;
  uint64_t end_;
  uint32_t pending_ = 0;
  unsigned char value_ = 0;
};

}  // namespace

std::optional<DecodedPicture> DecodePcx(ByteSpan data) {
  const ByteReader reader(data);
  uint32_t magic = 0, version = 0, encoding = 0, bits = 0;
  uint32_t xMin = 0, yMin = 0, xMax = 0, yMax = 0, planes = 0, bytesPerLine = 0;
  if (data.size() < kHeaderSize) return std::nullopt;
  reader.U8(0, magic);
  reader.U8(1, version);
  reader.U8(2, encoding);
  reader.U8(3, bits);
  reader.U16(4, xMin);
  reader.U16(6, yMin);
  reader.U16(8, xMax);
  reader.U16(10, yMax);
  reader.U8(65, planes);
  reader.U16(66, bytesPerLine);
  if (magic != 0x0A || encoding != 1 || planes != 1) return std::nullopt;
  const bool colour = bits == 8 && version <= 5;
  const bool mono = bits == 1 && version == 3;
  if (!colour && !mono) return std::nullopt;

  const int64_t width = int64_t{xMax} - xMin + 1;
  const int64_t height = int64_t{yMax} - yMin + 1;
  std::optional<DecodedPicture> picture = NewPicture(PictureKind::Pcx, width, height, kOpaqueBlack);
  if (!picture) return std::nullopt;
  const int64_t rowBytes = colour ? width : (width + 7) / 8;
  if (bytesPerLine < rowBytes) return std::nullopt;

  uint32_t palette[256] = {};
  uint64_t dataEnd = data.size();
  if (colour) {
    if (data.size() < kHeaderSize + kPaletteSize) return std::nullopt;
    dataEnd = data.size() - kPaletteSize;
    if (data[dataEnd] != 0x0C) return std::nullopt;
    for (size_t i = 0; i < 256; ++i) {
      const unsigned char* p = data.data() + dataEnd + 1 + 3 * i;
      palette[i] = Argb(255, p[0], p[1], p[2]);
    }
  }

  RleReader rle(data, kHeaderSize, dataEnd);
  std::vector<unsigned char> row(bytesPerLine);
  std::vector<uint32_t>& pixels = picture->frames[0].pixels;
  for (int64_t y = 0; y < height; ++y) {
    if (!rle.ReadRow(row)) return std::nullopt;
    uint32_t* out = pixels.data() + y * width;
    for (int64_t x = 0; x < width; ++x) {
      out[x] =
          colour ? palette[row[x]] : ((row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFFFu : kOpaqueBlack);
    }
  }
  return picture;
}

}  // namespace quorvane::picture_detail
