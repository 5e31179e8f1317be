// MainWindow: the one window, its fifteen controls and the event table that starts the
// workflows.
#pragma once

#include <QWidget>
#include <memory>

#include "app/controls.h"
#include "net/endpoints.h"

namespace quorvane {

struct QueryState;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window with all controls, centred on the primary screen. The workflows it
  // starts use `endpoints` and the program-wide `state`, which must outlive the window.
  MainWindow(Endpoints endpoints, QueryState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  Controls& controls();

  // The app subsystem declares the widgets (named 编辑框1 … 清空内容, also as object names),
  // the handlers and the event filter here.
};

}  // namespace quorvane
