// What the picture boxes show, read back from the real widgets pixel by pixel, and the pixel
// rules that turn a decoded picture into what is drawn.
#include <QImage>
#include <QTest>
#include <vector>

#include "app/picture_render.h"
#include "app/picture_widget.h"
#include "picture/picture.h"
#include "support/image_bytes.h"
#include "support/picture_fixtures.h"
#include "test_window.h"

using namespace quorvane;
using quorvane::test_support::EncodeImage;
using quorvane::test_support::Shot;
using quorvane::test_support::TestWindow;

namespace {

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(colour);
  return image;
}

// A GIF of same-sized frames, each filled with one index of a four-colour table, with its
// delay in hundredths of a second; each frame stays in place when the next is drawn.
struct GifFrame {
  int index;
  int delayCs;
  int transparentIndex = -1;
};

Bytes MakeGif(int width, int height, const std::vector<QRgb>& colours,
              const std::vector<GifFrame>& frames) {
  test_support::GifSpec gif;
  gif.width = width;
  gif.height = height;
  for (QRgb colour : colours)
    gif.globalColours.push_back(colour & 0xFFFFFFu);
  for (const GifFrame& frame : frames) {
    test_support::GifFrameSpec frameSpec;
    frameSpec.width = width;
    frameSpec.height = height;
    frameSpec.indices.assign(static_cast<size_t>(width * height),
                             static_cast<uint8_t>(frame.index));
    frameSpec.delayHundredths = frame.delayCs;
    frameSpec.disposal = 1;
    frameSpec.transparentIndex = frame.transparentIndex;
    gif.frames.push_back(frameSpec);
  }
  return test_support::Gif(gif);
}

QRgb ButtonFace(QWidget* widget) { return widget->palette().color(QPalette::Button).rgb(); }

// True when every pixel of the shot is the box's background.
bool OnlyBackground(QWidget* box) {
  const QImage shot = Shot(box);
  const QRgb background = ButtonFace(box);
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if (shot.pixel(x, y) != background) return false;
    }
  }
  return true;
}

}  // namespace

class PictureBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void jpegShowsItsTopLeftUnscaled();
  void smallPictureLeavesABackgroundBand();
  void pngAlphaBlendsWithTheBackground_data();
  void pngAlphaBlendsWithTheBackground();
  void unreadableBytesClearTheBox_data();
  void unreadableBytesClearTheBox();
  void samePictureTwiceShowsOnce();
  void gifTransparencyShowsTheBackground();
  void animatedGifChangesFrameAndStops();
  void pixelRules_data();
  void pixelRules();
  void blendIsExact();
};

void PictureBoxTest::jpegShowsItsTopLeftUnscaled() {
  // Left half red, right half blue, bottom part green: only the red, top-left corner belongs
  // in the 320 × 180 box. A scaled picture would bring blue and green into it.
  QImage cover = Filled(640, 400, qRgb(200, 30, 30));
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (x >= 320)
        cover.setPixel(x, y, qRgb(30, 30, 200));
      else if (y >= 192)
        cover.setPixel(x, y, qRgb(30, 200, 30));
    }
  }
  const Bytes jpeg = EncodeImage(cover, "JPG", 95);
  TestWindow t;
  QVERIFY(t.Show());
  t.controls().WritePicture(PictureBox::图片框1, jpeg);

  const std::optional<DecodedPicture> decoded = DecodePicture(jpeg);
  QVERIFY(decoded.has_value());
  QCOMPARE(decoded->width, 640);
  const QImage shot = Shot(t.find<QWidget>("图片框1"));
  QCOMPARE(shot.size(), QSize(320, 180));
  for (int y = 0; y < 180; ++y) {
    for (int x = 0; x < 320; ++x) {
      const QRgb expected =
          0xFF000000u | (decoded->frames[0].pixels[size_t(y) * 640 + x] & 0xFFFFFF);
      if (shot.pixel(x, y) != expected) {
        QFAIL(qPrintable(QString("pixel %1,%2 differs from the decoded picture").arg(x).arg(y)));
      }
    }
  }
  const QRgb corner = shot.pixel(310, 170);
  QVERIFY(qRed(corner) > 150 && qBlue(corner) < 80 && qGreen(corner) < 80);
}

void PictureBoxTest::smallPictureLeavesABackgroundBand() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* captchaBox = t.find<QWidget>("图片框2");
  const QRgb ink = qRgb(10, 120, 240);
  t.controls().WritePicture(PictureBox::图片框2, EncodeImage(Filled(100, 30, ink), "BMP"));
  const QImage shot = Shot(captchaBox);
  QCOMPARE(shot.size(), QSize(112, 40));
  const QRgb background = ButtonFace(captchaBox);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 112; ++x) {
      const QRgb expected = (x < 100 && y < 30) ? ink : background;
      if (shot.pixel(x, y) != expected) {
        QFAIL(qPrintable(QString("pixel %1,%2 is wrong").arg(x).arg(y)));
      }
    }
  }
}

void PictureBoxTest::pngAlphaBlendsWithTheBackground_data() {
  QTest::addColumn<int>("alpha");
  QTest::newRow("half transparent") << 128;
  QTest::newRow("opaque") << 255;
  QTest::newRow("transparent") << 0;
  QTest::newRow("almost transparent") << 1;
}

void PictureBoxTest::pngAlphaBlendsWithTheBackground() {
  QFETCH(int, alpha);
  TestWindow t;
  QVERIFY(t.Show());
  auto* box = t.find<QWidget>("图片框2");
  const QRgb pixel = qRgba(250, 7, 99, alpha);
  t.controls().WritePicture(PictureBox::图片框2,
                            EncodeImage(Filled(4, 4, pixel, QImage::Format_ARGB32), "PNG"));
  const QRgb bg = ButtonFace(box);
  const auto mix = [alpha](int p, int b) { return (alpha * p + (255 - alpha) * b) / 255; };
  const QRgb expected = qRgb(mix(250, qRed(bg)), mix(7, qGreen(bg)), mix(99, qBlue(bg)));
  const QImage shot = Shot(box);
  QCOMPARE(shot.pixel(0, 0), expected);
  QCOMPARE(shot.pixel(3, 3), expected);
  QCOMPARE(shot.pixel(4, 0), bg);
}

void PictureBoxTest::unreadableBytesClearTheBox_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("HTML error page")
      << QByteArray("<html><head><title>404 Not Found</title></head><body></body></html>");
  QTest::newRow("shorter than a signature") << QByteArray("\xFF\xD8\xFF", 3);
  const Bytes jpeg = EncodeImage(Filled(64, 64, qRgb(1, 2, 3)), "JPG");
  QTest::newRow("JPEG cut short") << QByteArray(jpeg.view().data(), 40);
  QTest::newRow("zero bytes") << QByteArray(64, '\0');
}

void PictureBoxTest::unreadableBytesClearTheBox() {
  QFETCH(QByteArray, bytes);
  TestWindow t;
  QVERIFY(t.Show());
  auto* box = t.find<QWidget>("图片框1");
  t.controls().WritePicture(PictureBox::图片框1, EncodeImage(Filled(50, 50, qRgb(0, 0, 0)), "BMP"));
  QVERIFY(!OnlyBackground(box));
  t.controls().WritePicture(PictureBox::图片框1,
                            Bytes(bytes.constData(), static_cast<size_t>(bytes.size())));
  QVERIFY(OnlyBackground(box));
}

void PictureBoxTest::samePictureTwiceShowsOnce() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* box = t.find<QWidget>("图片框2");
  QImage captcha = Filled(90, 30, qRgb(255, 255, 255));
  for (int x = 0; x < 90; x += 3)
    captcha.setPixel(x, x % 30, qRgb(0, 0, 0));
  const Bytes png = EncodeImage(captcha, "PNG");
  t.controls().WritePicture(PictureBox::图片框2, png);
  const QImage first = Shot(box);
  t.controls().WritePicture(PictureBox::图片框2, png);
  QCOMPARE(Shot(box), first);
  QCOMPARE(first.pixel(0, 0), qRgb(0, 0, 0));
  QCOMPARE(first.pixel(1, 0), qRgb(255, 255, 255));
}

void PictureBoxTest::gifTransparencyShowsTheBackground() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* box = t.find<QWidget>("图片框2");
  const std::vector<QRgb> colours = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                     qRgb(9, 9, 9)};
  t.controls().WritePicture(PictureBox::图片框2, MakeGif(8, 8, colours, {{3, 0, 3}}));
  QVERIFY(OnlyBackground(box));
  t.controls().WritePicture(PictureBox::图片框2, MakeGif(8, 8, colours, {{1, 0}}));
  QCOMPARE(Shot(box).pixel(7, 7), qRgb(255, 0, 0));
}

void PictureBoxTest::animatedGifChangesFrameAndStops() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* box = t.find<PictureWidget>("图片框1");
  const std::vector<QRgb> colours = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                     qRgb(0, 0, 255)};
  t.controls().WritePicture(PictureBox::图片框1, MakeGif(16, 16, colours, {{1, 10}, {2, 10}}));
  QCOMPARE(Shot(box).pixel(0, 0), qRgb(255, 0, 0));
  QVERIFY(box->IsAnimating());
  QTRY_COMPARE(Shot(box).pixel(0, 0), qRgb(0, 255, 0));
  QTRY_COMPARE(Shot(box).pixel(0, 0), qRgb(255, 0, 0));

  // Hidden, it rests; shown again, it plays on.
  t.window.hide();
  QVERIFY(!box->IsAnimating());
  t.window.show();
  QVERIFY(box->IsAnimating());

  // A new picture ends the animation; so does an empty one.
  t.controls().WritePicture(PictureBox::图片框1, MakeGif(16, 16, colours, {{3, 10}}));
  QVERIFY(!box->IsAnimating());
  QCOMPARE(Shot(box).pixel(0, 0), qRgb(0, 0, 255));
  t.controls().WritePicture(PictureBox::图片框1, MakeGif(16, 16, colours, {{1, 10}, {2, 10}}));
  QVERIFY(box->IsAnimating());
  t.controls().WritePicture(PictureBox::图片框1, Bytes());
  QVERIFY(!box->IsAnimating());
  QVERIFY(OnlyBackground(box));
}

// The rules by kind, on hand-made decoded pixels: what a decoder may hand over, drawn over
// the background 0x102030.
void PictureBoxTest::pixelRules_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<uint>("pixel");
  QTest::addColumn<int>("mask");  // -1: no mask
  QTest::addColumn<uint>("drawn");
  const auto kind = [](PictureKind k) { return static_cast<int>(k); };
  QTest::newRow("PNG half") << kind(PictureKind::Png) << 0x80F0E0D0u << -1 << 0xFF808080u;
  QTest::newRow("PNG transparent") << kind(PictureKind::Png) << 0x00FFFFFFu << -1 << 0xFF102030u;
  QTest::newRow("PNG opaque") << kind(PictureKind::Png) << 0xFFABCDEFu << -1 << 0xFFABCDEFu;
  QTest::newRow("JPEG ignores alpha")
      << kind(PictureKind::Jpeg) << 0x00ABCDEFu << -1 << 0xFFABCDEFu;
  QTest::newRow("BMP copied") << kind(PictureKind::Bmp) << 0xFF010203u << -1 << 0xFF010203u;
  QTest::newRow("PCX copied") << kind(PictureKind::Pcx) << 0xFF777777u << -1 << 0xFF777777u;
  QTest::newRow("GIF transparent index")
      << kind(PictureKind::Gif) << 0x00ABCDEFu << -1 << 0xFF102030u;
  QTest::newRow("GIF opaque") << kind(PictureKind::Gif) << 0xFFABCDEFu << -1 << 0xFFABCDEFu;
  QTest::newRow("icon masked out") << kind(PictureKind::Ico) << 0xFFABCDEFu << 1 << 0xFF102030u;
  QTest::newRow("icon shown") << kind(PictureKind::Ico) << 0xFFABCDEFu << 0 << 0xFFABCDEFu;
  QTest::newRow("icon with alpha") << kind(PictureKind::Ico) << 0x80F0E0D0u << 0 << 0xFF808080u;
  QTest::newRow("icon without any alpha")
      << kind(PictureKind::Ico) << 0x00ABCDEFu << 0 << 0xFFABCDEFu;
  QTest::newRow("cursor masked out") << kind(PictureKind::Cur) << 0x00ABCDEFu << 1 << 0xFF102030u;
}

void PictureBoxTest::pixelRules() {
  QFETCH(int, kind);
  QFETCH(uint, pixel);
  QFETCH(int, mask);
  QFETCH(uint, drawn);
  DecodedPicture picture;
  picture.kind = static_cast<PictureKind>(kind);
  picture.width = 3;
  picture.height = 2;
  picture.frames.push_back(PictureFrame{std::vector<uint32_t>(6, pixel), 0});
  if (mask >= 0) picture.mask.assign(6, static_cast<uint8_t>(mask));
  const std::vector<ShownFrame> shown = RenderPicture(picture, 0x102030, 2, 5);
  QCOMPARE(shown.size(), size_t(1));
  // Cropped to the box: 2 wide, and only the picture's own 2 rows.
  QCOMPARE(shown[0].image.size(), QSize(2, 2));
  QCOMPARE(shown[0].image.pixel(1, 1), QRgb(drawn));
}

void PictureBoxTest::blendIsExact() {
  // Every alpha against the extremes and a middle value: integer division of the exact sum,
  // never above 255.
  for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
    for (uint32_t p : {0u, 128u, 255u}) {
      for (uint32_t bg : {0u, 240u, 255u}) {
        QCOMPARE(uint32_t(BlendChannel(alpha, p, bg)), (alpha * p + (255 - alpha) * bg) / 255);
      }
    }
  }
  QCOMPARE(int(BlendChannel(255, 255, 255)), 255);
  QCOMPARE(int(BlendChannel(0, 0, 255)), 255);
  QCOMPARE(PlayedDelayMs(0), 100);
  QCOMPARE(PlayedDelayMs(10), 100);
  QCOMPARE(PlayedDelayMs(70), 70);
}

QTEST_MAIN(PictureBoxTest)
#include "picture_box_test.moc"
