// Recognising a picture's kind and handing the bytes to that kind's decoder.
#include "picture/picture.h"

#include <cstring>
#include <new>

#include "picture/decoders.h"

namespace quorvane {
namespace {

bool StartsWith(const unsigned char* head, const char* magic, size_t length) {
  return std::memcmp(head, magic, length) == 0;
}

bool IconDirectory(const unsigned char* head, unsigned char type) {
  const unsigned count = head[4] | unsigned{head[5]} << 8;
  return head[0] == 0 && head[1] == 0 && head[2] == type && head[3] == 0 && count > 0;
}

bool PcxHeader(const unsigned char* head) {
  if (head[0] != 0x0A || head[2] != 0x01) return false;
  const unsigned version = head[1];
  const unsigned bitsPerPixel = head[3];
  return (version <= 5 && bitsPerPixel == 8) || (version == 3 && bitsPerPixel == 1);
}

}  // namespace

std::optional<PictureKind> RecognizePicture(const Bytes& data) {
  if (data.size() < 8) return std::nullopt;
  const unsigned char* head = data.data();
  if (StartsWith(head, "BM", 2)) return PictureKind::Bmp;
  if (StartsWith(head, "\xFF\xD8", 2)) return PictureKind::Jpeg;
  if (StartsWith(head, "\x89PNG", 4)) return PictureKind::Png;
  if (IconDirectory(head, 1)) return PictureKind::Ico;
  if (IconDirectory(head, 2)) return PictureKind::Cur;
  if (StartsWith(head, "GIF87a", 6) || StartsWith(head, "GIF89a", 6)) return PictureKind::Gif;
  if (PcxHeader(head)) return PictureKind::Pcx;
  return std::nullopt;
}

namespace {

std::optional<DecodedPicture> DecodeKind(PictureKind kind, picture_detail::ByteSpan bytes) {
  switch (kind) {
    case PictureKind::Bmp:
      return picture_detail::DecodeBmp(bytes);
    case PictureKind::Jpeg:
      return picture_detail::DecodeJpeg(bytes);
    case PictureKind::Png:
      return picture_detail::DecodePng(bytes);
    case PictureKind::Ico:
    case PictureKind::Cur:
      return picture_detail::DecodeIcon(bytes, kind);
    case PictureKind::Gif:
      return picture_detail::DecodeGif(bytes);
    case PictureKind::Pcx:
      return picture_detail::DecodePcx(bytes);
  }
  return std::nullopt;
}

}  // namespace

std::optional<DecodedPicture> DecodePicture(const Bytes& data) {
  const std::optional<PictureKind> kind = RecognizePicture(data);
  if (!kind) return std::nullopt;
  // Even within the limits a picture can need more memory than the machine has left. In the
  // program that never arrives here: the window installs a new-handler that ends the process
  // on the first failed allocation. The catch is for the decoder on its own, in its tests and
  // under the fuzzer, where a failed allocation is then a picture that cannot be shown rather
  // than an escaped exception. The C-style steps that libjpeg and libpng jump out of allocate
  // nothing with new, so nothing throws across them.
  try {
    return DecodeKind(*kind, picture_detail::ByteSpan(data.data(), data.size()));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace quorvane
