// Small pictures made on the spot: JPEG, PNG and GIF through their libraries' encoders, BMP,
// ICO, CUR and PCX byte by byte, so that every test states exactly what its input holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/text.h"

namespace quorvane::test_support {

// Little-endian byte building.
class ByteWriter {
 public:
  ByteWriter& U8(uint32_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  ByteWriter& U16(uint32_t v) { return U8(v).U8(v >> 8); }
  ByteWriter& U32(uint32_t v) { return U16(v).U16(v >> 16); }
  ByteWriter& Raw(const std::string& more) {
    bytes_ += more;
    return *this;
  }
  ByteWriter& Zeros(size_t count) {
    bytes_.append(count, '\0');
    return *this;
  }
  size_t size() const { return bytes_.size(); }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

// A DIB: header of `headerSize` bytes (12 or 40), optional masks, colour table (B, G, R, 0 per
// entry), then `pixels` exactly as stored.
struct DibSpec {
  int32_t width = 1;
  int32_t height = 1;  // negative for top-down rows; doubled by the icon builder
  uint32_t bitsPerPixel = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  std::vector<uint32_t> masks;    // written after a 40-byte header
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::string pixels;
};
std::string Dib(const DibSpec& recipe);

// A BMP file around the DIB, its pixel offset pointing just past the tables.
Bytes Bmp(const DibSpec& recipe);

// Stored rows of 24-bit pixels (0xRRGGBB), each padded to four bytes; `rows` in stored order.
std::string Rows24(const std::vector<std::vector<uint32_t>>& rows);

struct IconEntrySpec {
  uint8_t widthByte = 32;
  uint8_t colourByte = 16;
  std::string image;  // a DIB (with its mask rows) or a PNG
};
// An icon (type 1) or cursor (type 2) file with the entries in this order.
Bytes Icon(uint16_t type, const std::vector<IconEntrySpec>& entries);

// A DIB for an icon: width × height 24-bit pixels of one colour, then the AND mask with the
// pixel at (maskX, maskY) (counted from the top) transparent.
std::string IconDib24(int32_t width, int32_t height, uint32_t rgb, int maskX, int maskY);

// PCX: header, the encoded data as given, then for 8 bits the 0x0C marker and 256 colours.
struct PcxSpec {
  uint8_t version = 5;
  uint8_t bitsPerPixel = 8;
  uint16_t xMax = 1;
  uint16_t yMax = 0;
  uint16_t bytesPerLine = 2;
  std::string encoded;
  std::vector<uint32_t> palette;  // 0xRRGGBB, padded to 256 entries
  bool withPalette = true;
};
Bytes Pcx(const PcxSpec& recipe);

// JPEG of width × height, each pixel `colour(x, y)` as 0xRRGGBB, at quality 100. Grey files
// use the blue byte; CMYK files take 0xCCMMYYKK values.
enum class JpegModel { Rgb, Grey, Cmyk };
Bytes Jpeg(int width, int height, JpegModel model, uint32_t (*colour)(int x, int y),
           bool progressive = false);

struct PngSpec {
  uint32_t width = 1;
  uint32_t height = 1;
  int colourType = 6;  // PNG_COLOR_TYPE_RGB_ALPHA
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::string> rows;      // samples exactly as they go into the file
  std::vector<uint32_t> palette;      // 0xRRGGBB
  std::vector<uint8_t> transparency;  // tRNS for palette files
};
Bytes Png(const PngSpec& recipe);

struct GifFrameSpec {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<uint8_t> indices;
  int delayHundredths = 0;
  int disposal = 0;
  int transparentIndex = -1;
  bool interlaced = false;
  std::vector<uint32_t> localColours;  // 0xRRGGBB; empty: use the global table
};
struct GifSpec {
  int width = 1, height = 1;
  std::vector<uint32_t> globalColours;  // 0xRRGGBB, a power of two entries; empty: none
  std::vector<GifFrameSpec> frames;
};
Bytes Gif(const GifSpec& recipe);

// Replaces the CRC of the PNG chunk starting at `chunkOffset` (its length field) after an edit.
void FixPngCrc(std::string& png, size_t chunkOffset);

}  // namespace quorvane::test_support
