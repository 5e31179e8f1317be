#include "app/log_box.h"

#include <QScrollBar>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

namespace quorvane {

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab and Enter belong to the text the user types, as in any editor.
  setTabChangesFocus(false);
  // maximumBlockCount stays at its default 0, so no line is ever dropped from the log. It is
  // not even set to 0: setting it switches the user's undo off.
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

void LogBox::ReplaceText(const QString& text) {
  // setPlainText raises textChanged once and leaves the undo stack empty by itself.
  ProgramWrite([&] { setPlainText(text); });
}

void LogBox::AppendText(const QString& text) {
  if (text.isEmpty()) {
    // Writing the unchanged text back still counts as a write.
    ProgramWrite([] {});
    emit textChanged();
    return;
  }
  ProgramWrite([&] {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // One edit block, so that a text of several lines raises textChanged once.
    end.beginEditBlock();
    end.insertText(text);
    end.endEditBlock();
  });
}

void LogBox::ShowTop() {
  QTextCursor start = textCursor();
  start.movePosition(QTextCursor::Start);
  setTextCursor(start);
  verticalScrollBar()->setValue(verticalScrollBar()->minimum());
  horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

}  // namespace quorvane
