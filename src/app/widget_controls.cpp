#include "app/widget_controls.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/control_widgets.h"
#include "app/fitted_font.h"
#include "app/log_box.h"
#include "app/picture_widget.h"
#include "app/qt_text.h"

namespace quorvane {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// The end of a text that the next write may still complete: a final CR (the next write may
// start with LF) or a final lead byte that has no trail byte yet. The walk goes forward, since
// a trail byte cannot be told from a lead byte seen from the end.
std::string OpenTail(std::string_view text) {
  if (text.empty()) return {};
  if (text.back() == '\r') return "\r";
  size_t at = 0;
  while (at + 1 < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    at += IsLeadByte(byte) && IsTrailByte(static_cast<unsigned char>(text[at + 1])) ? 2 : 1;
  }
  if (at == text.size() - 1 && IsLeadByte(static_cast<unsigned char>(text.back()))) {
    return std::string(1, text.back());
  }
  return {};
}

}  // namespace

Text WidgetControls::ReadContent(EditBox box) const {
  if (box == EditBox::编辑框1) return ToTextLines(widgets_.Log()->toPlainText());
  return ToText(widgets_.LineEdit(box)->text());
}

void WidgetControls::WriteContent(EditBox box, const Text& text) {
  if (box == EditBox::编辑框1) {
    widgets_.Log()->ReplaceText(ToQStringLines(text));
    logTail_ = OpenTail(text.view());
    logTailEdits_ = widgets_.Log()->EditCount();
    return;
  }
  QLineEdit* edit = widgets_.LineEdit(box);
  const QString string = ToQString(text);
  // A box's maximum length limits typing only; a program write is never cut.
  if (edit->maxLength() < string.size()) edit->setMaxLength(static_cast<int>(string.size()));
  edit->setText(string);
  edit->setCursorPosition(0);
}

void WidgetControls::WriteDisabled(Button button, bool disabled) {
  QPushButton* target = widgets_.PushButton(button);
  if (disabled && target->hasFocus()) target->clearFocus();
  target->setDisabled(disabled);
}

void WidgetControls::WriteCaption(Button button, const Text& caption) {
  QPushButton* target = widgets_.PushButton(button);
  target->setText(ToQString(caption));
  FitCaption(target);
}

void WidgetControls::WritePicture(PictureBox box, const Bytes& picture) {
  widgets_.Picture(box)->SetPicture(picture);
}

void WidgetControls::AppendLog(const Text& line) {
  if (line.empty()) {
    widgets_.Log()->AppendText(QString());
    return;
  }
  LogBox* log = widgets_.Log();
  // The box shows the open end as a line break or a U+FFFD; it is taken back and written
  // again together with the line, so that the pair decodes as the concatenation would. After
  // any other change to the box the old end stays as it is shown.
  const bool join = !logTail_.empty() && log->EditCount() == logTailEdits_;
  const std::string tail = join ? logTail_ : std::string();
  const Text joined = Text(tail) + line;
  const qsizetype shown = join ? ToQStringLines(Text(tail)).size() : 0;
  log->AppendText(ToQStringLines(joined), shown);
  logTail_ = OpenTail(joined.view());
  logTailEdits_ = log->EditCount();
}

}  // namespace quorvane
