// The four control properties the workflows use, and the log box's append and clear, through
// the Controls of a real window.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>
#include <vector>

#include "test_window.h"
#include "text/text_ops.h"

using namespace quorvane;
using quorvane::test_support::TestWindow;

class ControlAccessTest : public QObject {
  Q_OBJECT
 private slots:
  void logBoxLineBreaks_data();
  void logBoxLineBreaks();
  void singleLineBoxKeepsTheText_data();
  void singleLineBoxKeepsTheText();
  void writeReplacesRaisesOnceAndShowsTheTop();
  void appendFollowsUserTextDirectly();
  void twoAppendsInARow();
  void writesJoinAcrossTheirBorder_data();
  void writesJoinAcrossTheirBorder();
  void manyAppendsReadBackAsOneWrite();
  void userEditEndsTheJoin();
  void appendLeavesTheTopInViewAndNoUndoHistory();
  void clear();
  void buttonKeepsItsCaptionAcrossDisabling();
  void disablingTheFocusedButtonMovesNoFocus();
};

void ControlAccessTest::logBoxLineBreaks_data() {
  QTest::addColumn<QByteArray>("written");
  QTest::addColumn<QByteArray>("readBack");
  QTest::addColumn<int>("lines");
  QTest::newRow("empty") << QByteArray() << QByteArray() << 1;
  QTest::newRow("CR LF") << QByteArray("a\r\nb") << QByteArray("a\r\nb") << 2;
  QTest::newRow("ends with CR LF") << QByteArray("a\r\n") << QByteArray("a\r\n") << 2;
  QTest::newRow("empty line") << QByteArray("a\r\n\r\nb") << QByteArray("a\r\n\r\nb") << 3;
  QTest::newRow("lone LF") << QByteArray("a\nb") << QByteArray("a\r\nb") << 2;
  QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\r\nb") << 2;
  QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb") << 3;
  QTest::newRow("code page 936") << QByteArray(Local("登录信息:正在登录...\r\n").c_str())
                                 << QByteArray(Local("登录信息:正在登录...\r\n").c_str()) << 2;
  // A lead byte without its second byte cannot be shown; it comes back as "?".
  QTest::newRow("cut two-byte character") << QByteArray("ab\xC4") << QByteArray("ab?") << 1;
}

void ControlAccessTest::logBoxLineBreaks() {
  QFETCH(QByteArray, written);
  QFETCH(QByteArray, readBack);
  QFETCH(int, lines);
  TestWindow t;
  t.controls().WriteContent(EditBox::编辑框1, Text(written.toStdString()));
  QCOMPARE(QByteArray::fromStdString(t.controls().ReadContent(EditBox::编辑框1).str()), readBack);
  QCOMPARE(t.find<QPlainTextEdit>("编辑框1")->blockCount(), lines);

  // Appending gives the same content as writing the whole text would.
  TestWindow appended;
  appended.controls().AppendLog(Text(written.toStdString()));
  QCOMPARE(QByteArray::fromStdString(appended.controls().ReadContent(EditBox::编辑框1).str()),
           readBack);
}

void ControlAccessTest::singleLineBoxKeepsTheText_data() {
  QTest::addColumn<int>("box");
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("AV number") << int(EditBox::编辑框2) << QByteArray("170001");
  QTest::newRow("account, code page 936")
      << int(EditBox::编辑框3) << QByteArray(Local("用户 name").c_str());
  QTest::newRow("password emptied") << int(EditBox::编辑框4) << QByteArray();
  QTest::newRow("long AV number, no limit") << int(EditBox::编辑框2) << QByteArray(40000, '7');
}

void ControlAccessTest::singleLineBoxKeepsTheText() {
  QFETCH(int, box);
  QFETCH(QByteArray, text);
  TestWindow t;
  const auto which = static_cast<EditBox>(box);
  t.controls().WriteContent(which, Text(text.toStdString()));
  QCOMPARE(QByteArray::fromStdString(t.controls().ReadContent(which).str()), text);
  const char* names[] = {"编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5"};
  QCOMPARE(t.find<QLineEdit>(names[box])->cursorPosition(), 0);
}

void ControlAccessTest::writeReplacesRaisesOnceAndShowsTheTop() {
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QVERIFY(t.Show());
  QTest::keyClicks(log, "typed by the user");
  QSignalSpy changed(log, &QPlainTextEdit::textChanged);

  Text many;
  for (int i = 0; i < 100; ++i)
    many += Text("line " + std::to_string(i) + "\r\n");
  t.controls().WriteContent(EditBox::编辑框1, many);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), many);
  QCOMPARE(log->textCursor().position(), 0);
  QCOMPARE(log->verticalScrollBar()->value(), 0);
  QVERIFY(log->verticalScrollBar()->maximum() > 0);

  t.controls().WriteContent(EditBox::编辑框1, Text());
  QCOMPARE(changed.count(), 2);
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1).empty());
}

void ControlAccessTest::appendFollowsUserTextDirectly() {
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QTest::keyClicks(log, "abc");
  t.controls().AppendLog(Local("登录信息:账号已注销\r\n"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1),
           Text("abc") + Local("登录信息:账号已注销\r\n"));
  QCOMPARE(log->blockCount(), 2);
}

void ControlAccessTest::twoAppendsInARow() {
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QSignalSpy changed(log, &QPlainTextEdit::textChanged);
  t.controls().AppendLog(Text("first\r\n"));
  t.controls().AppendLog(Text("second\r\n"));
  QCOMPARE(changed.count(), 2);
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("first\r\nsecond\r\n"));
  // An empty line changes nothing but still counts as a write.
  t.controls().AppendLog(Text());
  QCOMPARE(changed.count(), 3);
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("first\r\nsecond\r\n"));
}

void ControlAccessTest::writesJoinAcrossTheirBorder_data() {
  QTest::addColumn<bool>("firstWritten");  // else appended
  QTest::addColumn<QByteArray>("first");
  QTest::addColumn<QByteArray>("second");
  QTest::addColumn<QByteArray>("readBack");
  QTest::addColumn<int>("lines");
  const auto row = [](const char* name, bool written, const char* first, const char* second,
                      const char* readBack, int lines) {
    QTest::newRow(name) << written << QByteArray(first) << QByteArray(second)
                        << QByteArray(readBack) << lines;
  };
  row("CR, then LF", false, "abc\r", "\nxyz\r\n", "abc\r\nxyz\r\n", 3);
  row("CR, then CR LF", false, "a\r", "\r\n", "a\r\n\r\n", 3);
  row("CR, then text", false, "a\r", "b", "a\r\nb", 2);
  row("lead byte, then trail byte", false, "a\xB0", "\xA1z", "a\xB0\xA1z", 1);
  row("lead byte, then no trail byte", false, "a\xB0", "\r\n", "a?\r\n", 2);
  row("a whole pair, then a pair", false, "\xB0\xA1", "\xB0\xA1", "\xB0\xA1\xB0\xA1", 1);
  row("written CR, then LF", true, "abc\r", "\nxyz", "abc\r\nxyz", 2);
  row("written lead byte, then trail", true, "ab\xC4", "\xE3", "ab\xC4\xE3", 1);
  row("CR, then a whole pair", false, "a\r", "\xB0\xA1", "a\r\n\xB0\xA1", 2);
  row("lead byte, then CR", false, "a\xB0", "\rb", "a?\r\nb", 2);
  row("lead byte, then LF", false, "a\xB0", "\nb", "a?\r\nb", 2);
  row("lead byte, then a lead byte", false, "a\xB0", "\xB0", "a\xB0\xB0", 1);
  row("lead byte, then nothing", false, "a\xB0", "", "a?", 1);
}

// The box cannot show a final CR or a lone lead byte as such; what the next append adds must
// still read back as the two texts written one after the other.
void ControlAccessTest::writesJoinAcrossTheirBorder() {
  QFETCH(bool, firstWritten);
  QFETCH(QByteArray, first);
  QFETCH(QByteArray, second);
  QFETCH(QByteArray, readBack);
  QFETCH(int, lines);
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QSignalSpy changed(log, &QPlainTextEdit::textChanged);
  if (firstWritten) {
    t.controls().WriteContent(EditBox::编辑框1, Text(first.toStdString()));
  } else {
    t.controls().AppendLog(Text(first.toStdString()));
  }
  t.controls().AppendLog(Text(second.toStdString()));
  QCOMPARE(QByteArray::fromStdString(t.controls().ReadContent(EditBox::编辑框1).str()), readBack);
  QCOMPARE(log->blockCount(), lines);
  QCOMPARE(changed.count(), 2);
  QCOMPARE(log->textCursor().position(), 0);
}

// Any run of appends, of single bytes too, reads back as the same bytes written at once.
void ControlAccessTest::manyAppendsReadBackAsOneWrite() {
  const std::vector<std::string> pieces = {"\xB0", "\xA1", "\xB0", "",   "\xB0", "\xB0",
                                           "\r",   "",     "\n",   "\r", "\r",   "\xC4",
                                           "\n",   "\xC4", "\xE3", "\r", "\xB0"};
  std::string whole;
  for (const std::string& piece : pieces)
    whole += piece;
  TestWindow t;
  t.controls().WriteContent(EditBox::编辑框1, Text(whole));
  const Text expected = t.controls().ReadContent(EditBox::编辑框1);
  t.controls().WriteContent(EditBox::编辑框1, Text());
  for (const std::string& piece : pieces)
    t.controls().AppendLog(Text(piece));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), expected);
}

// What the user changed in between stays: the box's end is then what it shows.
void ControlAccessTest::userEditEndsTheJoin() {
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  t.controls().AppendLog(Text("abc\r"));
  QTest::keyClicks(log, "q");
  t.controls().AppendLog(Text("\nx"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("qabc\r\n\r\nx"));
  // A clear in between ends it too.
  t.controls().AppendLog(Text("y\r"));
  t.controls().WriteContent(EditBox::编辑框1, Text());
  t.controls().AppendLog(Text("\nz"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("\r\nz"));
}

void ControlAccessTest::appendLeavesTheTopInViewAndNoUndoHistory() {
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QVERIFY(t.Show());
  log->setFocus();
  QTest::keyClicks(log, "mine ");
  QVERIFY(log->document()->isUndoAvailable());
  for (int i = 0; i < 100; ++i) {
    t.controls().AppendLog(Text("appended line " + std::to_string(i) + "\r\n"));
  }
  QCOMPARE(log->textCursor().position(), 0);
  QCOMPARE(log->verticalScrollBar()->value(), 0);
  // The top-left corner of the view shows the first line.
  QCOMPARE(log->cursorForPosition(QPoint(4, 4)).blockNumber(), 0);
  QCOMPARE(log->document()->firstBlock().text(), QStringLiteral("mine appended line 0"));
  // Program writes leave nothing to undo: the stack cannot grow with the log, and an undo
  // cannot take a logged line away.
  QCOMPARE(log->document()->availableUndoSteps(), 0);
  QCOMPARE(log->blockCount(), 101);
  // The user's typing after that is undoable again.
  QTest::keyClicks(log, "x");
  QVERIFY(log->document()->isUndoAvailable());
}

void ControlAccessTest::clear() {
  TestWindow t;
  auto* clearButton = t.find<QPushButton>("清空内容");
  QTest::mouseClick(clearButton, Qt::LeftButton);
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1).empty());

  t.controls().AppendLog(Text("old\r\n"));
  QTest::mouseClick(clearButton, Qt::LeftButton);
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1).empty());
  t.controls().AppendLog(Text("new\r\n"));
  QCOMPARE(t.controls().ReadContent(EditBox::编辑框1), Text("new\r\n"));
}

void ControlAccessTest::buttonKeepsItsCaptionAcrossDisabling() {
  TestWindow t;
  auto* login = t.find<QPushButton>("按钮1");
  t.controls().WriteDisabled(Button::按钮1, true);
  QVERIFY(!login->isEnabled());
  t.controls().WriteCaption(Button::按钮1, Local("登录成功"));
  QCOMPARE(login->text(), QStringLiteral("登录成功"));
  t.controls().WriteDisabled(Button::按钮1, false);
  QVERIFY(login->isEnabled());
  QCOMPARE(login->text(), QStringLiteral("登录成功"));
}

// Letting the focus move on from a disabled button could land it in 编辑框5 and fetch a captcha
// nobody asked for.
void ControlAccessTest::disablingTheFocusedButtonMovesNoFocus() {
  TestWindow t;
  QVERIFY(t.Show());
  auto* login = t.find<QPushButton>("按钮1");
  login->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), login);
  t.controls().WriteDisabled(Button::按钮1, true);
  QCOMPARE(QApplication::focusWidget(), nullptr);
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1).empty());
}

QTEST_MAIN(ControlAccessTest)
#include "control_access_test.moc"
