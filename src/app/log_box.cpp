#include "app/log_box.h"

#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QString>
#include <QStringView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/fitted_font.h"

namespace quorvane {

namespace {

// Breaking lines at word boundaries costs time quadratic in the length of a run without a
// break opportunity: for every display line, Qt extends the line to the end of the run before it
// falls back to breaking anywhere. A hostile page gives runs of megabytes (minutes of layout per
// line), so a box holding a line this long breaks anywhere, which is linear. Below it, an
// unbreakable run costs a few milliseconds, and no log line comes near it.
constexpr qsizetype kLongLine = 10000;

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

// Whether `text` holds a line of kLongLine characters or more once it is inserted into a line
// of `joined` characters. Where the text goes into that line is not known, so its first line
// and its last line each count with all of them.
bool HasLongLine(QStringView text, qsizetype joined) {
  qsizetype line = joined;
  bool broken = false;
  for (QChar c : text) {
    if (IsLineBreak(c)) {
      line = 0;
      broken = true;
    } else if (++line >= kLongLine) {
      return true;
    }
  }
  return broken && line + joined >= kLongLine;
}

}  // namespace

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent), systemFont_(font()) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab and Enter belong to the text the user types, as in any editor.
  setTabChangesFocus(false);
  // maximumBlockCount stays at its default 0, so no line is ever dropped from the log. It is
  // not even set to 0: setting it switches the user's undo off.
  connect(document(), &QTextDocument::contentsChange, this, [this] { ++edits_; });
}

template <typename Write>
void LogBox::ProgramWrite(Write write) {
  QTextDocument* doc = document();
  // Switching undo off also empties the stack: a program write ends the user's undo history,
  // as replacing the whole text would.
  doc->setUndoRedoEnabled(false);
  write();
  doc->setUndoRedoEnabled(true);
  ShowTop();
}

void LogBox::WrapForLongLines(bool longLines) {
  // Changing the mode lays the whole document out again, so it changes only when it must.
  const QTextOption::WrapMode mode =
      longLines ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
  if (wordWrapMode() != mode) setWordWrapMode(mode);
}

void LogBox::ReplaceText(const QString& text) {
  const bool longLines = HasLongLine(text, 0);
  // Before the text goes in when it has a long line, and after the old one is gone when it has
  // none: a long line must never be laid out at word boundaries, not even the old one.
  if (longLines) WrapForLongLines(true);
  // setPlainText raises textChanged once and leaves the undo stack empty by itself.
  ProgramWrite([&] { setPlainText(text); });
  if (!longLines) WrapForLongLines(false);
}

void LogBox::AppendText(const QString& text, qsizetype replaceLast) {
  if (text.isEmpty() && replaceLast == 0) {
    // Writing the unchanged text back still counts as a write.
    ProgramWrite([] {});
    emit textChanged();
    return;
  }
  // Only ever towards breaking anywhere: finding out whether the rest of the box still holds a
  // long line would cost time that grows with the log.
  if (HasLongLine(text, document()->lastBlock().length() - 1)) WrapForLongLines(true);
  ProgramWrite([&] {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (replaceLast > 0) {
      end.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, replaceLast);
    }
    // One edit block, so that a text of several lines raises textChanged once.
    end.beginEditBlock();
    end.insertText(text);
    end.endEditBlock();
  });
}

void LogBox::insertFromMimeData(const QMimeData* source) {
  // The paste goes in at the caret, into the line the caret is on.
  if (source->hasText() && HasLongLine(source->text(), textCursor().block().length() - 1)) {
    WrapForLongLines(true);
  }
  QPlainTextEdit::insertFromMimeData(source);
}

void LogBox::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  setFont(FittedFont(systemFont_, QString(kLogRuleLength, QLatin1Char('=')), LineWidth(), this));
}

qreal LogBox::LineWidth() const {
  return viewport()->width() - 2 * document()->documentMargin() - cursorWidth();
}

void LogBox::ShowTop() {
  QTextCursor start = textCursor();
  start.movePosition(QTextCursor::Start);
  setTextCursor(start);
  verticalScrollBar()->setValue(verticalScrollBar()->minimum());
  horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

}  // namespace quorvane
