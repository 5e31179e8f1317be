#include "app/fitted_font.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace quorvane {
namespace {

// Narrower than half its width, a glyph is no longer readable either.
constexpr int kNarrowestStretch = 50;

bool Fits(const QFont& font, const QString& sample, qreal width, const QPaintDevice* device) {
  // QFontMetricsF needs a non-const device, though it only reads its resolution.
  return QFontMetricsF(font, const_cast<QPaintDevice*>(device)).horizontalAdvance(sample) <= width;
}

}  // namespace

QFont FittedFont(const QFont& base, const QString& sample, qreal width,
                 const QPaintDevice* device) {
  if (Fits(base, sample, width, device)) return base;
  QFont font = base;
  const int own = QFontInfo(base).pixelSize();
  for (int pixels = own - 1; pixels >= kSmallestLegiblePixels; --pixels) {
    font.setPixelSize(pixels);
    if (Fits(font, sample, width, device)) return font;
  }
  font.setPixelSize(std::min(own, kSmallestLegiblePixels));
  for (int stretch = 99; stretch > kNarrowestStretch; --stretch) {
    font.setStretch(stretch);
    if (Fits(font, sample, width, device)) return font;
  }
  font.setStretch(kNarrowestStretch);
  return font;
}

int CaptionWidth(const QPushButton& button) {
  const QStyle* style = button.style();
  return button.width() - 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
                               style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button));
}

void FitCaption(QWidget* control) {
  const QFont base =
      control->parentWidget() != nullptr ? control->parentWidget()->font() : control->font();
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    button->setFont(FittedFont(base, button->text(), CaptionWidth(*button), button));
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setFont(FittedFont(base, label->text(), label->contentsRect().width(), label));
  }
}

}  // namespace quorvane
