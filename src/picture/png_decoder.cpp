// PNG through libpng, read from memory. libpng reports errors by longjmp to the jump buffer set
// in each of the two C-style steps below (header, then rows); neither step holds C++ objects
// with destructors, and the owner below frees whatever libpng allocated.
#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <png.h>

#include "picture/decoders.h"
#include "picture/picture_limits.h"

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

// What libpng holds at the moment and the most it held at once. Every block it allocates
// carries its size in front, so that freeing it can count it off.
struct PngMemory {
  size_t current = 0;
  size_t peak = 0;
};
constexpr size_t kBlockHeader = alignof(std::max_align_t);

png_voidp AllocateForPng(png_structp png, png_alloc_size_t size) {
  if (size > SIZE_MAX - kBlockHeader) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(kBlockHeader + size));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  auto* memory = static_cast<PngMemory*>(png_get_mem_ptr(png));
  memory->current += size;
  memory->peak = std::max(memory->peak, memory->current);
  return block + kBlockHeader;
}

void FreeForPng(png_structp png, png_voidp pointer) {
  if (pointer == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(pointer) - kBlockHeader;
  size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  static_cast<PngMemory*>(png_get_mem_ptr(png))->current -= size;
  std::free(block);
}

// libpng allocates an ancillary chunk's declared length before it reads the chunk, and an
// over-limit ancillary chunk is only a warning to it. So every chunk that libpng will read
// (those up to and including the image data) must have all its declared bytes in the file:
// then nothing libpng allocates for a chunk is larger than the file. A file that fails this
// would fail later in libpng anyway, when the bytes run out; it is refused before libpng starts.
bool ChunksFitTheFile(ByteSpan data) {
  constexpr size_t kSignature = 8, kChunkFrame = 12;  // length, type, checksum
  if (data.size() < kSignature) return true;          // libpng refuses it on its own
  size_t at = kSignature;
  bool inImageData = false;
  while (data.size() - at >= 8) {
    const unsigned char* chunk = data.data() + at;
    const uint64_t length =
        uint64_t{chunk[0]} << 24 | uint64_t{chunk[1]} << 16 | uint64_t{chunk[2]} << 8 | chunk[3];
    const bool imageData = std::memcmp(chunk + 4, "IDAT", 4) == 0;
    // libpng stops reading after the image data; what follows is never looked at.
    if (inImageData && !imageData) return true;
    const size_t left = data.size() - at;
    if (left < kChunkFrame || length > left - kChunkFrame) return false;
    if (std::memcmp(chunk + 4, "IEND", 4) == 0) return true;
    inImageData = imageData;
    at += kChunkFrame + static_cast<size_t>(length);
  }
  return true;
}

struct PngJob {
  png_structp png = nullptr;
  png_infop info = nullptr;

  explicit PngJob(PngMemory* memory) {
    png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning, memory,
                                   AllocateForPng, FreeForPng);
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
  // Chunks that the picture does not need and that libpng would otherwise copy whole into its
  // info (text, calibrations, palettes of suggestions, profiles): skipped unread, they cost no
  // memory at all, however long they are.
  static constexpr png_byte kIgnored[] = "tEXt\0zTXt\0iTXt\0pCAL\0sCAL\0sPLT\0iCCP\0eXIf\0hIST";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnored, 9);
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

std::optional<DecodedPicture> DecodePng(ByteSpan data, size_t* peakBytes) {
  PngMemory memory;
  // Reported however the decoding ends; the job is gone by then, so nothing is held.
  struct ReportPeak {
    const PngMemory& memory;
    size_t* out;
    ~ReportPeak() {
      if (out != nullptr) *out = memory.peak;
    }
  } report{memory, peakBytes};
  if (!ChunksFitTheFile(data)) return std::nullopt;
  PngJob job(&memory);
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
