#include "app/window_layout.h"

#include <QPoint>
#include <QSize>
#include <algorithm>

namespace quorvane {

QPoint CentredTopLeft(const QSize& screen) {
  const int left = (screen.width() - kOuterWidth) / 2;
  const int top = (screen.height() - kOuterHeight) / 2;
  return QPoint(std::max(left, 0), std::max(top, 0));
}

}  // namespace quorvane
