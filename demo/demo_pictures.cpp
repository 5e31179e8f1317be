#include "demo/demo_pictures.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QString>

#include "support/image_bytes.h"

namespace quorvane::demo {
namespace {

using test_support::EncodeImage;

constexpr int kCoverWidth = 320;
constexpr int kCoverHeight = 180;
constexpr int kCaptchaWidth = 112;
constexpr int kCaptchaHeight = 40;

QFont DemoFont(int pixelSize, bool bold) {
  // WenQuanYi Micro Hei holds the Chinese titles; Qt falls back on its own when it is missing.
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void DrawSkyline(QPainter& painter) {
  QLinearGradient sky(0, 0, 0, kCoverHeight);
  sky.setColorAt(0.0, QColor(0xff, 0x9a, 0x62));
  sky.setColorAt(0.6, QColor(0xfd, 0xd2, 0x8a));
  sky.setColorAt(1.0, QColor(0x4a, 0x3f, 0x6b));
  painter.fillRect(0, 0, kCoverWidth, kCoverHeight, sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xff, 0xf3, 0xc4));
  painter.drawEllipse(QPointF(236, 70), 26, 26);
  // Buildings of fixed heights, so every run draws the same picture.
  constexpr int kHeights[] = {62, 90, 48, 110, 75, 58, 96, 40, 84, 66};
  int x = 0;
  for (int height : kHeights) {
    painter.setBrush(QColor(0x2e, 0x27, 0x4a));
    painter.drawRect(x, kCoverHeight - height, 30, height);
    painter.setBrush(QColor(0xff, 0xe0, 0x8a));
    for (int wy = kCoverHeight - height + 8; wy < kCoverHeight - 10; wy += 14) {
      painter.drawRect(x + 7, wy, 5, 6);
      painter.drawRect(x + 18, wy, 5, 6);
    }
    x += 32;
  }
}

}  // namespace

std::string DrawCover(const SampleVideo& video) {
  QImage image(kCoverWidth, kCoverHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  DrawSkyline(painter);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 140));
  painter.drawRect(0, 12, kCoverWidth, 40);
  painter.setPen(Qt::white);
  painter.setFont(DemoFont(20, true));
  painter.drawText(
      QRect(12, 12, kCoverWidth - 24, 40), Qt::AlignVCenter | Qt::AlignLeft,
      QString::fromUtf8(video.title.data(), static_cast<qsizetype>(video.title.size())));

  painter.setBrush(QColor(0xfb, 0x72, 0x99));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRect(12, 60, 96, 24), 6, 6);
  painter.setPen(Qt::white);
  painter.setFont(DemoFont(14, true));
  painter.drawText(
      QRect(12, 60, 96, 24), Qt::AlignCenter,
      QStringLiteral("AV") +
          QString::fromLatin1(video.av.data(), static_cast<qsizetype>(video.av.size())));
  painter.setFont(DemoFont(11, false));
  painter.drawText(QRect(0, kCoverHeight - 18, kCoverWidth - 6, 16),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Quorvane demo"));
  painter.end();

  const Bytes file =
      video.cover == CoverFormat::Png ? EncodeImage(image, "PNG") : EncodeImage(image, "JPEG", 90);
  return file.str();
}

std::string DrawCaptcha(std::string_view code, uint32_t seed) {
  QRandomGenerator random(seed);
  QImage image(kCaptchaWidth, kCaptchaHeight, QImage::Format_RGB32);
  image.fill(QColor(0xf4, 0xf1, 0xe8));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  for (int line = 0; line < 6; ++line) {
    painter.setPen(QPen(
        QColor(random.bounded(120, 220), random.bounded(120, 220), random.bounded(120, 220)), 1.5));
    painter.drawLine(random.bounded(kCaptchaWidth), random.bounded(kCaptchaHeight),
                     random.bounded(kCaptchaWidth), random.bounded(kCaptchaHeight));
  }

  painter.setFont(DemoFont(26, true));
  const int step = (kCaptchaWidth - 12) / static_cast<int>(code.empty() ? 1 : code.size());
  for (size_t i = 0; i < code.size(); ++i) {
    painter.save();
    painter.translate(8 + static_cast<int>(i) * step + step / 2, kCaptchaHeight / 2);
    painter.rotate(random.bounded(-18, 19));
    painter.setPen(QColor(random.bounded(20, 90), random.bounded(20, 90), random.bounded(60, 140)));
    painter.drawText(QRect(-step / 2, -kCaptchaHeight / 2, step, kCaptchaHeight), Qt::AlignCenter,
                     QString(QChar::fromLatin1(code[i])));
    painter.restore();
  }
  for (int dot = 0; dot < 60; ++dot) {
    painter.setPen(QColor(random.bounded(256), random.bounded(256), random.bounded(256)));
    painter.drawPoint(random.bounded(kCaptchaWidth), random.bounded(kCaptchaHeight));
  }
  painter.end();
  return EncodeImage(image, "JPEG", 92).str();
}

}  // namespace quorvane::demo
