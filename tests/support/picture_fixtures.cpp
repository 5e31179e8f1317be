#include "support/picture_fixtures.h"

#include <cstdio>
#include <cstdlib>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace quorvane::test_support {

std::string Dib(const DibSpec& recipe) {
  ByteWriter w;
  if (recipe.headerSize == 12) {
    w.U32(12).U16(static_cast<uint32_t>(recipe.width)).U16(static_cast<uint32_t>(recipe.height));
    w.U16(1).U16(recipe.bitsPerPixel);
    for (uint32_t c : recipe.palette)
      w.U8(c).U8(c >> 8).U8(c >> 16);
  } else {
    w.U32(recipe.headerSize).U32(static_cast<uint32_t>(recipe.width));
    w.U32(static_cast<uint32_t>(recipe.height)).U16(1).U16(recipe.bitsPerPixel);
    w.U32(recipe.compression).U32(static_cast<uint32_t>(recipe.pixels.size()));
    w.U32(2835).U32(2835).U32(static_cast<uint32_t>(recipe.palette.size())).U32(0);
    w.Zeros(recipe.headerSize - 40);
    for (uint32_t m : recipe.masks)
      w.U32(m);
    for (uint32_t c : recipe.palette)
      w.U8(c).U8(c >> 8).U8(c >> 16).U8(0);
  }
  w.Raw(recipe.pixels);
  return w.str();
}

Bytes Bmp(const DibSpec& recipe) {
  const std::string dib = Dib(recipe);
  const size_t tables = dib.size() - recipe.pixels.size();
  ByteWriter w;
  w.Raw("BM").U32(static_cast<uint32_t>(14 + dib.size())).U32(0);
  w.U32(static_cast<uint32_t>(14 + tables)).Raw(dib);
  return Bytes(w.str());
}

std::string Rows24(const std::vector<std::vector<uint32_t>>& rows) {
  ByteWriter w;
  for (const auto& row : rows) {
    const size_t start = w.size();
    for (uint32_t c : row)
      w.U8(c).U8(c >> 8).U8(c >> 16);
    while ((w.size() - start) % 4 != 0)
      w.U8(0);
  }
  return w.str();
}

Bytes Icon(uint16_t type, const std::vector<IconEntrySpec>& entries) {
  ByteWriter w;
  w.U16(0).U16(type).U16(static_cast<uint32_t>(entries.size()));
  size_t offset = 6 + 16 * entries.size();
  for (const IconEntrySpec& e : entries) {
    w.U8(e.widthByte).U8(e.widthByte).U8(e.colourByte).U8(0).U16(1).U16(24);
    w.U32(static_cast<uint32_t>(e.image.size())).U32(static_cast<uint32_t>(offset));
    offset += e.image.size();
  }
  for (const IconEntrySpec& e : entries)
    w.Raw(e.image);
  return Bytes(w.str());
}

std::string IconDib24(int32_t width, int32_t height, uint32_t rgb, int maskX, int maskY) {
  DibSpec recipe;
  recipe.width = width;
  recipe.height = 2 * height;
  recipe.bitsPerPixel = 24;
  recipe.pixels = Rows24(std::vector<std::vector<uint32_t>>(
      static_cast<size_t>(height), std::vector<uint32_t>(static_cast<size_t>(width), rgb)));
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  std::string mask(stride * static_cast<size_t>(height), '\0');
  const size_t storedRow = static_cast<size_t>(height - 1 - maskY);  // bottom-up
  mask[storedRow * stride + static_cast<size_t>(maskX) / 8] =
      static_cast<char>(0x80 >> (maskX % 8));
  recipe.pixels += mask;
  return Dib(recipe);
}

Bytes Pcx(const PcxSpec& recipe) {
  ByteWriter w;
  w.U8(0x0A).U8(recipe.version).U8(1).U8(recipe.bitsPerPixel);
  w.U16(0).U16(0).U16(recipe.xMax).U16(recipe.yMax).U16(72).U16(72);
  w.Zeros(48).U8(0).U8(1).U16(recipe.bytesPerLine).U16(1);
  w.Zeros(128 - w.size());
  w.Raw(recipe.encoded);
  if (recipe.withPalette) {
    w.U8(0x0C);
    for (size_t i = 0; i < 256; ++i) {
      const uint32_t c = i < recipe.palette.size() ? recipe.palette[i] : 0;
      w.U8(c >> 16).U8(c >> 8).U8(c);
    }
  }
  return Bytes(w.str());
}

Bytes Jpeg(int width, int height, JpegModel model, uint32_t (*colour)(int x, int y),
           bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  const int components = model == JpegModel::Rgb ? 3 : model == JpegModel::Grey ? 1 : 4;
  cinfo.input_components = components;
  cinfo.in_color_space = model == JpegModel::Rgb    ? JCS_RGB
                         : model == JpegModel::Grey ? JCS_GRAYSCALE
                                                    : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width * components));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = colour(x, y);
      unsigned char* p = row.data() + x * components;
      if (model == JpegModel::Rgb) {
        p[0] = c >> 16 & 0xFF, p[1] = c >> 8 & 0xFF, p[2] = c & 0xFF;
      } else if (model == JpegModel::Grey) {
        p[0] = c & 0xFF;
      } else {
        p[0] = c >> 24, p[1] = c >> 16 & 0xFF, p[2] = c >> 8 & 0xFF, p[3] = c & 0xFF;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, size);
  std::free(buffer);
  return out;
}

namespace {

void WriteToString(png_structp png, png_bytep data, size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}
void FlushNothing(png_structp) {}

int WriteGifBytes(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  return length;
}

ColorMapObject* MakeColourMap(const std::vector<uint32_t>& colours) {
  if (colours.empty()) return nullptr;
  std::vector<GifColorType> entries;
  for (uint32_t c : colours) {
    entries.push_back(GifColorType{static_cast<GifByteType>(c >> 16),
                                   static_cast<GifByteType>(c >> 8), static_cast<GifByteType>(c)});
  }
  return GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
}

}  // namespace

Bytes Png(const PngSpec& recipe) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, WriteToString, FlushNothing);
  png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colourType,
               recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (uint32_t c : recipe.palette) {
    palette.push_back(png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                                static_cast<png_byte>(c)});
  }
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  std::vector<png_byte> alpha(recipe.transparency.begin(), recipe.transparency.end());
  if (!alpha.empty()) {
    png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()), nullptr);
  }
  png_write_info(png, info);
  std::vector<std::string> rows = recipe.rows;
  std::vector<png_bytep> pointers;
  for (std::string& row : rows)
    pointers.push_back(reinterpret_cast<png_bytep>(row.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return Bytes(std::move(out));
}

Bytes Gif(const GifSpec& recipe) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteGifBytes, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeColourMap(recipe.globalColours);
  EGifPutScreenDesc(gif, recipe.width, recipe.height, 8, 0, global);
  for (const GifFrameSpec& frame : recipe.frames) {
    const GifByteType control[4] = {
        static_cast<GifByteType>(frame.disposal << 2 | (frame.transparentIndex >= 0 ? 1 : 0)),
        static_cast<GifByteType>(frame.delayHundredths & 0xFF),
        static_cast<GifByteType>(frame.delayHundredths >> 8),
        static_cast<GifByteType>(frame.transparentIndex >= 0 ? frame.transparentIndex : 0)};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    ColorMapObject* local = MakeColourMap(frame.localColours);
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                     local);
    // The encoder takes rows in the order they are stored; for an interlaced frame that is
    // the order of the four passes.
    std::vector<int> order;
    if (frame.interlaced) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < frame.height; y += step[pass])
          order.push_back(y);
      }
    } else {
      for (int y = 0; y < frame.height; ++y)
        order.push_back(y);
    }
    for (int y : order) {
      std::vector<GifPixelType> line(frame.indices.begin() + y * frame.width,
                                     frame.indices.begin() + (y + 1) * frame.width);
      EGifPutLine(gif, line.data(), frame.width);
    }
    GifFreeMapObject(local);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(global);
  return Bytes(std::move(out));
}

void FixPngCrc(std::string& png, size_t chunkOffset) {
  auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(png[i])); };
  const uint32_t length = byte(chunkOffset) << 24 | byte(chunkOffset + 1) << 16 |
                          byte(chunkOffset + 2) << 8 | byte(chunkOffset + 3);
  const auto* start = reinterpret_cast<const Bytef*>(png.data() + chunkOffset + 4);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, start, length + 4));
  const size_t at = chunkOffset + 8 + length;
  for (int i = 0; i < 4; ++i)
    png[at + static_cast<size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
}

}  // namespace quorvane::test_support
