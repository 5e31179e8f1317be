#include "app/main_window.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <climits>

#include "account/account.h"
#include "app/fitted_font.h"
#include "app/log_box.h"
#include "app/picture_widget.h"
#include "app/qt_text.h"
#include "app/typing_limit.h"
#include "app/widget_controls.h"
#include "app/window_layout.h"
#include "app/window_services.h"
#include "query/query_video.h"

namespace quorvane {
namespace {

// The system's busy cursor for as long as a handler runs; the window does not respond
// meanwhile. Handlers can nest (a login dispatches events while it reads), and the override
// cursors stack, so each guard takes back exactly the one it put up, on every way out.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

QWidget* CreateControl(const ControlPlace& place, QWidget* parent) {
  const QString caption = Caption(place.caption);
  switch (place.kind) {
    case ControlKind::LogBox:
      return new LogBox(parent);
    case ControlKind::LineEdit: {
      auto* edit = new QLineEdit(caption, parent);
      // What the program writes into a box is never cut; 编辑框5 limits only the typing.
      edit->setMaxLength(INT_MAX);
      edit->setCursorPosition(0);
      return edit;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(caption, parent);
      // No button is a default button: Enter never clicks one behind the user's back.
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
    case ControlKind::PictureBox:
      return new PictureWidget(parent);
    case ControlKind::Label: {
      auto* label = new QLabel(caption, parent);
      label->setFocusPolicy(Qt::NoFocus);
      return label;
    }
  }
  return nullptr;
}

}  // namespace

MainWindow::MainWindow(Endpoints endpoints, QueryState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      endpoints_(std::move(endpoints)),
      state_(state) {
  InstallWindowServices();
  setWindowTitle(Caption(kWindowTitle));
  setFixedSize(kClientWidth, kClientHeight);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);

  CreateControls();
  ApplySettings();
  controls_ = std::make_unique<WidgetControls>(ControlWidgets{编辑框1, 编辑框2, 编辑框3, 编辑框4,
                                                              编辑框5, 按钮1, 按钮2, 按钮3,
                                                              清空内容, 图片框1, 图片框2});
  ConnectEventTable();

  // Escape closes the window whichever control has the focus, the log box included: none of
  // the controls claims the key for itself.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().topLeft() + CentredTopLeft(screen->geometry().size()));
  }
}

MainWindow::~MainWindow() = default;

Controls& MainWindow::controls() { return *controls_; }

void MainWindow::CreateControls() {
  // The table's order is the creation order and so the Tab order.
  for (const ControlPlace& place : kControlPlaces) {
    QWidget* control = CreateControl(place, this);
    control->setObjectName(Caption(place.name));
    control->setGeometry(place.x, place.y, place.width, place.height);
    // Buttons and labels are named by their captions, which the toolkit passes on by itself.
    if (!place.accessibleName.empty()) control->setAccessibleName(Caption(place.accessibleName));
    FitCaption(control);
  }
  const auto find = [this]<typename W>(W*& member, const char* name) {
    member = findChild<W*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
  };
  find(编辑框1, "编辑框1");
  find(编辑框2, "编辑框2");
  find(编辑框3, "编辑框3");
  find(编辑框4, "编辑框4");
  find(编辑框5, "编辑框5");
  find(按钮1, "按钮1");
  find(按钮2, "按钮2");
  find(按钮3, "按钮3");
  find(清空内容, "清空内容");
  find(图片框1, "图片框1");
  find(图片框2, "图片框2");
  find(标签1, "标签1");
  find(标签2, "标签2");
  find(标签3, "标签3");
  find(标签4, "标签4");
}

void MainWindow::ApplySettings() {
  // Black text on white in every edit box, whatever the style's own colours.
  for (QWidget* edit : {static_cast<QWidget*>(编辑框1), static_cast<QWidget*>(编辑框2),
                        static_cast<QWidget*>(编辑框3), static_cast<QWidget*>(编辑框4),
                        static_cast<QWidget*>(编辑框5)}) {
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
  }
  编辑框4->setEchoMode(QLineEdit::Password);
  // The mask character is the style's choice unless set; the window shows "*".
  编辑框4->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  LimitTyping(编辑框5, 7);
}

void MainWindow::ConnectEventTable() {
  connect(按钮2, &QPushButton::clicked, this, &MainWindow::OnQueryClicked);
  connect(按钮1, &QPushButton::clicked, this, &MainWindow::OnLoginClicked);
  connect(按钮3, &QPushButton::clicked, this, &MainWindow::OnLogoutClicked);
  connect(清空内容, &QPushButton::clicked, this, &MainWindow::OnClearClicked);
  connect(图片框2, &PictureWidget::leftPressed, this, &MainWindow::OnCaptchaPicturePressed);
  编辑框5->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == 编辑框5 && event->type() == QEvent::FocusIn) {
    // A context menu closing hands the focus back without the box ever having lost it in the
    // user's eyes; every other way of getting the focus fetches a captcha.
    if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) OnCaptchaBoxFocused();
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::OnQueryClicked() {
  BusyCursor busy;
  QueryVideo(*controls_, endpoints_, state_);
}

void MainWindow::OnLoginClicked() {
  BusyCursor busy;
  SubmitLogin(*controls_, endpoints_);
}

void MainWindow::OnLogoutClicked() {
  BusyCursor busy;
  Logout(*controls_, endpoints_);
}

void MainWindow::OnCaptchaBoxFocused() {
  BusyCursor busy;
  FetchCaptcha(*controls_, endpoints_, CaptchaTrigger::CaptchaBoxFocused);
}

void MainWindow::OnCaptchaPicturePressed() {
  BusyCursor busy;
  FetchCaptcha(*controls_, endpoints_, CaptchaTrigger::CaptchaPictureClicked);
}

void MainWindow::OnClearClicked() { controls_->WriteContent(EditBox::编辑框1, Text()); }

}  // namespace quorvane
