// Quorvane: one window for looking up Bilibili videos and logging an account in and out.
#include <QApplication>

#include "app/main_window.h"
#include "app/window_services.h"
#include "net/endpoints.h"
#include "query/query_state.h"
#include "text/encoding.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Declared before the window, so that it is released only after the window is gone.
  quorvane::QueryState state;
  quorvane::InstallWindowServices();
  quorvane::RequireCodePageConverter();
  // Lives in this scope, not on the heap: a handler may still be running (a login reading its
  // answer) when the window is closed, and the window must outlast it.
  quorvane::MainWindow window(quorvane::Endpoints::Default(), state);
  window.show();
  return application.exec();
}
