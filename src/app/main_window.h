// MainWindow: the one window, its fifteen controls and the event table that starts the
// workflows.
#pragma once

#include <QWidget>
#include <memory>

#include "controls/controls.h"
#include "net/endpoints.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

struct QueryState;
class LogBox;
class PictureWidget;
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
  void CreateControls();
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

  // Children of the window, which owns them.
  LogBox* 编辑框1 = nullptr;
  QLineEdit* 编辑框2 = nullptr;
  QLineEdit* 编辑框3 = nullptr;
  QLineEdit* 编辑框4 = nullptr;
  QLineEdit* 编辑框5 = nullptr;
  QPushButton* 按钮1 = nullptr;
  QPushButton* 按钮2 = nullptr;
  QPushButton* 按钮3 = nullptr;
  QPushButton* 清空内容 = nullptr;
  PictureWidget* 图片框1 = nullptr;
  PictureWidget* 图片框2 = nullptr;
  QLabel* 标签1 = nullptr;
  QLabel* 标签2 = nullptr;
  QLabel* 标签3 = nullptr;
  QLabel* 标签4 = nullptr;

  std::unique_ptr<WidgetControls> controls_;
};

}  // namespace quorvane
