// The Controls that the workflows see, over the real widgets of MainWindow: each call picks
// the widget of the named control and passes the value through the text layer. Nothing more.
#pragma once

#include <QtGlobal>
#include <string>

#include "controls/controls.h"

namespace quorvane {

class ControlWidgets;

class WidgetControls final : public Controls {
 public:
  // The widgets must outlive this object; MainWindow owns both.
  explicit WidgetControls(const ControlWidgets& widgets) : widgets_(widgets) {}

  // The log box gives its line breaks back as CR LF; a password box gives the characters
  // typed, not the mask.
  Text ReadContent(EditBox box) const override;
  // The log box turns CR LF, a lone CR and a lone LF each into one line break. A single-line
  // box takes the text as it is, with the caret put at its start.
  void WriteContent(EditBox box, const Text& text) override;
  // Disabling the button that has the focus leaves no control focused, rather than letting
  // the focus wander on to the next control (which could be 编辑框5, whose focus fetches a
  // captcha).
  void WriteDisabled(Button button, bool disabled) override;
  void WriteCaption(Button button, const Text& caption) override;
  void WritePicture(PictureBox box, const Bytes& picture) override;
  // Inserts the line at the end of the log box, without rewriting what is there. Two writes in
  // a row read back as their concatenation even where the box could not show the first one's
  // end as it was: a final CR followed by an LF is one CR LF, and a final lead byte followed by
  // its trail byte is one two-byte character.
  void AppendLog(const Text& line) override;

 private:
  const ControlWidgets& widgets_;
  // The open end of the last program write to the log box (a CR, or a lead byte, or nothing),
  // and the box's edit count right after that write.
  std::string logTail_;
  quint64 logTailEdits_ = 0;
};

}  // namespace quorvane
