// PNG through libpng, read from memory. libpng reports errors by longjmp to the jump buffer set
// in each of the two C-style steps below (header, then rows); neither step holds C++ objects
// with destructors, and the owner below frees whatever libpng allocated.
#include <csetjmp>
#include <cstring>

#include <png.h>

#include "app/picture/decoders.h"
#include "app/picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

// Ancillary chunks libpng keeps (text, palettes, unknown ones) and the largest single chunk it
// will allocate for; image data is not affected by either.
constexpr png_uint_32 kMaxPngCachedChunks = 128;
constexpr png_alloc_size_t kMaxPngChunkBytes = 8 * 1024 * 1024;

struct PngSource {
  const unsigned char* data;
  size_t size;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->at) png_error(png, "truncated");
  std::memcpy(out, source->data + source->at, length);
  source->at += length;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

struct PngJob {
  png_structp png = nullptr;
  png_infop info = nullptr;

  PngJob() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png != nullptr) info = png_create_info_struct(png);
  }
  PngJob(const PngJob&) = delete;
  PngJob& operator=(const PngJob&) = delete;
  ~PngJob() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

// Step one: reads the chunks up to the image data and sets up the transforms to 8-bit RGBA.
// False on any libpng error, a side above kMaxPictureSide included.
bool ReadPngHeader(PngJob* job, PngSource* source, png_uint_32* width, png_uint_32* height) {
  png_structp png = job->png;
  png_infop info = job->info;
  if (setjmp(png_jmpbuf(png))) return false;

  png_set_read_fn(png, source, ReadFromMemory);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_cache_max(png, kMaxPngCachedChunks);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_read_info(png, info);

  // No gamma handling: the samples, alpha above all, stay as they are stored.
  png_set_expand(png);  // palette → RGB, grey below 8 bits → 8 bits, tRNS → alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  return png_get_rowbytes(png, info) == static_cast<size_t>(*width) * 4 &&
         png_get_channels(png, info) == 4 && png_get_bit_depth(png, info) == 8;
}

// Step two: decodes all rows (every pass of an interlaced file) into `rows`.
bool ReadPngRows(PngJob* job, png_bytep* rows) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_read_image(job->png, rows);
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodePng(ByteSpan data) {
  PngJob job;
  if (job.info == nullptr) return std::nullopt;
  PngSource source{data.data(), data.size(), 0};
  png_uint_32 width = 0, height = 0;
  if (!ReadPngHeader(&job, &source, &width, &height)) return std::nullopt;
  std::optional<DecodedPicture> picture = NewPicture(PictureKind::Png, width, height, 0);
  if (!picture) return std::nullopt;

  // libpng writes R, G, B, A bytes straight into the pixel vector; they are turned into
  // 0xAARRGGBB values in place afterwards, which works whatever the machine's byte order.
  std::vector<uint32_t>& pixels = picture->frames[0].pixels;
  auto* bytes = reinterpret_cast<unsigned char*>(pixels.data());
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = bytes + static_cast<size_t>(y) * width * 4;
  if (!ReadPngRows(&job, rows.data())) return std::nullopt;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const unsigned char* p = bytes + 4 * i;
    pixels[i] = Argb(p[3], p[0], p[1], p[2]);
  }
  return picture;
}

}  // namespace quorvane::picture_detail
