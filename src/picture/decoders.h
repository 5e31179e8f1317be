// One decoder per picture kind. Each takes the whole buffer of its kind (or, for icon entries,
// the entry's bytes) and answers nothing for data it cannot read within the limits.
#pragma once

#include <cstddef>
#include <optional>

#include "picture/byte_reader.h"
#include "picture/picture.h"

namespace quorvane::picture_detail {

// A Windows bitmap file ("BM" header); nothing when malformed, truncated or too large.
std::optional<DecodedPicture> DecodeBmp(ByteSpan data);

// A baseline or progressive JPEG as opaque RGB; nothing on any libjpeg error.
std::optional<DecodedPicture> DecodeJpeg(ByteSpan data);

// A PNG with its alpha as stored; nothing on any libpng error. A damaged checksum refuses the
// file when it is a critical chunk's (IHDR, PLTE, IDAT); libpng drops an ancillary chunk whose
// checksum is damaged, with a warning, and the picture still decodes. A chunk that declares more
// bytes than the file holds refuses the file before libpng allocates anything for it.
// `peakBytes`, when given, receives the most memory libpng held at once while decoding.
std::optional<DecodedPicture> DecodePng(ByteSpan data, size_t* peakBytes = nullptr);

// An icon (kind Ico) or cursor (kind Cur) file: the chosen entry with its mask; nothing when
// the directory or the chosen entry is unreadable.
std::optional<DecodedPicture> DecodeIcon(ByteSpan data, PictureKind kind);

// A GIF with its frames composited on the logical screen: all of them, or the first
// kMaxPictureFrames, or those that arrived whole when the file ends early; nothing on bad data.
std::optional<DecodedPicture> DecodeGif(ByteSpan data);

// A 256-colour or black-and-white PCX; nothing when the header, the data or the palette is bad.
std::optional<DecodedPicture> DecodePcx(ByteSpan data);

}  // namespace quorvane::picture_detail
