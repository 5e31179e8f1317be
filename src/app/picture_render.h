// Turns a decoded picture into the opaque images a picture box draws: everything that depends
// on the picture's kind (PNG alpha, icon masks, GIF transparency) is settled here, once per
// written picture, so painting is a plain copy.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace quorvane {

struct DecodedPicture;

struct ShownFrame {
  QImage image;         // opaque (Format_RGB32), at most the box's size
  int32_t delayMs = 0;  // how long the frame stays, for an animated GIF; 0 otherwise
};

// One colour channel of a pixel with this alpha over the background:
// alpha × pixel / 255 + (255 − alpha) × background / 255, cut to an integer, exactly.
uint8_t BlendChannel(uint32_t alpha, uint32_t pixel, uint32_t background);

// The frames of the picture over the background colour (0xRRGGBB), cropped to
// maxWidth × maxHeight from the top-left corner: what lies outside is never shown, so it is
// never converted. PNG pixels are blended by their alpha; icon and cursor pixels are the
// background where the mask says transparent and are blended by their alpha elsewhere; a GIF's
// transparent pixels (alpha 0) are the background; JPEG, BMP and PCX pixels are copied.
// Empty for a picture without frames or a box without area.
std::vector<ShownFrame> RenderPicture(const DecodedPicture& picture, uint32_t background,
                                      int maxWidth, int maxHeight);

// How long a GIF frame is shown. Delays of 10 ms and less are played as 100 ms, as browsers
// do: such files count on it, and a zero delay would otherwise spin the GUI thread.
int32_t PlayedDelayMs(int32_t delayMs);

}  // namespace quorvane
