#include "app/picture_render.h"

#include <algorithm>

#include "picture/picture.h"

namespace quorvane {
namespace {

enum class PixelRule { Copy, Blend, GifTransparency, IconMask };

PixelRule RuleFor(PictureKind kind) {
  switch (kind) {
    case PictureKind::Png:
      return PixelRule::Blend;
    case PictureKind::Gif:
      return PixelRule::GifTransparency;
    case PictureKind::Ico:
    case PictureKind::Cur:
      return PixelRule::IconMask;
    case PictureKind::Bmp:
    case PictureKind::Jpeg:
    case PictureKind::Pcx:
      break;
  }
  return PixelRule::Copy;
}

uint32_t BlendPixel(uint32_t argb, uint32_t background) {
  const uint32_t alpha = argb >> 24;
  const uint32_t red = BlendChannel(alpha, (argb >> 16) & 0xFF, (background >> 16) & 0xFF);
  const uint32_t green = BlendChannel(alpha, (argb >> 8) & 0xFF, (background >> 8) & 0xFF);
  const uint32_t blue = BlendChannel(alpha, argb & 0xFF, background & 0xFF);
  return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

// An icon whose colour data has no alpha at all (every alpha 0) is an old icon that relies on
// its mask alone; its pixels are opaque wherever the mask shows them.
bool IconHasAlpha(const std::vector<uint32_t>& pixels) {
  return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
}

}  // namespace

uint8_t BlendChannel(uint32_t alpha, uint32_t pixel, uint32_t background) {
  alpha = std::min(alpha, 255u);
  const uint32_t mixed = (alpha * pixel + (255 - alpha) * background) / 255;
  return static_cast<uint8_t>(std::min(mixed, 255u));
}

int32_t PlayedDelayMs(int32_t delayMs) { return delayMs <= 10 ? 100 : delayMs; }

std::vector<ShownFrame> RenderPicture(const DecodedPicture& picture, uint32_t background,
                                      int maxWidth, int maxHeight) {
  const int width = std::min(picture.width, maxWidth);
  const int height = std::min(picture.height, maxHeight);
  std::vector<ShownFrame> shown;
  if (width <= 0 || height <= 0) return shown;
  const size_t pictureWidth = static_cast<size_t>(picture.width);
  const size_t pixelCount = pictureWidth * static_cast<size_t>(picture.height);
  const PixelRule rule = RuleFor(picture.kind);
  const bool maskUsable = picture.mask.size() == pixelCount;
  background &= 0xFFFFFF;

  shown.reserve(picture.frames.size());
  for (const PictureFrame& frame : picture.frames) {
    // A frame short of pixels would be a decoder fault; it is skipped rather than read past.
    if (frame.pixels.size() < pixelCount) continue;
    const bool iconAlpha = rule == PixelRule::IconMask && IconHasAlpha(frame.pixels);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
      auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
      const size_t rowStart = static_cast<size_t>(y) * pictureWidth;
      for (int x = 0; x < width; ++x) {
        const size_t at = rowStart + static_cast<size_t>(x);
        const uint32_t argb = frame.pixels[at];
        uint32_t drawn = 0;
        switch (rule) {
          case PixelRule::Copy:
            drawn = argb;
            break;
          case PixelRule::Blend:
            drawn = BlendPixel(argb, background);
            break;
          case PixelRule::GifTransparency:
            drawn = (argb >> 24) == 0 ? background : argb;
            break;
          case PixelRule::IconMask:
            if (maskUsable && picture.mask[at] != 0) {
              drawn = background;
            } else {
              drawn = iconAlpha ? BlendPixel(argb, background) : argb;
            }
            break;
        }
        line[x] = 0xFF000000u | drawn;
      }
    }
    shown.push_back(ShownFrame{std::move(image), frame.delayMs});
  }
  return shown;
}

}  // namespace quorvane
