// GIF through giflib's record-by-record reader, so that every frame's size is checked before
// anything is allocated for it (DGifSlurp would allocate each frame's raster unchecked).
// Frames are composited on the logical screen the way browsers show them.
#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

#include "picture/decoders.h"
#include "picture/picture_limits.h"

namespace quorvane::picture_detail {
namespace {

constexpr uint32_t kTransparent = 0x00000000u;
// Browsers show frames that ask for 0 or 1 hundredths of a second for 100 ms instead: such
// delays were written by tools that meant "as fast as you like", not "flood the screen".
constexpr int32_t kFastDelayMs = 100;

enum Disposal { kDisposeNone = 0, kDisposeKeep = 1, kDisposeBackground = 2, kDisposePrevious = 3 };

struct GifSource {
  const unsigned char* data;
  size_t size;
  size_t at;
  bool closed = false;  // the one zero byte past the end has been given
};

// giflib reads the empty block that closes a frame's data before it hands over the frame's last
// row. A file cut just before that block has all of the frame's pixels, so once the data has run
// out a single byte is asked for, the reader gives a zero byte, once. Every read after it fails,
// so the byte can only ever end a frame whose pixels were all there: anything else it might stand
// for still runs out at the next read.
int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const size_t count = std::min(static_cast<size_t>(length), source->size - source->at);
  std::memcpy(out, source->data + source->at, count);
  source->at += count;
  if (count == 0 && length == 1 && !source->closed) {
    source->closed = true;
    out[0] = 0;
    return 1;
  }
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// What a Graphic Control Extension says about the image that follows it.
struct FrameControl {
  int disposal = kDisposeNone;
  int delayHundredths = 0;
  int transparentIndex = -1;
};

struct Rectangle {
  int64_t left = 0, top = 0, width = 0, height = 0;
};

// Reads an extension record; a Graphic Control Extension updates `control`, all others are
// skipped. False on a read error.
bool ReadExtension(GifFileType* gif, FrameControl& control) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    control.disposal = (block[1] >> 2) & 0x07;
    control.delayHundredths = block[2] | block[3] << 8;
    control.transparentIndex = (block[1] & 0x01) != 0 ? block[4] : -1;
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

void Fill(std::vector<uint32_t>& canvas, int64_t screenWidth, int64_t screenHeight,
          const Rectangle& area, uint32_t colour) {
  const int64_t right = std::min(area.left + area.width, screenWidth);
  const int64_t bottom = std::min(area.top + area.height, screenHeight);
  for (int64_t y = area.top; y < bottom; ++y) {
    for (int64_t x = area.left; x < right; ++x) {
      canvas[static_cast<size_t>(y * screenWidth + x)] = colour;
    }
  }
}

// Reads the image's rows (in interlaced order when it is interlaced) and paints them onto
// `canvas`, leaving transparent pixels and pixels beyond the screen alone.
bool DrawImage(GifFileType* gif, const ColorMapObject& colours, int transparentIndex,
               std::vector<uint32_t>& canvas, int64_t screenWidth, int64_t screenHeight) {
  const GifImageDesc& desc = gif->Image;
  std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = desc.Interlace ? kStart[pass] : 0;
    const int step = desc.Interlace ? kStep[pass] : 1;
    for (int64_t row = start; row < desc.Height; row += step) {
      if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
      const int64_t y = desc.Top + row;
      if (y >= screenHeight) continue;
      const int64_t visible = std::min<int64_t>(desc.Width, screenWidth - desc.Left);
      for (int64_t column = 0; column < visible; ++column) {
        const int64_t x = desc.Left + column;
        const int index = line[static_cast<size_t>(column)];
        if (index == transparentIndex) continue;
        uint32_t colour = kOpaqueBlack;
        if (index < colours.ColorCount) {
          const GifColorType& c = colours.Colors[index];
          colour = Argb(255, c.Red, c.Green, c.Blue);
        }
        canvas[static_cast<size_t>(y * screenWidth + x)] = colour;
      }
    }
  }
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeGif(ByteSpan data) {
  GifSource source{data.data(), data.size(), 0};
  int error = 0;
  GifHandle gif(DGifOpen(&source, ReadGifBytes, &error));
  if (!gif) return std::nullopt;
  const int64_t screenWidth = gif->SWidth;
  const int64_t screenHeight = gif->SHeight;
  if (!PictureFits(screenWidth, screenHeight)) return std::nullopt;

  DecodedPicture picture;
  picture.kind = PictureKind::Gif;
  picture.width = static_cast<int32_t>(screenWidth);
  picture.height = static_cast<int32_t>(screenHeight);
  std::vector<uint32_t> beforePrevious;  // the screen before a frame that restores it
  std::vector<int> delays;
  // Indexed pixels read over all frames, counted even where they fall outside the screen, so
  // that oversized frames cannot make the decoder work without end.
  int64_t indexedPixels = 0;
  FrameControl control;
  FrameControl previous;
  Rectangle previousArea;

  // A file that ends early, be it before its trailer or inside a frame, shows the frames that
  // arrived whole, as a cut JPEG shows the rows that arrived; bad data anywhere still refuses
  // the whole file.
  const auto cutShort = [&] { return source.at == source.size && !picture.frames.empty(); };
  while (true) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
      if (cutShort()) break;
      return std::nullopt;
    }
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      if (ReadExtension(gif.get(), control)) continue;
      if (cutShort()) break;
      return std::nullopt;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) return std::nullopt;

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
      if (cutShort()) break;
      return std::nullopt;
    }
    const GifImageDesc& desc = gif->Image;
    const int64_t frames = static_cast<int64_t>(picture.frames.size()) + 1;
    // The frames beyond the limit are left unread; the picture plays the first ones.
    if (frames > kMaxPictureFrames) break;
    if (desc.Width < 1 || desc.Height < 1 || desc.Left < 0 || desc.Top < 0) return std::nullopt;
    indexedPixels += int64_t{desc.Width} * desc.Height;
    if (indexedPixels > kMaxPictureBytes || !PictureFits(screenWidth, screenHeight, frames)) {
      return std::nullopt;
    }
    const ColorMapObject* colours = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr) return std::nullopt;

    // Each frame starts from the one before it, after that one's disposal: the screen as it
    // was before it (restore to previous), with its area cleared (restore to background), or
    // unchanged. The picture's last frame is copied rather than kept as a second canvas.
    std::vector<uint32_t> canvas;
    if (picture.frames.empty()) {
      canvas.assign(static_cast<size_t>(screenWidth * screenHeight), kTransparent);
    } else if (previous.disposal == kDisposePrevious) {
      canvas = std::move(beforePrevious);
    } else {
      canvas = picture.frames.back().pixels;
      if (previous.disposal == kDisposeBackground) {
        Fill(canvas, screenWidth, screenHeight, previousArea, kTransparent);
      }
    }
    beforePrevious.clear();
    if (control.disposal == kDisposePrevious) beforePrevious = canvas;

    const Rectangle area{desc.Left, desc.Top, desc.Width, desc.Height};
    if (!DrawImage(gif.get(), *colours, control.transparentIndex, canvas, screenWidth,
                   screenHeight)) {
      if (cutShort()) break;
      return std::nullopt;
    }
    picture.frames.push_back(PictureFrame{std::move(canvas), 0});
    delays.push_back(control.delayHundredths);
    previous = control;
    previousArea = area;
    control = FrameControl{};  // a control extension applies to one image only
  }

  if (picture.frames.empty()) return std::nullopt;
  if (picture.frames.size() > 1) {
    for (size_t i = 0; i < picture.frames.size(); ++i) {
      picture.frames[i].delayMs = delays[i] <= 1 ? kFastDelayMs : delays[i] * 10;
    }
  }
  return picture;
}

}  // namespace quorvane::picture_detail
