// The window's fifteen widgets, each made once from the layout table and kept under its
// control's enum value, so the window and the Controls adapter reach a control by the same name
// the workflows use. The window owns the widgets as its children; this holds the way to them.
#pragma once

// moc cannot read identifiers spelled outside ASCII and needs nothing from here (see
// controls/controls.h).
#ifndef Q_MOC_RUN

#include <array>

#include "app/window_layout.h"
#include "controls/controls.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvane {

class LogBox;
class PictureWidget;

class ControlWidgets {
 public:
  // Holds no widget.
  ControlWidgets() = default;

  // Creates every control of kControlPlaces as a child of `window`, in the table's order (which
  // is the Tab order), with the control's name as its object name and its place and caption.
  static ControlWidgets Create(QWidget* window);

  LogBox* Log() const { return log_; }
  // 编辑框2 to 编辑框5; null for 编辑框1, the log box.
  QLineEdit* LineEdit(EditBox box) const { return lineEdits_[Slot(box)]; }
  // The five boxes, the log box first.
  std::array<QWidget*, 5> EditWidgets() const;
  QPushButton* PushButton(Button button) const { return buttons_[Slot(button)]; }
  PictureWidget* Picture(PictureBox box) const { return pictures_[Slot(box)]; }
  QLabel* TextLabel(Label label) const { return labels_[Slot(label)]; }

 private:
  static size_t Slot(ControlId id) { return static_cast<size_t>(id.slot); }

  LogBox* log_ = nullptr;
  std::array<QLineEdit*, 5> lineEdits_{};
  std::array<QPushButton*, 4> buttons_{};
  std::array<PictureWidget*, 2> pictures_{};
  std::array<QLabel*, 4> labels_{};
};

}  // namespace quorvane

#endif  // Q_MOC_RUN
