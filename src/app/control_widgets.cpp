#include "app/control_widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <climits>

#include "app/fitted_font.h"
#include "app/log_box.h"
#include "app/picture_widget.h"
#include "app/qt_text.h"

namespace quorvane {
namespace {

QLineEdit* NewLineEdit(const QString& content, QWidget* parent) {
  auto* edit = new QLineEdit(content, parent);
  // What the program writes into a box is never cut; 编辑框5 limits only the typing.
  edit->setMaxLength(INT_MAX);
  edit->setCursorPosition(0);
  return edit;
}

QPushButton* NewButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  // No button is a default button: Enter never clicks one behind the user's back.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QLabel* NewLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

}  // namespace

ControlWidgets ControlWidgets::Create(QWidget* window) {
  ControlWidgets widgets;
  for (const ControlPlace& place : kControlPlaces) {
    const QString caption = Caption(place.caption);
    const size_t slot = Slot(place.id);
    QWidget* control = nullptr;
    switch (place.id.kind) {
      case ControlKind::LogBox:
        control = widgets.log_ = new LogBox(window);
        break;
      case ControlKind::LineEdit:
        control = widgets.lineEdits_[slot] = NewLineEdit(caption, window);
        break;
      case ControlKind::Button:
        control = widgets.buttons_[slot] = NewButton(caption, window);
        break;
      case ControlKind::PictureBox:
        control = widgets.pictures_[slot] = new PictureWidget(window);
        break;
      case ControlKind::Label:
        control = widgets.labels_[slot] = NewLabel(caption, window);
        break;
    }
    control->setObjectName(Caption(place.name));
    control->setGeometry(place.x, place.y, place.width, place.height);
    // Buttons and labels are named by their captions, which the toolkit passes on by itself.
    if (!place.accessibleName.empty()) control->setAccessibleName(Caption(place.accessibleName));
    FitCaption(control);
  }
  return widgets;
}

std::array<QWidget*, 5> ControlWidgets::EditWidgets() const {
  std::array<QWidget*, 5> boxes{};
  boxes[0] = log_;
  for (size_t slot = 1; slot < boxes.size(); ++slot)
    boxes[slot] = lineEdits_[slot];
  return boxes;
}

}  // namespace quorvane
