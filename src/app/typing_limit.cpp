#include "app/typing_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace quorvane {

void LimitTyping(QLineEdit* edit, int maxLength) {
  edit->setMaxLength(maxLength);
  // After every change the box allows what it holds, but never less than the limit; setting a
  // maximum at or above the text's length cuts nothing.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxLength](const QString& text) {
    edit->setMaxLength(std::max(maxLength, static_cast<int>(text.size())));
  });
}

}  // namespace quorvane
