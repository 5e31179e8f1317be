// Lines of every length in the log box: a hostile video page makes the query log lines of
// megabytes, and the box must take them, give them back exactly and keep the window usable.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/qt_text.h"
#include "test_window.h"
#include "text/text_ops.h"

using namespace quorvane;
using quorvane::test_support::TestWindow;

namespace {

Text Repeat(const Text& piece, int times) {
  std::string out;
  out.reserve(piece.Length() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i)
    out += piece.str();
  return Text(out);
}

// About a megabyte, the way a page cut between markers gives it: code-page-936 characters at
// both ends and between them one ASCII run with no place to break a line.
Text MegabyteLine(const char* label) {
  return Local(label) + Repeat(Text("cid="), 256 * 1024) + Local("中文的结尾");
}

// Whether every display line of the block but its last ends in a space: the box carried whole
// words over to the next line.
bool WrapsAtSpaces(QPlainTextEdit* log, const QTextBlock& block) {
  log->document()->documentLayout()->blockBoundingRect(block);
  const QTextLayout* layout = block.layout();
  if (layout->lineCount() < 2) return false;
  for (int i = 0; i + 1 < layout->lineCount(); ++i) {
    const QTextLine line = layout->lineAt(i);
    if (block.text().at(line.textStart() + line.textLength() - 1) != QLatin1Char(' ')) return false;
  }
  return true;
}

}  // namespace

class LogBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void megabyteLinesReadBackExactly_data();
  void megabyteLinesReadBackExactly();
  void normalLinesWrapAtWordBoundaries_data();
  void normalLinesWrapAtWordBoundaries();
};

void LogBoxTest::megabyteLinesReadBackExactly_data() {
  QTest::addColumn<QString>("firstBy");
  QTest::newRow("appended twice") << QStringLiteral("append");
  QTest::newRow("written, then appended") << QStringLiteral("write");
  QTest::newRow("pasted by the user, then appended") << QStringLiteral("paste");
}

// This hung the window: breaking an unbreakable run at word boundaries costs time quadratic in
// its length, and two megabytes took the box ten minutes. The CTest timeout guards it.
void LogBoxTest::megabyteLinesReadBackExactly() {
  QFETCH(QString, firstBy);
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QVERIFY(t.Show());
  const Text first = MegabyteLine("视频标题:");
  // No line break between the two: the second goes on at the end of the first.
  const Text second = MegabyteLine("视频CID:") + Text("\r\n");

  if (firstBy == QStringLiteral("append")) {
    t.controls().AppendLog(first);
  } else if (firstBy == QStringLiteral("write")) {
    t.controls().WriteContent(EditBox::编辑框1, first);
  } else {
    QApplication::clipboard()->setText(ToQString(first));
    log->setFocus();
    log->paste();
  }
  t.controls().AppendLog(second);
  QApplication::processEvents();

  // Not QCOMPARE: a mismatch would print megabytes.
  QVERIFY(t.controls().ReadContent(EditBox::编辑框1) == first + second);
  QCOMPARE(log->blockCount(), 2);
  QCOMPARE(log->textCursor().position(), 0);
  QCOMPARE(log->verticalScrollBar()->value(), 0);
  QCOMPARE(log->cursorForPosition(QPoint(4, 4)).blockNumber(), 0);
  // Shown wrapped at the box's width.
  const QTextLayout* layout = log->document()->firstBlock().layout();
  QVERIFY(layout->lineCount() > 1000);
  for (int i = 0; i < layout->lineCount(); ++i) {
    QVERIFY2(layout->lineAt(i).naturalTextWidth() <= log->viewport()->width(),
             qPrintable(QStringLiteral("display line %1").arg(i)));
  }
}

void LogBoxTest::normalLinesWrapAtWordBoundaries_data() {
  QTest::addColumn<QByteArrayList>("writes");
  QTest::addColumn<int>("appends");
  const QByteArray longLine = QByteArray(20000, 'x') + "\r\n";
  QByteArray shortLines;
  for (int i = 0; i < 3000; ++i)
    shortLines += QByteArray(58, 'a' + i % 26) + "\r\n";
  QTest::newRow("empty box") << QByteArrayList{} << 0;
  QTest::newRow("a long text of short lines") << QByteArrayList{shortLines} << 0;
  QTest::newRow("short lines appended past the long-line length") << QByteArrayList{} << 400;
  QTest::newRow("a long line cleared") << QByteArrayList{longLine, QByteArray()} << 0;
  QTest::newRow("a long line replaced") << QByteArrayList{longLine, "short\r\n"} << 0;
}

// Breaking very long lines anywhere must not leak to the lines of an ordinary log.
void LogBoxTest::normalLinesWrapAtWordBoundaries() {
  QFETCH(QByteArrayList, writes);
  QFETCH(int, appends);
  TestWindow t;
  auto* log = t.find<QPlainTextEdit>("编辑框1");
  QVERIFY(t.Show());
  for (const QByteArray& write : writes) {
    t.controls().WriteContent(EditBox::编辑框1, Text(write.toStdString()));
  }
  for (int i = 0; i < appends; ++i) {
    t.controls().AppendLog(Text(std::string(58, 'b')) + Text("\r\n"));
  }
  // Words of every length from 1 to 12 letters, so that no width of the box puts the ends of
  // its lines on spaces by chance.
  std::string lengths;
  for (int length = 1; length <= 12; ++length)
    lengths += std::string(length, 'w') + " ";
  const Text words = Repeat(Text(lengths), 5) + Local("第一段") + Text("\r\n");
  t.controls().AppendLog(words);
  QVERIFY(WrapsAtSpaces(log, log->document()->lastBlock().previous()));
}

QTEST_MAIN(LogBoxTest)
#include "log_box_test.moc"
