// The window as a person reads it, whatever font the system provides and at any scale (CTest
// runs this at the scale factors 1 and 2): the log's frame rules stay on one line, captions fit
// their controls, and a screen reader has a name for every control.
#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/fitted_font.h"
#include "app/qt_text.h"
#include "test_window.h"
#include "text/text_ops.h"

using namespace quorvane;
using quorvane::test_support::TestWindow;

namespace {

// The rules the query frames its output with: the full rule, and the two around the download
// list, whose words are wider than the "=" they replace.
Text Rules() {
  const auto rule = [](int before, const char* words, int after) {
    return Text(std::string(static_cast<size_t>(before), '=')) + Local(words) +
           Text(std::string(static_cast<size_t>(after), '=')) + Text("\r\n");
  };
  return rule(84, "", 0) + rule(41, "视频下载地址", 27) + rule(38, "下载地址全部取出", 27);
}

int DisplayLines(QPlainTextEdit* log, const QTextBlock& block) {
  log->document()->documentLayout()->blockBoundingRect(block);
  return block.layout()->lineCount();
}

}  // namespace

class WindowReadingTest : public QObject {
  Q_OBJECT
 private slots:
  void rulesStayOnOneLine_data();
  void rulesStayOnOneLine();
  void captionsFitTheirControls_data();
  void captionsFitTheirControls();
  void everyControlHasAnAccessibleName();
};

void WindowReadingTest::rulesStayOnOneLine_data() {
  QTest::addColumn<QString>("family");
  QTest::addColumn<int>("pixels");  // 0: the family's default size
  QTest::newRow("the system's font") << QString() << 0;
  QTest::newRow("a large font") << QString() << 24;
  QTest::newRow("the CJK font") << QStringLiteral("WenQuanYi Micro Hei") << 14;
  QTest::newRow("a wide monospaced font") << QStringLiteral("DejaVu Sans Mono") << 16;
}

void WindowReadingTest::rulesStayOnOneLine() {
  QFETCH(QString, family);
  QFETCH(int, pixels);
  const QFont systemFont = QApplication::font();
  QFont font = systemFont;
  if (!family.isEmpty()) font.setFamily(family);
  if (pixels > 0) font.setPixelSize(pixels);
  QApplication::setFont(font);
  {
    TestWindow t;
    auto* log = t.find<QPlainTextEdit>("编辑框1");
    QVERIFY(t.Show());
    t.controls().AppendLog(Rules() + Local("视频标题:中文的标题 Title\r\n"));
    const qreal room = log->viewport()->width() - 2 * log->document()->documentMargin();
    const QFontMetricsF metrics(log->font(), log);
    QVERIFY2(metrics.horizontalAdvance(QString(84, QLatin1Char('='))) <= room,
             qPrintable(QFontInfo(log->font()).family()));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(DisplayLines(log, log->document()->findBlockByNumber(i)), 1);
    }
    // Code page 936 stays legible: the font never goes below the smallest legible size.
    QVERIFY(QFontInfo(log->font()).pixelSize() >= kSmallestLegiblePixels);
    // A font that fits as it is stays as it is.
    if (metrics.horizontalAdvance(QString(84, QLatin1Char('='))) * 1.2 < room) {
      QCOMPARE(QFontInfo(log->font()).pixelSize(), QFontInfo(font).pixelSize());
    }
  }
  QApplication::setFont(systemFont);
}

void WindowReadingTest::captionsFitTheirControls_data() {
  QTest::addColumn<int>("pixels");  // 0: the system's size
  QTest::newRow("the system's font") << 0;
  QTest::newRow("a large font") << 20;
}

void WindowReadingTest::captionsFitTheirControls() {
  QFETCH(int, pixels);
  const QFont systemFont = QApplication::font();
  QFont font = systemFont;
  if (pixels > 0) font.setPixelSize(pixels);
  QApplication::setFont(font);
  {
    TestWindow t;
    QVERIFY(t.Show());
    for (auto* button : t.window.findChildren<QPushButton*>()) {
      const QFontMetricsF metrics(button->font(), button);
      QVERIFY2(metrics.horizontalAdvance(button->text()) <= CaptionWidth(*button),
               qPrintable(button->objectName()));
    }
    for (auto* label : t.window.findChildren<QLabel*>()) {
      const QFontMetricsF metrics(label->font(), label);
      QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
               qPrintable(label->objectName()));
    }
    // A caption the login writes later fits as well.
    t.controls().WriteCaption(Button::按钮1, Local("用户不存在"));
    auto* login = t.find<QPushButton>("按钮1");
    QVERIFY(QFontMetricsF(login->font(), login).horizontalAdvance(login->text()) <=
            CaptionWidth(*login));
  }
  QApplication::setFont(systemFont);
}

void WindowReadingTest::everyControlHasAnAccessibleName() {
  TestWindow t;
  QVERIFY(t.Show());
  const auto name = [&](const char* control) {
    QWidget* widget = t.find<QWidget>(control);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  // The edit boxes are named by their labels, without the colon.
  const char* const named[][2] = {
      {"编辑框1", "日志"},       {"编辑框2", "AV号"},      {"编辑框3", "账号"},
      {"编辑框4", "密码"},       {"编辑框5", "验证码"},    {"图片框1", "视频封面"},
      {"图片框2", "验证码图片"}, {"按钮1", "登录"},        {"按钮2", "查询"},
      {"按钮3", "注销账号"},     {"清空内容", "清空内容"}, {"标签1", "账号:"},
      {"标签2", "AV号:"},        {"标签3", "密码:"},       {"标签4", "验证码:"},
  };
  for (const auto& [control, expected] : named) {
    QCOMPARE(name(control), QString::fromUtf8(expected));
  }
  // A button's name follows its caption.
  t.controls().WriteCaption(Button::按钮1, Local("登录成功"));
  QCOMPARE(name("按钮1"), QStringLiteral("登录成功"));
}

QTEST_MAIN(WindowReadingTest)
#include "window_reading_test.moc"
