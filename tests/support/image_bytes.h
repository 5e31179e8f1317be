// A QImage as the bytes of a picture file, through Qt's own writers: the covers and captchas
// the tests and the demo serve.
#pragma once

#include "text/text.h"

class QImage;

namespace quorvane::test_support {

// The file in `format` ("PNG", "JPEG", "BMP" …) at `quality` (-1: the writer's default); empty
// bytes when Qt cannot write that format.
Bytes EncodeImage(const QImage& image, const char* format, int quality = -1);

}  // namespace quorvane::test_support
