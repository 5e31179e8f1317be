// A borderless picture box: the button-face colour with the written picture drawn at its own
// size from the top-left corner, never scaled; an animated GIF plays while the box is shown.
#pragma once

#include <QSize>
#include <QWidget>
#include <vector>

#include "app/picture_render.h"
#include "text/text.h"

class QTimer;

namespace quorvane {

class PictureWidget : public QWidget {
  Q_OBJECT
 public:
  explicit PictureWidget(QWidget* parent = nullptr);
  ~PictureWidget() override;

  // A copy of the bytes becomes the box's picture, decoded once here. Empty or unreadable
  // bytes leave only the background; the old picture is gone in every case, and an animation
  // that was playing stops.
  void SetPicture(const Bytes& data);

  // The bytes last written, as they were given.
  const Bytes& PictureData() const { return data_; }
  // Whether frames are being changed now: a GIF of several frames while the box is visible.
  bool IsAnimating() const;

 signals:
  // The left mouse button went down over the box.
  void leftPressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Decodes data_ into frames_ for the box's current size and background.
  void Render();
  void ScheduleNextFrame();
  void ShowNextFrame();

  Bytes data_;
  std::vector<ShownFrame> frames_;
  size_t current_ = 0;
  QSize renderedSize_;
  QTimer* frameTimer_;  // child of the box
};

}  // namespace quorvane
