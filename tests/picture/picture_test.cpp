#include "picture/picture.h"

#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/picture_fixtures.h"

namespace quorvane {
namespace {

using namespace test_support;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

uint32_t At(const DecodedPicture& picture, int x, int y, size_t frame = 0) {
  return picture.frames.at(frame).pixels.at(static_cast<size_t>(y * picture.width + x));
}

// JPEG is lossy: compare each channel within a tolerance.
testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 8) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>(actual >> shift & 0xFF);
    const int e = static_cast<int>(expected >> shift & 0xFF);
    if (std::abs(a - e) > tolerance) {
      return testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    }
  }
  return testing::AssertionSuccess();
}

std::string Cut(const Bytes& bytes, size_t keep) { return bytes.str().substr(0, keep); }
std::string DropTail(const Bytes& bytes, size_t drop) {
  return bytes.str().substr(0, bytes.size() - drop);
}

void PutU16BigEndian(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v >> 8);
  s[at + 1] = static_cast<char>(v);
}
void PutU32BigEndian(std::string& s, size_t at, uint32_t v) {
  PutU16BigEndian(s, at, v >> 16);
  PutU16BigEndian(s, at + 2, v);
}
void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// --- BMP ---

DibSpec Bmp24TwoByTwo() {
  DibSpec recipe;
  recipe.width = 2;
  recipe.height = 2;
  recipe.pixels = Rows24({{kRed, kGreen}, {kBlue, kWhite}});  // bottom row first
  return recipe;
}

Bytes BmpWithSides(int32_t width, int32_t height) {
  DibSpec recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.pixels = std::string(64, '\0');
  return Bmp(recipe);
}

Bytes BmpPalette(uint32_t bits, int32_t width, std::string pixels) {
  DibSpec recipe;
  recipe.width = width;
  recipe.bitsPerPixel = bits;
  recipe.palette = {kRed, kGreen, kBlue, kWhite};
  recipe.pixels = std::move(pixels);
  return Bmp(recipe);
}

Bytes BmpDirect(uint32_t bits, uint32_t compression, std::vector<uint32_t> masks,
                std::string pixels) {
  DibSpec recipe;
  recipe.bitsPerPixel = bits;
  recipe.compression = compression;
  recipe.masks = std::move(masks);
  recipe.pixels = std::move(pixels);
  return Bmp(recipe);
}

Bytes BmpRle8(bool withEnd) {
  DibSpec recipe;
  recipe.width = 4;
  recipe.height = 2;
  recipe.bitsPerPixel = 8;
  recipe.compression = 1;
  recipe.palette = {kRed, kGreen, kBlue, kWhite};
  // Bottom row: a run of two greens, end of line; top row: three stored pixels (padded).
  recipe.pixels = std::string("\x02\x01\x00\x00\x00\x03\x02\x03\x00\x00", 10);
  if (withEnd) recipe.pixels += std::string("\x00\x01", 2);
  return Bmp(recipe);
}

// --- JPEG ---

uint32_t RedLeftBlueRight(int x, int) { return x < 8 ? kRed : kBlue; }
uint32_t MidGrey(int, int) { return 0x808080; }
uint32_t AdobeRed(int, int) { return 0xFF0000FF; }  // inverted CMYK: no cyan ink, full M and Y

Bytes JpegRgb() { return Jpeg(16, 16, JpegModel::Rgb, RedLeftBlueRight); }

// The sides of the first frame header (baseline or progressive) replaced.
std::string JpegWithSides(uint32_t width, uint32_t height) {
  std::string s = JpegRgb().str();
  const size_t sof = s.find("\xFF\xC0");
  PutU16BigEndian(s, sof + 5, height);
  PutU16BigEndian(s, sof + 7, width);
  return s;
}

// A progressive file whose last scan is sent `repeats` times in all. libjpeg only warns about
// the repetitions, so without a limit a small file can keep it busy for a long time.
std::string JpegWithRepeatedScan(int repeats) {
  const std::string s = Jpeg(16, 16, JpegModel::Rgb, RedLeftBlueRight, true).str();
  const size_t lastScan = s.rfind("\xFF\xDA");
  const std::string scan = s.substr(lastScan, s.size() - 2 - lastScan);
  std::string out = s.substr(0, lastScan);
  for (int i = 0; i < repeats; ++i)
    out += scan;
  return out + "\xFF\xD9";
}

// --- PNG ---

Bytes PngAlpha() {
  PngSpec recipe;
  recipe.width = 2;
  recipe.rows = {std::string("\xFF\x00\x00\x80\x00\x00\xFF\x00", 8)};
  return Png(recipe);
}

std::string PngWithSides(uint32_t width, uint32_t height) {
  std::string s = PngAlpha().str();
  PutU32BigEndian(s, 16, width);
  PutU32BigEndian(s, 20, height);
  FixPngCrc(s, 8);
  return s;
}

std::string PngWithBrokenData() {
  std::string s = PngAlpha().str();
  const size_t idat = s.find("IDAT") - 4;
  s[idat + 8] = static_cast<char>(0xFF);  // zlib header byte: not a valid stream any more
  s[idat + 9] = static_cast<char>(0xFF);
  FixPngCrc(s, idat);
  return s;
}

std::string PngWithBadCrc() {
  std::string s = PngAlpha().str();
  const size_t idat = s.find("IDAT");
  s[idat + 6] = static_cast<char>(s[idat + 6] ^ 0x55);
  return s;
}

// --- GIF ---

const std::vector<uint32_t> kGifColours = {kRed, kGreen, kBlue, kWhite};

GifFrameSpec GifFrame(int left, int top, int width, int height, uint8_t index) {
  GifFrameSpec frame;
  frame.left = left, frame.top = top, frame.width = width, frame.height = height;
  frame.indices.assign(static_cast<size_t>(width * height), index);
  return frame;
}

Bytes GifTwoFrames() {
  GifSpec recipe{2, 2, kGifColours, {}};
  recipe.frames.push_back(GifFrame(0, 0, 2, 2, 0));
  recipe.frames[0].delayHundredths = 20;
  recipe.frames.push_back(GifFrame(1, 1, 1, 1, 1));
  recipe.frames[1].delayHundredths = 0;
  return Gif(recipe);
}

Bytes GifManyFrames(int width, int height, int frames) {
  GifSpec recipe{width, height, kGifColours, {}};
  for (int i = 0; i < frames; ++i)
    recipe.frames.push_back(GifFrame(0, 0, 1, 1, 1));
  return Gif(recipe);
}

// --- ICO and CUR ---

std::string IconDib32(uint32_t argb) {
  DibSpec recipe;
  recipe.height = 2;
  recipe.bitsPerPixel = 32;
  ByteWriter w;
  w.U32(argb).U32(0);  // one pixel, then a one-row mask with nothing masked
  recipe.pixels = w.str();
  return Dib(recipe);
}

std::string PngTransparentPixel() {
  PngSpec recipe;
  recipe.rows = {std::string("\x10\x20\x30\x00", 4)};
  return Png(recipe).str();
}

// --- PCX ---

PcxSpec Pcx3x2() {
  PcxSpec recipe;
  recipe.xMax = 2;
  recipe.yMax = 1;
  recipe.bytesPerLine = 4;
  // A run of five reds fills the first row and spills into the second; then three greens.
  recipe.encoded = "\xC5\x01\xC3\x02";
  recipe.palette = {0x000000, kRed, kGreen};
  return recipe;
}

// --- The table ---

struct DecodeCase {
  const char* name;
  std::function<Bytes()> make;
  // Checks on the decoded picture; empty when the bytes must be refused.
  std::function<void(const DecodedPicture&)> check;
};

const DecodeCase kDecodeCases[] = {
    // BMP
    {"BmpBottomUp24", [] { return Bmp(Bmp24TwoByTwo()); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Bmp);
       EXPECT_EQ(At(p, 0, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 1, 0), 0xFFFFFFFFu);
       EXPECT_EQ(At(p, 0, 1), 0xFFFF0000u);
       EXPECT_TRUE(p.mask.empty());
     }},
    {"BmpTopDown32IgnoresFourthByte",
     [] {
       DibSpec recipe;
       recipe.width = 1;
       recipe.height = -2;
       recipe.bitsPerPixel = 32;
       recipe.pixels = std::string("\x00\x00\xFF\x12\xFF\x00\x00\x00", 8);
       return Bmp(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFFFF0000u);
       EXPECT_EQ(At(p, 0, 1), 0xFF0000FFu);
     }},
    {"BmpPalette8WithIndexPastTable",
     [] { return BmpPalette(8, 4, std::string("\x02\x01\x00\xC8", 4)); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 2, 0), 0xFFFF0000u);
       EXPECT_EQ(At(p, 3, 0), 0xFF000000u);
     }},
    {"BmpPalette4", [] { return BmpPalette(4, 3, std::string("\x12\x30\x00\x00", 4)); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFF00FF00u);
       EXPECT_EQ(At(p, 1, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 2, 0), 0xFFFFFFFFu);
     }},
    {"BmpPalette1", [] { return BmpPalette(1, 9, std::string("\x80\x80\x00\x00", 4)); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFF00FF00u);
       EXPECT_EQ(At(p, 1, 0), 0xFFFF0000u);
       EXPECT_EQ(At(p, 8, 0), 0xFF00FF00u);
     }},
    {"Bmp16Bit555", [] { return BmpDirect(16, 0, {}, std::string("\x00\x7C\x00\x00", 4)); },
     [](const DecodedPicture& p) { EXPECT_EQ(At(p, 0, 0), 0xFFFF0000u); }},
    {"Bmp16BitBitfields565",
     [] {
       return BmpDirect(16, 3, {0xF800, 0x07E0, 0x001F}, std::string("\xE0\x07\x00\x00", 4));
     },
     [](const DecodedPicture& p) { EXPECT_EQ(At(p, 0, 0), 0xFF00FF00u); }},
    {"BmpCoreHeader",
     [] {
       DibSpec recipe;
       recipe.headerSize = 12;
       recipe.pixels = Rows24({{0x123456}});
       return Bmp(recipe);
     },
     [](const DecodedPicture& p) { EXPECT_EQ(At(p, 0, 0), 0xFF123456u); }},
    {"BmpRle8", [] { return BmpRle8(true); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 1, 0), 0xFFFFFFFFu);
       EXPECT_EQ(At(p, 3, 0), 0xFF000000u);  // left out by the runs
       EXPECT_EQ(At(p, 1, 1), 0xFF00FF00u);
       EXPECT_EQ(At(p, 2, 1), 0xFF000000u);
     }},
    {"BmpRle4",
     [] {
       DibSpec recipe;
       recipe.width = 3;
       recipe.bitsPerPixel = 4;
       recipe.compression = 2;
       recipe.palette = {kRed, kGreen, kBlue};
       recipe.pixels = std::string("\x03\x12\x00\x01", 4);
       return Bmp(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFF00FF00u);
       EXPECT_EQ(At(p, 1, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 2, 0), 0xFF00FF00u);
     }},
    {"BmpRowsCut", [] { return Bytes(DropTail(Bmp(Bmp24TwoByTwo()), 1)); }, nullptr},
    {"BmpRleWithoutEnd", [] { return BmpRle8(false); }, nullptr},
    {"BmpZeroWidth", [] { return BmpWithSides(0, 1); }, nullptr},
    {"BmpZeroHeight", [] { return BmpWithSides(1, 0); }, nullptr},
    {"BmpNegativeWidth", [] { return BmpWithSides(-4, 1); }, nullptr},
    {"BmpSideAboveLimit", [] { return BmpWithSides(kMaxPictureSide + 1, 1); }, nullptr},
    {"BmpPixelsAboveByteLimit", [] { return BmpWithSides(8192, 8192); }, nullptr},
    {"BmpLowestHeight", [] { return BmpWithSides(1, INT32_MIN); }, nullptr},
    {"BmpDepth7", [] { return BmpDirect(7, 0, {}, std::string(8, '\0')); }, nullptr},
    {"BmpPixelOffsetPastEnd",
     [] {
       std::string s = Bmp(Bmp24TwoByTwo()).str();
       PutU32(s, 10, 0xFFFFFFF0u);
       return Bytes(s);
     },
     nullptr},
    {"BmpUnknownHeaderSize",
     [] {
       std::string s = Bmp(Bmp24TwoByTwo()).str();
       PutU32(s, 14, 20);
       return Bytes(s);
     },
     nullptr},

    // JPEG
    {"JpegRgb", JpegRgb,
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Jpeg);
       EXPECT_EQ(p.width, 16);
       EXPECT_TRUE(Near(At(p, 2, 8), 0xFFFF0000u));
       EXPECT_TRUE(Near(At(p, 13, 8), 0xFF0000FFu));
       EXPECT_EQ(At(p, 13, 8) >> 24, 0xFFu);
     }},
    {"JpegGrey", [] { return Jpeg(8, 8, JpegModel::Grey, MidGrey); },
     [](const DecodedPicture& p) { EXPECT_TRUE(Near(At(p, 3, 3), 0xFF808080u, 2)); }},
    {"JpegAdobeCmyk", [] { return Jpeg(8, 8, JpegModel::Cmyk, AdobeRed); },
     [](const DecodedPicture& p) { EXPECT_TRUE(Near(At(p, 4, 4), 0xFFFF0000u)); }},
    {"JpegProgressive", [] { return Jpeg(16, 16, JpegModel::Rgb, RedLeftBlueRight, true); },
     [](const DecodedPicture& p) { EXPECT_TRUE(Near(At(p, 13, 2), 0xFF0000FFu)); }},
    {"JpegTwentyRepeatedScans", [] { return Bytes(JpegWithRepeatedScan(20)); },
     [](const DecodedPicture& p) { EXPECT_TRUE(Near(At(p, 2, 2), 0xFFFF0000u)); }},
    {"JpegScansAboveLimit", [] { return Bytes(JpegWithRepeatedScan(200)); }, nullptr},
    // libjpeg finishes a file cut inside its scan with grey rows and a warning; that still
    // shows the part that arrived, like a browser does.
    {"JpegCutInScanData", [] { return Bytes(DropTail(JpegRgb(), 20)); },
     [](const DecodedPicture& p) { EXPECT_EQ(p.height, 16); }},
    {"JpegCutInHeader", [] { return Bytes(Cut(JpegRgb(), 40)); }, nullptr},
    {"JpegGarbageAfterMarker", [] { return Bytes(std::string("\xFF\xD8\x13\x37garbagegarbage")); },
     nullptr},
    {"JpegZeroHeight", [] { return Bytes(JpegWithSides(16, 0)); }, nullptr},
    {"JpegSideAboveLimit", [] { return Bytes(JpegWithSides(kMaxPictureSide + 1, 16)); }, nullptr},
    {"JpegPixelsAboveByteLimit", [] { return Bytes(JpegWithSides(10000, 10000)); }, nullptr},

    // PNG
    {"PngAlphaKeptExactly", PngAlpha,
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Png);
       EXPECT_EQ(At(p, 0, 0), 0x80FF0000u);
       EXPECT_EQ(At(p, 1, 0), 0x000000FFu);
     }},
    {"PngPaletteWithTransparency",
     [] {
       PngSpec recipe;
       recipe.width = 2;
       recipe.colourType = 3;
       recipe.palette = {kRed, kGreen};
       recipe.transparency = {0x40};
       recipe.rows = {std::string("\x00\x01", 2)};
       return Png(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0x40FF0000u);
       EXPECT_EQ(At(p, 1, 0), 0xFF00FF00u);
     }},
    {"PngGrey16Bit",
     [] {
       PngSpec recipe;
       recipe.width = 2;
       recipe.colourType = 0;
       recipe.bitDepth = 16;
       recipe.rows = {std::string("\xFF\xFF\x80\x80", 4)};
       return Png(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFFFFFFFFu);
       EXPECT_EQ(At(p, 1, 0), 0xFF808080u);
     }},
    {"PngGrey1Bit",
     [] {
       PngSpec recipe;
       recipe.width = 3;
       recipe.colourType = 0;
       recipe.bitDepth = 1;
       recipe.rows = {std::string("\xA0", 1)};
       return Png(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFFFFFFFFu);
       EXPECT_EQ(At(p, 1, 0), 0xFF000000u);
       EXPECT_EQ(At(p, 2, 0), 0xFFFFFFFFu);
     }},
    {"PngInterlacedRgb",
     [] {
       PngSpec recipe;
       recipe.width = 3;
       recipe.height = 3;
       recipe.colourType = 2;
       recipe.interlaced = true;
       for (int y = 0; y < 3; ++y) {
         std::string row;
         for (int x = 0; x < 3; ++x)
           row += {static_cast<char>(x * 80), static_cast<char>(y * 80), 7};
         recipe.rows.push_back(row);
       }
       return Png(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 2, 1), 0xFFA05007u);
       EXPECT_EQ(At(p, 1, 2), 0xFF50A007u);
     }},
    {"PngCut", [] { return Bytes(DropTail(PngAlpha(), 20)); }, nullptr},
    {"PngBadChecksum", [] { return Bytes(PngWithBadCrc()); }, nullptr},
    {"PngBrokenCompressedData", [] { return Bytes(PngWithBrokenData()); }, nullptr},
    {"PngZeroWidth", [] { return Bytes(PngWithSides(0, 1)); }, nullptr},
    {"PngSideAboveLimit", [] { return Bytes(PngWithSides(kMaxPictureSide + 1, 1)); }, nullptr},
    {"PngPixelsAboveByteLimit", [] { return Bytes(PngWithSides(10000, 10000)); }, nullptr},

    // GIF
    {"GifTwoFramesWithDelays", GifTwoFrames,
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Gif);
       ASSERT_EQ(p.frames.size(), 2u);
       EXPECT_EQ(p.frames[0].delayMs, 200);
       EXPECT_EQ(p.frames[1].delayMs, 100);  // 0 hundredths shows as 100 ms
       EXPECT_EQ(At(p, 1, 1, 0), 0xFFFF0000u);
       EXPECT_EQ(At(p, 0, 0, 1), 0xFFFF0000u);  // the second frame draws over the first
       EXPECT_EQ(At(p, 1, 1, 1), 0xFF00FF00u);
     }},
    {"GifTransparentIndexSingleFrame",
     [] {
       GifSpec recipe{2, 1, kGifColours, {GifFrame(0, 0, 2, 1, 3)}};
       recipe.frames[0].indices[0] = 2;
       recipe.frames[0].transparentIndex = 3;
       recipe.frames[0].delayHundredths = 50;
       return Gif(recipe);
     },
     [](const DecodedPicture& p) {
       ASSERT_EQ(p.frames.size(), 1u);
       EXPECT_EQ(p.frames[0].delayMs, 0);
       EXPECT_EQ(At(p, 0, 0), 0xFF0000FFu);
       EXPECT_EQ(At(p, 1, 0) >> 24, 0u);
     }},
    {"GifDisposeToBackground",
     [] {
       GifSpec recipe{2, 2, kGifColours, {GifFrame(0, 0, 2, 2, 0), GifFrame(0, 0, 1, 1, 1)}};
       recipe.frames[0].disposal = 2;
       return Gif(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0, 1), 0xFF00FF00u);
       EXPECT_EQ(At(p, 1, 1, 1) >> 24, 0u);
     }},
    {"GifDisposeToPrevious",
     [] {
       GifSpec recipe{2,
                      2,
                      kGifColours,
                      {GifFrame(0, 0, 2, 2, 0), GifFrame(0, 0, 2, 2, 2), GifFrame(0, 0, 1, 1, 1)}};
       recipe.frames[0].disposal = 1;
       recipe.frames[1].disposal = 3;
       return Gif(recipe);
     },
     [](const DecodedPicture& p) {
       ASSERT_EQ(p.frames.size(), 3u);
       EXPECT_EQ(At(p, 1, 1, 1), 0xFF0000FFu);
       EXPECT_EQ(At(p, 1, 1, 2), 0xFFFF0000u);  // back to the first frame's red
       EXPECT_EQ(At(p, 0, 0, 2), 0xFF00FF00u);
     }},
    {"GifInterlacedRowsInPlace",
     [] {
       GifFrameSpec frame = GifFrame(0, 0, 1, 8, 0);
       for (size_t y = 0; y < 8; ++y)
         frame.indices[y] = static_cast<uint8_t>(y % 4);
       frame.interlaced = true;
       return Gif(GifSpec{1, 8, kGifColours, {frame}});
     },
     [](const DecodedPicture& p) {
       const uint32_t expected[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
       for (int y = 0; y < 8; ++y)
         EXPECT_EQ(At(p, 0, y), expected[y % 4]) << "row " << y;
     }},
    {"GifLocalColoursAndFrameCutAtScreenEdge",
     [] {
       GifFrameSpec frame = GifFrame(1, 0, 2, 2, 1);
       frame.localColours = {0x000000, 0x123456};
       return Gif(GifSpec{2, 1, {}, {frame}});
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.width, 2);
       EXPECT_EQ(At(p, 0, 0) >> 24, 0u);
       EXPECT_EQ(At(p, 1, 0), 0xFF123456u);
     }},
    {"GifFramesAtFrameLimit", [] { return GifManyFrames(1, 1, 1024); },
     [](const DecodedPicture& p) { EXPECT_EQ(p.frames.size(), 1024u); }},
    {"GifFramesAboveFrameLimitKeepsTheFirst", [] { return GifManyFrames(1, 1, 1100); },
     [](const DecodedPicture& p) { EXPECT_EQ(p.frames.size(), 1024u); }},
    // Four frames of 2048 × 2048 are exactly 64 MiB; the fifth is one too many.
    {"GifFramesAboveByteLimit", [] { return GifManyFrames(2048, 2048, 5); }, nullptr},
    // A file that ends early shows the frames that arrived whole.
    {"GifWithoutTrailer", [] { return Bytes(DropTail(GifTwoFrames(), 1)); },
     [](const DecodedPicture& p) {
       ASSERT_EQ(p.frames.size(), 2u);
       EXPECT_EQ(At(p, 1, 1, 1), 0xFF00FF00u);
       EXPECT_EQ(p.frames[0].delayMs, 200);
     }},
    // All of the last frame's pixels arrived; only the empty block that closes its data and
    // the trailer are missing.
    {"GifWithoutDataEndAndTrailer", [] { return Bytes(DropTail(GifTwoFrames(), 2)); },
     [](const DecodedPicture& p) {
       ASSERT_EQ(p.frames.size(), 2u);
       EXPECT_EQ(At(p, 1, 1, 1), 0xFF00FF00u);
     }},
    {"GifSingleFrameWithoutDataEndAndTrailer",
     [] { return Bytes(DropTail(GifManyFrames(4, 4, 1), 2)); },
     [](const DecodedPicture& p) { EXPECT_EQ(p.frames.size(), 1u); }},
    {"GifCutInsideTheSecondFrame", [] { return Bytes(DropTail(GifTwoFrames(), 4)); },
     [](const DecodedPicture& p) {
       ASSERT_EQ(p.frames.size(), 1u);
       EXPECT_EQ(p.frames[0].delayMs, 0);
     }},
    {"GifCutInsideTheFirstFrame", [] { return Bytes(DropTail(GifManyFrames(4, 4, 1), 4)); },
     nullptr},
    {"GifZeroScreen", [] { return GifManyFrames(0, 0, 1); }, nullptr},
    {"GifScreenAboveLimit", [] { return GifManyFrames(kMaxPictureSide + 1, 1, 1); }, nullptr},
    // giflib's encoder will not write this, so it is spelled out: a sound 1 × 1 image whose
    // screen and image descriptors both announce no colour table.
    {"GifNoColourTable",
     [] {
       return Bytes(
           std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00"
                       "\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                       "\x02\x02\x44\x01\x00\x3B",
                       29));
     },
     nullptr},
    {"GifBrokenImageData",
     [] {
       std::string s = GifTwoFrames().str();
       // The first frame's data starts after header, screen, colours, control and descriptor
       // with its code size, which may not be above 8.
       s[6 + 7 + 12 + 8 + 10] = 12;
       return Bytes(s);
     },
     nullptr},

    // ICO and CUR
    {"IcoFirst32WithSixteenColoursAndMask",
     [] {
       return Icon(1, {{16, 16, IconDib24(2, 2, kBlue, 0, 0)},
                       {32, 16, IconDib24(2, 2, kRed, 1, 0)},
                       {32, 16, IconDib24(2, 2, kGreen, 0, 0)}});
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Ico);
       EXPECT_EQ(At(p, 0, 1), 0xFFFF0000u);
       EXPECT_EQ(p.mask, (std::vector<uint8_t>{0, 1, 0, 0}));
     }},
    {"IcoWithoutMatchTakesLast",
     [] {
       return Icon(1,
                   {{32, 0, IconDib24(1, 1, kRed, 0, 0)}, {16, 16, IconDib24(1, 1, kGreen, 0, 0)}});
     },
     [](const DecodedPicture& p) { EXPECT_EQ(At(p, 0, 0), 0xFF00FF00u); }},
    {"Ico32BitKeepsAlpha",
     [] {
       return Icon(1, {{32, 16, IconDib32(0x80123456u)}});
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0x80123456u);
       EXPECT_EQ(p.mask, std::vector<uint8_t>{0});
     }},
    // Icons from before alpha channels leave the fourth byte at zero everywhere.
    {"Ico32BitAllZeroAlphaIsOpaque",
     [] {
       return Icon(1, {{32, 16, IconDib32(0x00123456u)}});
     },
     [](const DecodedPicture& p) { EXPECT_EQ(At(p, 0, 0), 0xFF123456u); }},
    {"IcoPngEntry",
     [] {
       return Icon(1, {{32, 16, PngTransparentPixel()}});
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Ico);
       EXPECT_EQ(At(p, 0, 0), 0x00102030u);
       EXPECT_EQ(p.mask, std::vector<uint8_t>{1});
     }},
    {"CurDecodes",
     [] {
       return Icon(2, {{32, 16, IconDib24(1, 1, kRed, 0, 0)}});
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Cur);
       EXPECT_EQ(p.mask, std::vector<uint8_t>{1});
     }},
    {"IcoEntryPastEnd",
     [] {
       std::string s = Icon(1, {{32, 16, IconDib24(1, 1, kRed, 0, 0)}}).str();
       PutU32(s, 6 + 12, 0xFFFFFFF0u);
       return Bytes(s);
     },
     nullptr},
    {"IcoDirectoryCut",
     [] {
       std::string s = Icon(1, {{32, 16, IconDib24(1, 1, kRed, 0, 0)}}).str();
       s[4] = 40;  // forty entries announced, one present
       return Bytes(s);
     },
     nullptr},
    {"IcoMaskMissing",
     [] {
       std::string dib = IconDib24(2, 2, kRed, 0, 0);
       dib.resize(dib.size() - 8);  // the two mask rows
       return Icon(1, {{32, 16, dib}});
     },
     nullptr},
    {"IcoOneRowDib",  // the stored height covers colour and mask rows: 1 leaves no rows
     [] {
       DibSpec recipe;
       recipe.height = 1;
       recipe.pixels = std::string(8, '\0');
       return Icon(1, {{32, 16, Dib(recipe)}});
     },
     nullptr},

    // PCX
    {"Pcx256ColoursRunAcrossRows", [] { return Pcx(Pcx3x2()); },
     [](const DecodedPicture& p) {
       EXPECT_EQ(p.kind, PictureKind::Pcx);
       EXPECT_EQ(p.width, 3);
       EXPECT_EQ(p.height, 2);
       EXPECT_EQ(At(p, 2, 0), 0xFFFF0000u);
       EXPECT_EQ(At(p, 0, 1), 0xFFFF0000u);
       EXPECT_EQ(At(p, 1, 1), 0xFF00FF00u);
     }},
    {"PcxBlackAndWhite",
     [] {
       PcxSpec recipe;
       recipe.version = 3;
       recipe.bitsPerPixel = 1;
       recipe.xMax = 9;
       recipe.bytesPerLine = 2;
       recipe.encoded = "\x80\x40";
       recipe.withPalette = false;
       return Pcx(recipe);
     },
     [](const DecodedPicture& p) {
       EXPECT_EQ(At(p, 0, 0), 0xFFFFFFFFu);
       EXPECT_EQ(At(p, 1, 0), 0xFF000000u);
       EXPECT_EQ(At(p, 9, 0), 0xFFFFFFFFu);
     }},
    {"PcxRunsCut",
     [] {
       PcxSpec recipe = Pcx3x2();
       recipe.encoded = "\xC5\x01";
       return Pcx(recipe);
     },
     nullptr},
    {"PcxPaletteMissing",
     [] {
       PcxSpec recipe = Pcx3x2();
       recipe.encoded += std::string(800, '\x01');
       recipe.withPalette = false;
       return Pcx(recipe);
     },
     nullptr},
    {"PcxLineShorterThanWidth",
     [] {
       PcxSpec recipe = Pcx3x2();
       recipe.bytesPerLine = 2;
       return Pcx(recipe);
     },
     nullptr},
    {"PcxSideAboveLimit",
     [] {
       PcxSpec recipe = Pcx3x2();
       recipe.xMax = 0xFFFF;
       recipe.bytesPerLine = 0xFFFF;
       return Pcx(recipe);
     },
     nullptr},
    {"PcxHeaderCut", [] { return Bytes(Cut(Pcx(Pcx3x2()), 100)); }, nullptr},

    // Not pictures at all
    {"HtmlErrorPage", [] { return Bytes(std::string("<html><body>404</body></html>")); }, nullptr},
    {"Empty", [] { return Bytes(); }, nullptr},
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, Decodes) {
  const DecodeCase& c = GetParam();
  const std::optional<DecodedPicture> picture = DecodePicture(c.make());
  if (!c.check) {
    EXPECT_FALSE(picture.has_value());
    return;
  }
  ASSERT_TRUE(picture.has_value());
  ASSERT_FALSE(picture->frames.empty());
  for (const PictureFrame& frame : picture->frames) {
    ASSERT_EQ(frame.pixels.size(), static_cast<size_t>(picture->width * picture->height));
  }
  if (!picture->mask.empty()) {
    ASSERT_EQ(picture->mask.size(), picture->frames[0].pixels.size());
  }
  c.check(*picture);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, DecodeTest, testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RecognizeCase {
  const char* name;
  std::string head;
  std::optional<PictureKind> kind;
};

const RecognizeCase kRecognizeCases[] = {
    {"Bmp", std::string("BM\0\0\0\0\0\0", 8), PictureKind::Bmp},
    {"Jpeg", std::string("\xFF\xD8\xFF\xE0\0\0\0\0", 8), PictureKind::Jpeg},
    {"Png", std::string("\x89PNG\r\n\x1A\n", 8), PictureKind::Png},
    {"Ico", std::string("\0\0\1\0\1\0\0\0", 8), PictureKind::Ico},
    {"IcoWithoutImages", std::string("\0\0\1\0\0\0\0\0", 8), std::nullopt},
    {"Cur", std::string("\0\0\2\0\0\1\0\0", 8), PictureKind::Cur},
    {"Gif87a", std::string("GIF87a\1\0", 8), PictureKind::Gif},
    {"Gif89a", std::string("GIF89a\1\0", 8), PictureKind::Gif},
    {"Gif88a", std::string("GIF88a\1\0", 8), std::nullopt},
    {"Pcx256Colours", std::string("\x0A\x05\x01\x08\0\0\0\0", 8), PictureKind::Pcx},
    {"PcxVersion0With256Colours", std::string("\x0A\x00\x01\x08\0\0\0\0", 8), PictureKind::Pcx},
    {"PcxVersion6", std::string("\x0A\x06\x01\x08\0\0\0\0", 8), std::nullopt},
    {"PcxBlackAndWhiteVersion3", std::string("\x0A\x03\x01\x01\0\0\0\0", 8), PictureKind::Pcx},
    {"PcxBlackAndWhiteVersion5", std::string("\x0A\x05\x01\x01\0\0\0\0", 8), std::nullopt},
    {"PcxUncompressed", std::string("\x0A\x05\x00\x08\0\0\0\0", 8), std::nullopt},
    {"SevenBytes", std::string("BM\0\0\0\0\0", 7), std::nullopt},
    {"Text", "<!DOCTYPE html>", std::nullopt},
};

void PrintTo(const RecognizeCase& c, std::ostream* out) { *out << c.name; }

class RecognizeTest : public testing::TestWithParam<RecognizeCase> {};

TEST_P(RecognizeTest, ReadsTheFirstEightBytes) {
  EXPECT_EQ(RecognizePicture(Bytes(GetParam().head)), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Heads, RecognizeTest, testing::ValuesIn(kRecognizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane
