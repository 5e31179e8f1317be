// Feeds arbitrary bytes to DecodePicture. Beyond the sanitizers' findings, a decoded picture must
// hold what it promises, so that a painter can index it without checks of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<quorvane::DecodedPicture> picture =
      quorvane::DecodePicture(quorvane::Bytes(data, size));
  if (!picture) return 0;
  const int64_t pixels = int64_t{picture->width} * picture->height;
  if (picture->width < 1 || picture->height < 1 || picture->width > quorvane::kMaxPictureSide ||
      picture->height > quorvane::kMaxPictureSide || picture->frames.empty() ||
      pixels * 4 * static_cast<int64_t>(picture->frames.size()) > quorvane::kMaxPictureBytes) {
    std::abort();
  }
  for (const quorvane::PictureFrame& frame : picture->frames) {
    if (static_cast<int64_t>(frame.pixels.size()) != pixels) std::abort();
  }
  if (!picture->mask.empty() && static_cast<int64_t>(picture->mask.size()) != pixels) std::abort();
  return 0;
}
