// JPEG through libjpeg. libjpeg reports errors by calling error_exit, which must not return; ours
// longjmps back into two small C-style steps (header, then pixels) that hold no C++ objects with
// destructors, so the jump skips nothing that needs cleaning up. Everything the steps allocate
// through libjpeg is freed by jpeg_destroy_decompress in the owner below.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#include "picture/decoders.h"
#include "picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

// libjpeg's own working memory (progressive coefficient buffers above all); beyond this it
// wants a backing store, which this build does not have, so it fails instead.
constexpr long kMaxJpegWorkingMemory = 128L * 1024 * 1024;
// A progressive file can repeat scans endlessly over the same coefficients, each one a pass
// over the whole picture; encoders write about ten, rarely a few dozen.
constexpr int kMaxJpegScans = 100;

struct JpegErrorManager {
  jpeg_error_mgr manager;  // first member, so libjpeg's pointer to it is a pointer to us
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt data that libjpeg works around, such as a missing end marker) do not stop
// the decoding and print nothing.
void OnJpegMessage(j_common_ptr, int) {}
void OnJpegOutput(j_common_ptr) {}

void OnJpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
    cinfo->err->error_exit(cinfo);
  }
}

// Owns the decompressor; the zero-initialised struct makes destroying it safe even when
// jpeg_create_decompress failed half-way.
struct JpegJob {
  jpeg_decompress_struct cinfo{};
  JpegErrorManager errors{};
  jpeg_progress_mgr progress{};

  JpegJob() = default;
  JpegJob(const JpegJob&) = delete;
  JpegJob& operator=(const JpegJob&) = delete;
  ~JpegJob() { jpeg_destroy_decompress(&cinfo); }
};

// Step one: set up the decompressor on the buffer and read the header. Allocates only libjpeg's
// small bookkeeping; false on any libjpeg error.
bool ReadJpegHeader(JpegJob* job, const unsigned char* data, unsigned long size) {
  j_decompress_ptr cinfo = &job->cinfo;
  cinfo->err = jpeg_std_error(&job->errors.manager);
  job->errors.manager.error_exit = OnJpegError;
  job->errors.manager.emit_message = OnJpegMessage;
  job->errors.manager.output_message = OnJpegOutput;
  if (setjmp(job->errors.jump)) return false;

  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxJpegWorkingMemory;
  job->progress.progress_monitor = OnJpegProgress;
  cinfo->progress = &job->progress;
  jpeg_mem_src(cinfo, data, size);
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  // Four-channel files come out as CMYK and are converted below; everything else (grey,
  // YCbCr, RGB) libjpeg turns into RGB itself.
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  return true;
}

inline uint32_t CmykToArgb(const unsigned char* p, bool inverted) {
  // Adobe's writers store CMYK inverted (0 = full ink), others store it plainly.
  unsigned c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  return Argb(255, c * k / 255, m * k / 255, y * k / 255);
}

// Step two: decode every row into `out` (width × height pixels) through the one-row buffer
// `row` (width × 4 bytes). False on any libjpeg error or an unexpected output shape.
bool ReadJpegPixels(JpegJob* job, unsigned char* row, uint32_t* out) {
  j_decompress_ptr cinfo = &job->cinfo;
  if (setjmp(job->errors.jump)) return false;

  if (!jpeg_start_decompress(cinfo)) return false;
  const bool cmyk = cinfo->out_color_space == JCS_CMYK;
  if (cinfo->output_width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
      cinfo->output_components != (cmyk ? 4 : 3)) {
    return false;
  }
  const JDIMENSION width = cinfo->output_width;
  while (cinfo->output_scanline < cinfo->output_height) {
    uint32_t* target = out + static_cast<size_t>(cinfo->output_scanline) * width;
    JSAMPROW rows[1] = {row};
    // The memory source never suspends, so no rows means the decoder is stuck.
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return false;
    for (JDIMENSION x = 0; x < width; ++x) {
      target[x] = cmyk ? CmykToArgb(row + 4 * x, cinfo->saw_Adobe_marker)
                       : Argb(255, row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
  }
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(ByteSpan data) {
  JpegJob job;
  if (!ReadJpegHeader(&job, data.data(), static_cast<unsigned long>(data.size()))) {
    return std::nullopt;
  }
  // The size is checked here, before libjpeg allocates its buffers in jpeg_start_decompress.
  std::optional<DecodedPicture> picture =
      NewPicture(PictureKind::Jpeg, job.cinfo.image_width, job.cinfo.image_height, kOpaqueBlack);
  if (!picture) return std::nullopt;
  std::vector<unsigned char> row(static_cast<size_t>(job.cinfo.image_width) * 4);
  if (!ReadJpegPixels(&job, row.data(), picture->frames[0].pixels.data())) return std::nullopt;
  return picture;
}

}  // namespace quorvane::picture_detail
