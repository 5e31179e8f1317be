// The multi-line log box 编辑框1: a plain-text editor the user may type into, and that the
// program rewrites or extends as a whole.
#pragma once

#include <QPlainTextEdit>

class QString;

namespace quorvane {

class LogBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit LogBox(QWidget* parent = nullptr);

  // Replaces the whole text ('\n' is a line break). textChanged is emitted once; the user's
  // undo history goes with the old text. Afterwards the box shows its first line with the
  // caret at the start.
  void ReplaceText(const QString& text);

  // The same observable result as ReplaceText(old text + text), at a cost that depends only on
  // the appended text: it is inserted at the end of the document, without touching the rest.
  void AppendText(const QString& text);

 private:
  // Runs a program write with the undo stack off, so that the stack holds the user's typing
  // only and cannot grow with the log.
  template <typename Write>
  void ProgramWrite(Write write);
  void ShowTop();
};

}  // namespace quorvane
