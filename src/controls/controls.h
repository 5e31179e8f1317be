// The narrow view of MainWindow that the workflows get: the four control properties they read
// or write, and the log. Nothing here names a toolkit type, so workflows run the same against
// the real window, in tests and in the demo.
#pragma once

// moc cannot read identifiers spelled outside ASCII, and it needs nothing from here, so a
// Q_OBJECT class in a file that includes this header still gets through moc.
#ifndef Q_MOC_RUN

#include "text/text.h"

namespace quorvane {

enum class EditBox { 编辑框1, 编辑框2, 编辑框3, 编辑框4, 编辑框5 };
enum class Button { 按钮1, 按钮2, 按钮3, 清空内容 };
enum class PictureBox { 图片框1, 图片框2 };

class Controls {
 public:
  virtual ~Controls() = default;

  // The box's whole text as code-page-936 bytes; a line break reads back as CR LF.
  virtual Text ReadContent(EditBox box) const = 0;
  // Replaces the whole text, raises the content-changed notification once and leaves the box
  // showing its first line with the caret at the start.
  virtual void WriteContent(EditBox box, const Text& text) = 0;
  // true greys the button out (no clicks, no focus); the caption stays.
  virtual void WriteDisabled(Button button, bool disabled) = 0;
  virtual void WriteCaption(Button button, const Text& caption) = 0;
  // A copy of the image bytes becomes the box's picture; empty or unreadable bytes leave only
  // the background.
  virtual void WritePicture(PictureBox box, const Bytes& picture) = 0;
  // The log box's content becomes its old content followed by the line; afterwards it shows its
  // first line with the caret at the start. Callers end their lines with CR LF.
  virtual void AppendLog(const Text& line) = 0;
};

}  // namespace quorvane

#endif  // Q_MOC_RUN
