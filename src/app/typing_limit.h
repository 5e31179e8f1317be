// A length limit for what the user types into a single-line box, and for nothing else: a
// program write of any length goes in whole (WidgetControls raises the box's maximum length
// before it writes), and the user can then delete but not add until the text is under the
// limit again. Pastes are cut to fit, as with any maximum length.
#pragma once

class QLineEdit;

namespace quorvane {

void LimitTyping(QLineEdit* edit, int maxLength);

}  // namespace quorvane
