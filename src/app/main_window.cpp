#include "app/main_window.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include "account/account.h"
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

  // The table's order is the creation order and so the Tab order.
  widgets_ = ControlWidgets::Create(this);
  ApplySettings();
  controls_ = std::make_unique<WidgetControls>(widgets_);
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

void MainWindow::ApplySettings() {
  // Black text on white in every edit box, whatever the style's own colours.
  for (QWidget* edit : widgets_.EditWidgets()) {
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
  }
  QLineEdit* password = widgets_.LineEdit(EditBox::编辑框4);
  password->setEchoMode(QLineEdit::Password);
  // The mask character is the style's choice unless set; the window shows "*".
  password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  LimitTyping(widgets_.LineEdit(EditBox::编辑框5), 7);
}

void MainWindow::ConnectEventTable() {
  connect(widgets_.PushButton(Button::按钮2), &QPushButton::clicked, this,
          &MainWindow::OnQueryClicked);
  connect(widgets_.PushButton(Button::按钮1), &QPushButton::clicked, this,
          &MainWindow::OnLoginClicked);
  connect(widgets_.PushButton(Button::按钮3), &QPushButton::clicked, this,
          &MainWindow::OnLogoutClicked);
  connect(widgets_.PushButton(Button::清空内容), &QPushButton::clicked, this,
          &MainWindow::OnClearClicked);
  connect(widgets_.Picture(PictureBox::图片框2), &PictureWidget::leftPressed, this,
          &MainWindow::OnCaptchaPicturePressed);
  widgets_.LineEdit(EditBox::编辑框5)->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widgets_.LineEdit(EditBox::编辑框5) && event->type() == QEvent::FocusIn) {
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
