// Turning image bytes from the network into pixels, without any toolkit. Every byte here is
// untrusted: malformed, truncated or hostile data gives "not a picture" and nothing else.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace quorvane {

enum class PictureKind { Bmp, Jpeg, Png, Ico, Cur, Gif, Pcx };

struct PictureFrame {
  // width × height pixels, row by row from the top, each 0xAARRGGBB (not premultiplied).
  // JPEG, BMP and PCX pixels are opaque; a GIF's transparent index has alpha 0; a PNG keeps its
  // own alpha, which the painter blends with the background.
  std::vector<uint32_t> pixels;
  // How long this frame stays on screen, for a GIF of several frames; 0 otherwise.
  int32_t delayMs = 0;
};

struct DecodedPicture {
  PictureKind kind = PictureKind::Bmp;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<PictureFrame> frames;  // at least one
  // Icons and cursors: width × height entries, 1 where the icon is transparent. Empty otherwise.
  std::vector<uint8_t> mask;
};

// Limits that keep hostile pictures from taking the machine: no side above this many pixels,
// and all frames together at most this many bytes of decoded pixels.
inline constexpr int32_t kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPictureBytes = 64LL * 1024 * 1024;

// The kind announced by the first 8 bytes, checked in the order BMP, JPEG, PNG, ICO, CUR, GIF,
// PCX; nothing for fewer than 8 bytes or no match.
std::optional<PictureKind> RecognizePicture(const Bytes& data);

// The decoded picture, or nothing when the bytes are no readable picture of a recognised kind.
std::optional<DecodedPicture> DecodePicture(const Bytes& data);

}  // namespace quorvane
