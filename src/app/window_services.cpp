#include "app/window_services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QThread>
#include <string_view>

#include "app/qt_text.h"
#include "app/window_layout.h"
#include "text/services.h"

namespace quorvane {
namespace {

void DispatchPendingEvents() {
  // Only what is already waiting: the caller (a read loop) must get on with its own work.
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

// A box can only be shown, and closed by somebody, on the GUI thread of a widget application
// whose platform has a screen a user looks at. The offscreen and minimal platforms of tests
// have nobody to close it, so there the fault goes to standard error.
bool CanShowErrorBox() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr || QThread::currentThread() != app->thread()) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void ReportError(std::string_view description) {
  WriteStopLine(description);
  if (!CanShowErrorBox()) return;
  QMessageBox::critical(
      nullptr, Caption(kWindowTitle),
      QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())));
}

}  // namespace

void InstallWindowServices() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetPendingEventsDispatcher(DispatchPendingEvents);
  SetErrorReporter(ReportError);
  InstallOutOfMemoryStop();
}

}  // namespace quorvane
