// A real MainWindow for the window's tests, pointed at a site that refuses every connection, so
// that a workflow a test starts ends at once with its "no answer" path.
#pragma once

#include <QImage>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

#include "app/main_window.h"
#include "controls/controls.h"
#include "net/endpoints.h"
#include "query/query_state.h"

namespace quorvane::test_support {

inline Endpoints RefusingSite() {
  // Port 9 (discard) has no listener on a test machine: connections are refused at once.
  const std::string host = "127.0.0.1:9";
  return Endpoints{host, host, host, host, host};
}

struct TestWindow {
  QueryState state;
  MainWindow window{RefusingSite(), state};

  Controls& controls() { return window.controls(); }

  template <typename W>
  W* find(const char* name) {
    return window.findChild<W*>(QString::fromUtf8(name));
  }

  // Shown and active, as a user sees it: keyboard shortcuts need an active window.
  bool Show() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  }
};

// What the widget shows now, pixel for pixel.
inline QImage Shot(QWidget* widget) {
  return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace quorvane::test_support
