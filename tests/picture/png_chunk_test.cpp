// PNG chunks that lie about their length, or whose checksum is damaged, measured by the memory
// libpng holds while the decoder works on them. The files are built here, chunk by chunk.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "support/picture_fixtures.h"

namespace quorvane {
namespace {

using namespace test_support;
using picture_detail::ByteSpan;
using picture_detail::DecodePng;

constexpr size_t kAfterHeader = 8 + 25;  // the signature and the IHDR chunk

std::string U32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A 2 × 1 picture with its first pixel red and opaque.
std::string SmallPng() {
  PngSpec recipe;
  recipe.width = 2;
  recipe.rows = {std::string("\xFF\x00\x00\xFF\x00\x00\xFF\x80", 8)};
  return Png(recipe).str();
}

// A chunk with a right checksum over `data`, put in right after the header.
std::string WithChunk(const std::string& type, const std::string& data) {
  std::string png = SmallPng();
  png.insert(kAfterHeader, U32(static_cast<uint32_t>(data.size())) + type + data + U32(0));
  FixPngCrc(png, kAfterHeader);
  return png;
}

std::optional<DecodedPicture> Decode(const std::string& png, size_t* peak) {
  return DecodePng(ByteSpan(reinterpret_cast<const unsigned char*>(png.data()), png.size()), peak);
}

// The signature, the header, then a chunk that declares `length` bytes of which four are
// there, then the end chunk: 57 bytes in all.
std::string LyingChunk(const std::string& type, uint32_t length) {
  std::string png = SmallPng().substr(0, kAfterHeader);
  png += U32(length) + type + "abcd";
  png += U32(0) + "IEND" + U32(0xAE426082);
  return png;
}

TEST(PngChunks, DeclaredLengthBeyondTheFileAllocatesNothing) {
  for (const char* type :
       {"tEXt", "zTXt", "iTXt", "pCAL", "sCAL", "sPLT", "iCCP", "eXIf", "hIST", "PLTE", "quOx"}) {
    // The last two are above the largest length a chunk may have.
    for (uint32_t length : {0x3fffffffu, 0x7ffffffeu, 0x80000000u, 0xffffffffu}) {
      const std::string png = LyingChunk(type, length);
      ASSERT_EQ(png.size(), 57u);
      size_t peak = SIZE_MAX;
      EXPECT_FALSE(Decode(png, &peak).has_value()) << type;
      // libpng used to allocate the declared length (1 or 2 GiB) before it found out.
      EXPECT_LT(peak, size_t{1} << 20) << type << " declaring " << length;
    }
  }
}

// `png` with a chunk of the given type and data, its checksum right, added at the end.
void AddChunk(std::string& png, const std::string& type, const std::string& data) {
  const size_t at = png.size();
  png += U32(static_cast<uint32_t>(data.size())) + type + data + U32(0);
  FixPngCrc(png, at);
}

// The image data of SmallPng, all its IDAT chunks joined.
std::string ImageData() {
  const std::string png = SmallPng();
  std::string data;
  for (size_t at = 8; at + 12 <= png.size();) {
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(uint8_t(png[at + i])); };
    const size_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (png.compare(at + 4, 4, "IDAT") == 0) data += png.substr(at + 8, length);
    at += 12 + length;
  }
  return data;
}

TEST(PngChunks, ImageDataInOneByteChunksDecodes) {
  std::string png = SmallPng().substr(0, kAfterHeader);
  for (char byte : ImageData())
    AddChunk(png, "IDAT", std::string(1, byte));
  AddChunk(png, "IEND", "");
  const std::optional<DecodedPicture> picture = Decode(png, nullptr);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->frames[0].pixels[0], 0xFFFF0000u);
}

TEST(PngChunks, WhatFollowsTheImageDataIsNotRead) {
  // No end chunk, and a text after the image data that declares 2 GiB: libpng stops before it.
  std::string png = SmallPng().substr(0, kAfterHeader);
  AddChunk(png, "IDAT", ImageData());
  png += U32(0x7ffffffeu) + "tEXt" + "abcd";
  size_t peak = SIZE_MAX;
  ASSERT_TRUE(Decode(png, &peak).has_value());
  EXPECT_LT(peak, size_t{1} << 20);
  // Animation chunks this libpng does not know are skipped, before the image data and after it.
  png = SmallPng().substr(0, kAfterHeader);
  AddChunk(png, "acTL", U32(2) + U32(0));
  AddChunk(png, "fcTL", std::string(26, '\0'));
  AddChunk(png, "IDAT", ImageData());
  png += U32(0x7ffffffeu) + "fdAT" + U32(1);
  ASSERT_TRUE(Decode(png, &peak).has_value());
  EXPECT_LT(peak, size_t{1} << 20);
}

TEST(PngChunks, LargeTextThatIsThereStillDecodes) {
  // Above libpng's own per-chunk limit, but all its bytes are in the file: the text is skipped
  // unread and the picture decodes.
  const std::string png =
      WithChunk("tEXt", "Comment" + std::string(1, '\0') + std::string(9 * 1024 * 1024, 'x'));
  size_t peak = 0;
  ASSERT_TRUE(Decode(png, &peak).has_value());
  EXPECT_LT(peak, size_t{1} << 20);
  EXPECT_GT(peak, 0u);
}

TEST(PngChunks, DamagedChecksumOfAnAncillaryChunkDropsOnlyThatChunk) {
  // tIME is one of the chunks libpng reads and keeps.
  std::string png = WithChunk("tIME", std::string("\x07\xE6\x01\x01\x00\x00\x00", 7));
  png[kAfterHeader + 8 + 7] ^= 0x55;  // first checksum byte
  const std::optional<DecodedPicture> picture = Decode(png, nullptr);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->frames[0].pixels[0], 0xFFFF0000u);
}

TEST(PngChunks, DamagedChecksumOfTheHeaderRefusesTheFile) {
  std::string png = SmallPng();
  png[8 + 8 + 13] ^= 0x55;
  EXPECT_FALSE(Decode(png, nullptr).has_value());
}

}  // namespace
}  // namespace quorvane
