// The multi-line log box 编辑框1: a plain-text editor the user may type into, and that the
// program rewrites or extends as a whole. Long lines wrap at the box's width, at word
// boundaries; while the box holds a line of ten thousand characters or more (a hostile page
// makes lines of megabytes), every line wraps anywhere, which Qt lays out in linear time. The
// text itself is never changed for that.
//
// The log's frame lines are rules of 84 "=", and a rule that wraps makes the log hard to read:
// the box takes the system's font at the largest size at which such a rule fits one line.
#pragma once

#include <QFont>
#include <QPlainTextEdit>

class QMimeData;
class QResizeEvent;
class QString;

namespace quorvane {

// The length of the rules the workflows frame the log with.
inline constexpr int kLogRuleLength = 84;

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
  // The last `replaceLast` characters of the box go first, replaced by the text, in the same
  // single write.
  void AppendText(const QString& text, qsizetype replaceLast = 0);

  // Counts every change to the box's text, the user's and the program's alike, so that a
  // caller can tell whether anything has changed the text since its own last write.
  quint64 EditCount() const { return edits_; }

 protected:
  // A paste or a drop of a very long line switches the wrapping first, as an append does.
  void insertFromMimeData(const QMimeData* source) override;
  // The width for the text is known only now; the font follows it.
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Makes the box break lines anywhere before a text with a very long line goes in, and after
  // a replacement with short lines only, at the word boundaries again.
  void WrapForLongLines(bool longLines);
  // Runs a program write with the undo stack off, so that the stack holds the user's typing
  // only and cannot grow with the log.
  template <typename Write>
  void ProgramWrite(Write write);
  void ShowTop();

  // The width a line of text may take: the viewport's, less the document's margins and the
  // caret, which the layout keeps free at a line's end.
  qreal LineWidth() const;

  QFont systemFont_;
  quint64 edits_ = 0;
};

}  // namespace quorvane
