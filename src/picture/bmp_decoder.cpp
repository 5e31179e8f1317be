// Windows bitmap files: a 14-byte file header, then a DIB whose rows start at the header's offset.
#include "picture/decoders.h"
#include "picture/dib.h"
#include "picture/picture_limits.h"

namespace quorvane::picture_detail {

namespace {
constexpr uint64_t kFileHeaderSize = 14;
}  // namespace

std::optional<DecodedPicture> DecodeBmp(ByteSpan data) {
  const ByteReader reader(data);
  uint32_t pixelOffset = 0;
  if (!reader.U32(10, pixelOffset)) return std::nullopt;
  const std::optional<DibInfo> info = ReadDibInfo(data, kFileHeaderSize);
  if (!info) return std::nullopt;
  // Rows that overlap the headers are a broken file, not pixels.
  if (pixelOffset < info->tablesEnd) return std::nullopt;

  const int64_t rows = info->height < 0 ? -info->height : info->height;
  std::optional<DecodedPicture> picture =
      NewPicture(PictureKind::Bmp, info->width, rows, kOpaqueBlack);
  if (!picture) return std::nullopt;
  if (!DecodeDibPixels(data, pixelOffset, *info, rows, DibAlpha::Opaque,
                       picture->frames[0].pixels)) {
    return std::nullopt;
  }
  return picture;
}

}  // namespace quorvane::picture_detail
