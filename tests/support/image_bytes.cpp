#include "support/image_bytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace quorvane::test_support {

Bytes EncodeImage(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format, quality)) return {};
  return Bytes(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace quorvane::test_support
