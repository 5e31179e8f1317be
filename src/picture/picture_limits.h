// The size rules every decoder applies before it allocates pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/picture.h"

namespace quorvane::picture_detail {

// Animated GIFs may hold at most this many frames, whatever their size.
inline constexpr int32_t kMaxPictureFrames = 1024;

// True when `frames` frames of width × height pixels are allowed: both sides 1…kMaxPictureSide
// and all pixels together within kMaxPictureBytes. Takes 64-bit sides so that values read
// straight from a header (possibly negative or huge) can be passed unchecked.
inline bool PictureFits(int64_t width, int64_t height, int64_t frames = 1) {
  if (width < 1 || height < 1 || frames < 1) return false;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
  // Sides are at most 2^14, so width × height × 4 is at most 2^30 and the division keeps the
  // frame product from overflowing.
  const int64_t frameBytes = width * height * int64_t{sizeof(uint32_t)};
  return frames <= kMaxPictureBytes / frameBytes;
}

// A picture of one frame filled with `fill`, or nothing when the size breaks the rules.
inline std::optional<DecodedPicture> NewPicture(PictureKind kind, int64_t width, int64_t height,
                                                uint32_t fill) {
  if (!PictureFits(width, height)) return std::nullopt;
  DecodedPicture picture;
  picture.kind = kind;
  picture.width = static_cast<int32_t>(width);
  picture.height = static_cast<int32_t>(height);
  picture.frames.resize(1);
  picture.frames[0].pixels.assign(static_cast<size_t>(width * height), fill);
  return picture;
}

inline constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace quorvane::picture_detail
