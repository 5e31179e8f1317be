#include "app/widget_controls.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/log_box.h"
#include "app/picture_widget.h"
#include "app/qt_text.h"

namespace quorvane {

WidgetControls::WidgetControls(const ControlWidgets& widgets) : widgets_(widgets) {}

QLineEdit* WidgetControls::LineEdit(EditBox box) const {
  switch (box) {
    case EditBox::编辑框2:
      return widgets_.编辑框2;
    case EditBox::编辑框3:
      return widgets_.编辑框3;
    case EditBox::编辑框4:
      return widgets_.编辑框4;
    case EditBox::编辑框5:
      return widgets_.编辑框5;
    case EditBox::编辑框1:
      break;
  }
  return nullptr;
}

QPushButton* WidgetControls::PushButton(Button button) const {
  switch (button) {
    case Button::按钮1:
      return widgets_.按钮1;
    case Button::按钮2:
      return widgets_.按钮2;
    case Button::按钮3:
      return widgets_.按钮3;
    case Button::清空内容:
      return widgets_.清空内容;
  }
  return widgets_.按钮1;
}

Text WidgetControls::ReadContent(EditBox box) const {
  if (box == EditBox::编辑框1) return ToTextLines(widgets_.编辑框1->toPlainText());
  return ToText(LineEdit(box)->text());
}

void WidgetControls::WriteContent(EditBox box, const Text& text) {
  if (box == EditBox::编辑框1) {
    widgets_.编辑框1->ReplaceText(ToQStringLines(text));
    return;
  }
  QLineEdit* edit = LineEdit(box);
  edit->setText(ToQString(text));
  edit->setCursorPosition(0);
}

void WidgetControls::WriteDisabled(Button button, bool disabled) {
  QPushButton* target = PushButton(button);
  if (disabled && target->hasFocus()) target->clearFocus();
  target->setDisabled(disabled);
}

void WidgetControls::WriteCaption(Button button, const Text& caption) {
  PushButton(button)->setText(ToQString(caption));
}

void WidgetControls::WritePicture(PictureBox box, const Bytes& picture) {
  (box == PictureBox::图片框1 ? widgets_.图片框1 : widgets_.图片框2)->SetPicture(picture);
}

void WidgetControls::AppendLog(const Text& line) {
  widgets_.编辑框1->AppendText(ToQStringLines(line));
}

}  // namespace quorvane
