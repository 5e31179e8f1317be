#include "app/typing_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace quorvane {

void LimitTyping(QLineEdit* edit, int maxLength) {
  edit->setMaxLength(maxLength);
  // After every change the box allows what it holds, but never less than the limit; setting a
  // maximum at or above the text's length cuts nothing. Setting it also sets the text again,
  // which puts the caret at the end and empties the undo history, so it is set only when it
  // changes (while a long program write is shortened) and the caret is put back.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxLength](const QString& text) {
    const int allowed = std::max(maxLength, static_cast<int>(text.size()));
    if (edit->maxLength() == allowed) return;
    const int caret = edit->cursorPosition();
    edit->setMaxLength(allowed);
    edit->setCursorPosition(caret);
  });
}

}  // namespace quorvane
