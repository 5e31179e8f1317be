// MainWindow: the one window, its fifteen controls and the event table that starts the
// workflows.
#pragma once

#include <QWidget>
#include <memory>

#include "app/control_widgets.h"
#include "controls/controls.h"
#include "net/endpoints.h"

namespace quorvane {

struct QueryState;
class WidgetControls;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window with all controls, centred on the primary screen, and installs the
  // window services. The workflows it starts use `endpoints` and the program-wide `state`,
  // which must outlive the window. The window is not deleted when it closes: its owner keeps
  // it until every handler has returned.
  MainWindow(Endpoints endpoints, QueryState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The controls as the workflows see them; tests read the log box through it.
  Controls& controls();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplySettings();
  void ConnectEventTable();

  // The handlers of the event table. Each runs its workflow to the end with the busy cursor.
  void OnQueryClicked();
  void OnLoginClicked();
  void OnLogoutClicked();
  void OnCaptchaBoxFocused();
  void OnCaptchaPicturePressed();
  void OnClearClicked();

  Endpoints endpoints_;
  QueryState& state_;

  // The window's children, which it owns; the adapter reads them.
  ControlWidgets widgets_;
  std::unique_ptr<WidgetControls> controls_;
};

}  // namespace quorvane
