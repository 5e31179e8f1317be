// Fonts that make a given text fit a given width, taken from the fonts' own metrics, so that
// the window keeps its pixel layout whatever font the system provides and at any scale.
#pragma once

#include <QFont>

class QPaintDevice;
class QPushButton;
class QString;
class QWidget;

namespace quorvane {

// Below this a character of code page 936 becomes hard to read, so no text is set smaller.
inline constexpr int kSmallestLegiblePixels = 10;

// `base` when `sample` fits `width` (device-independent pixels on `device`) with it; otherwise
// the largest pixel size below it that fits, and where even kSmallestLegiblePixels is too wide,
// that size narrowed (stretched below 100 %) until it fits.
QFont FittedFont(const QFont& base, const QString& sample, qreal width, const QPaintDevice* device);

// The width a push button leaves for its caption: its own less the style's frame and margins.
int CaptionWidth(const QPushButton& button);

// Gives a button or a label with text the font that lets its caption fit, starting from the
// font of its parent (the system's).
void FitCaption(QWidget* control);

}  // namespace quorvane
