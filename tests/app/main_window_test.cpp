// The window as the user meets it: the fifteen controls, the frame, the keyboard and the event
// table.
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app/window_layout.h"
#include "test_window.h"
#include "text/text_ops.h"

using namespace quorvane;
using quorvane::test_support::TestWindow;

namespace {

enum class Kind { Log, Line, Button, Picture, Label };

}  // namespace

Q_DECLARE_METATYPE(Kind)

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void windowFrame();
  void control_data();
  void control();
  void tabOrderStartsAwayFromTheCaptchaBox();
  void centring_data();
  void centring();
  void escapeCloses_data();
  void escapeCloses();
  void enterKeepsTheFocus();
  void captchaBoxRefusesAnEighthCharacter();
  void passwordShowsStarsAndReadsBackTheText();
  void eventTable_data();
  void eventTable();
};

void MainWindowTest::windowFrame() {
  TestWindow t;
  QCOMPARE(t.window.windowTitle(), QStringLiteral("QuorvaneV1.5"));
  QCOMPARE(t.window.minimumSize(), QSize(744, 600));
  QCOMPARE(t.window.maximumSize(), QSize(744, 600));
  const Qt::WindowFlags flags = t.window.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(!t.window.testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(t.window.backgroundRole(), QPalette::Button);
  QVERIFY(t.window.autoFillBackground());
  // Centred on the screen it was made on, by the outer frame's corner.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QCOMPARE(t.window.pos(), screen.topLeft() + CentredTopLeft(screen.size()));
}

void MainWindowTest::control_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<Kind>("kind");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("caption");
  const auto row = [](const char* name, Kind kind, QRect place, const char* caption) {
    QTest::newRow(name) << QString::fromUtf8(name) << kind << place << QString::fromUtf8(caption);
  };
  row("编辑框1", Kind::Log, QRect(0, 208, 752, 392), "");
  row("编辑框2", Kind::Line, QRect(376, 8, 120, 32), "1219760");
  row("编辑框3", Kind::Line, QRect(376, 62, 120, 32), "");
  row("编辑框4", Kind::Line, QRect(376, 104, 120, 32), "");
  row("编辑框5", Kind::Line, QRect(376, 144, 56, 32), "");
  row("按钮1", Kind::Button, QRect(568, 144, 80, 40), "登录");
  row("按钮2", Kind::Button, QRect(512, 8, 88, 32), "查询");
  row("按钮3", Kind::Button, QRect(664, 144, 72, 40), "注销账号");
  row("清空内容", Kind::Button, QRect(632, 8, 88, 32), "清空内容");
  row("图片框1", Kind::Picture, QRect(4, 16, 320, 180), "");
  row("图片框2", Kind::Picture, QRect(440, 144, 112, 40), "");
  row("标签1", Kind::Label, QRect(336, 64, 40, 24), "账号:");
  row("标签2", Kind::Label, QRect(334, 16, 40, 24), "AV号:");
  row("标签3", Kind::Label, QRect(337, 110, 39, 24), "密码:");
  row("标签4", Kind::Label, QRect(328, 152, 48, 24), "验证码:");
}

void MainWindowTest::control() {
  QFETCH(QString, name);
  QFETCH(Kind, kind);
  QFETCH(QRect, place);
  QFETCH(QString, caption);
  TestWindow t;
  auto* widget = t.window.findChild<QWidget*>(name);
  QVERIFY(widget != nullptr);
  QCOMPARE(widget->parentWidget(), &t.window);
  QCOMPARE(widget->geometry(), place);
  QVERIFY(widget->isEnabled());
  QVERIFY(!widget->isHidden());

  switch (kind) {
    case Kind::Log: {
      auto* log = qobject_cast<QPlainTextEdit*>(widget);
      QVERIFY(log != nullptr);
      QVERIFY(log->toPlainText().isEmpty());
      QVERIFY(!log->isReadOnly());
      QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
      QCOMPARE(log->lineWrapMode(), QPlainTextEdit::WidgetWidth);
      QVERIFY(!log->tabChangesFocus());
      QCOMPARE(log->maximumBlockCount(), 0);
      QCOMPARE(log->palette().color(QPalette::Base), QColor(Qt::white));
      QCOMPARE(log->palette().color(QPalette::Text), QColor(Qt::black));
      QCOMPARE(widget->focusPolicy(), Qt::StrongFocus);
      break;
    }
    case Kind::Line: {
      auto* edit = qobject_cast<QLineEdit*>(widget);
      QVERIFY(edit != nullptr);
      QCOMPARE(edit->text(), caption);
      QVERIFY(!edit->isReadOnly());
      QVERIFY(edit->hasFrame());
      QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::white));
      QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
      QCOMPARE(widget->focusPolicy(), Qt::StrongFocus);
      break;
    }
    case Kind::Button: {
      auto* button = qobject_cast<QPushButton*>(widget);
      QVERIFY(button != nullptr);
      QCOMPARE(button->text(), caption);
      QVERIFY(!button->autoDefault());
      QVERIFY(!button->isDefault());
      QVERIFY(widget->focusPolicy() & Qt::TabFocus);
      break;
    }
    case Kind::Picture:
      QVERIFY(qobject_cast<QLineEdit*>(widget) == nullptr);
      QVERIFY(qobject_cast<QLabel*>(widget) == nullptr);
      QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
      break;
    case Kind::Label: {
      auto* label = qobject_cast<QLabel*>(widget);
      QVERIFY(label != nullptr);
      QCOMPARE(label->text(), caption);
      QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
      break;
    }
  }
}

// Every focus 编辑框5 gains fetches a captcha, so activating the window must put the focus
// somewhere else.
void MainWindowTest::tabOrderStartsAwayFromTheCaptchaBox() {
  TestWindow t;
  QVERIFY(t.Show());
  QCOMPARE(QApplication::focusWidget(), t.find<QLineEdit>("编辑框2"));
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1).empty());
}

void MainWindowTest::centring_data() {
  QTest::addColumn<QSize>("screen");
  QTest::addColumn<QPoint>("topLeft");
  QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(137, 70);
  QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(585, 226);
  QTest::newRow("odd remainder") << QSize(1025, 769) << QPoint(137, 70);
  QTest::newRow("exactly the window") << QSize(750, 628) << QPoint(0, 0);
  QTest::newRow("smaller than the window") << QSize(640, 480) << QPoint(0, 0);
}

void MainWindowTest::centring() {
  QFETCH(QSize, screen);
  QFETCH(QPoint, topLeft);
  QCOMPARE(CentredTopLeft(screen), topLeft);
}

void MainWindowTest::escapeCloses_data() {
  QTest::addColumn<QString>("focus");
  QTest::newRow("log box") << QStringLiteral("编辑框1");
  QTest::newRow("AV number") << QStringLiteral("编辑框2");
  QTest::newRow("password") << QStringLiteral("编辑框4");
  QTest::newRow("query button") << QStringLiteral("按钮2");
  QTest::newRow("login button") << QStringLiteral("按钮1");
}

void MainWindowTest::escapeCloses() {
  QFETCH(QString, focus);
  TestWindow t;
  QVERIFY(t.Show());
  auto* target = t.window.findChild<QWidget*>(focus);
  target->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), target);
  QTest::keyClick(target, Qt::Key_Escape);
  QTRY_VERIFY(!t.window.isVisible());
}

void MainWindowTest::enterKeepsTheFocus() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* av = t.find<QLineEdit>("编辑框2");
  QTest::keyClick(av, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), av);
  QVERIFY(t.window.isVisible());

  // In the log box Enter is a line break.
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  log->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), log);
  QTest::keyClicks(log, "ab");
  QTest::keyClick(log, Qt::Key_Return);
  QTest::keyClicks(log, "c");
  QCOMPARE(QApplication::focusWidget(), log);
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("ab\r\nc"));
}

void MainWindowTest::captchaBoxRefusesAnEighthCharacter() {
  TestWindow t;
  auto* captcha = t.find<QLineEdit>("编辑框5");
  QTest::keyClicks(captcha, "abcdefgh");
  QCOMPARE(captcha->text(), QStringLiteral("abcdefg"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框5), Text("abcdefg"));

  // The limit is for typing: the program writes any length, and the user can then delete but
  // not add.
  t.controls().WriteContent(EditBox::编辑框5, Text("0123456789"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框5), Text("0123456789"));
  captcha->end(false);
  QTest::keyClicks(captcha, "x");
  QCOMPARE(captcha->text(), QStringLiteral("0123456789"));
  QTest::keyClick(captcha, Qt::Key_Backspace);
  QTest::keyClick(captcha, Qt::Key_Backspace);
  QCOMPARE(captcha->text(), QStringLiteral("01234567"));
  QTest::keyClicks(captcha, "x");
  QCOMPARE(captcha->text(), QStringLiteral("01234567"));
  QTest::keyClick(captcha, Qt::Key_Backspace);
  QTest::keyClick(captcha, Qt::Key_Backspace);
  QTest::keyClicks(captcha, "xy");
  QCOMPARE(captcha->text(), QStringLiteral("012345x"));

  // Within the limit the box edits as any other: typing in the middle keeps the caret there,
  // and the typing can be undone.
  t.controls().WriteContent(EditBox::编辑框5, Text());
  QTest::keyClicks(captcha, "abc");
  QTest::keyClick(captcha, Qt::Key_Left);
  QTest::keyClick(captcha, Qt::Key_Left);
  QTest::keyClicks(captcha, "xy");
  QCOMPARE(captcha->text(), QStringLiteral("axybc"));
  QCOMPARE(captcha->cursorPosition(), 3);
  QVERIFY(captcha->isUndoAvailable());
  captcha->undo();
  QCOMPARE(captcha->text(), QStringLiteral("abc"));
  // Deleting from a long program write in the middle keeps the caret where it was too.
  t.controls().WriteContent(EditBox::编辑框5, Text("0123456789"));
  captcha->setCursorPosition(5);
  QTest::keyClick(captcha, Qt::Key_Backspace);
  QCOMPARE(captcha->text(), QStringLiteral("012356789"));
  QCOMPARE(captcha->cursorPosition(), 4);
}

void MainWindowTest::passwordShowsStarsAndReadsBackTheText() {
  TestWindow t;
  auto* password = t.find<QLineEdit>("编辑框4");
  QTest::keyClicks(password, "pa55 w+rd");
  QCOMPARE(password->displayText(), QStringLiteral("*********"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框4), Text("pa55 w+rd"));
}

// Each event reaches its workflow. With the site refusing connections the workflows end on
// their "no answer" paths, which are quick and known.
void MainWindowTest::eventTable_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("expectedLog");
  QTest::newRow("按钮3 clicked: logout")
      << QStringLiteral("按钮3") << QStringLiteral("before\n登录信息:账号已注销\n");
  QTest::newRow("按钮1 clicked: login")
      << QStringLiteral("按钮1") << QStringLiteral("before\n登录信息:账号未填!!\n");
  QTest::newRow("图片框2 left press: captcha")
      << QStringLiteral("图片框2") << QStringLiteral("before\n登录信息:再次获取验证码中…\n");
  QTest::newRow("编辑框5 focused: captcha")
      << QStringLiteral("编辑框5") << QStringLiteral("before\n登录信息:获取验证码中…\n");
  QTest::newRow("按钮2 clicked: query")
      << QStringLiteral("按钮2")
      << QStringLiteral("before\n") + QString(84, u'=') +
             QStringLiteral("\n标题:\nUP主:\n投稿时间:\n图片地址:\nCID:\nAID:\n") +
             QString(41, u'=') + QStringLiteral("视频下载地址") + QString(27, u'=') +
             QStringLiteral("\n");
  QTest::newRow("清空内容 clicked: clear") << QStringLiteral("清空内容") << QString();
}

void MainWindowTest::eventTable() {
  QFETCH(QString, control);
  QFETCH(QString, expectedLog);
  TestWindow t;
  QVERIFY(t.Show());
  t.controls().AppendLog(Text("before\r\n"));
  // The log changes while the handler runs: that is when the busy cursor must be up.
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QList<int> cursorsWhileLogging;
  QObject::connect(log, &QPlainTextEdit::textChanged, log, [&cursorsWhileLogging] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    cursorsWhileLogging.append(cursor != nullptr ? int(cursor->shape()) : -1);
  });
  auto* target = t.window.findChild<QWidget*>(control);
  if (control == QStringLiteral("编辑框5")) {
    target->setFocus(Qt::MouseFocusReason);
  } else {
    QTest::mouseClick(target, Qt::LeftButton);
  }
  QCOMPARE(t.find<QPlainTextEdit>("编辑框1")->toPlainText(), expectedLog);
  QVERIFY(!cursorsWhileLogging.isEmpty());
  // Clearing the log blocks nothing, so it shows no busy cursor; every workflow does.
  const int expectedCursor = control == QStringLiteral("清空内容") ? -1 : int(Qt::WaitCursor);
  for (int cursor : cursorsWhileLogging)
    QCOMPARE(cursor, expectedCursor);
  // The busy cursor of the handler is gone once it has returned.
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
