#include "app/picture_widget.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>

#include "picture/picture.h"

namespace quorvane {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent), frameTimer_(new QTimer(this)) {
  setFocusPolicy(Qt::NoFocus);
  // paintEvent covers every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  frameTimer_->setSingleShot(true);
  frameTimer_->setTimerType(Qt::PreciseTimer);
  connect(frameTimer_, &QTimer::timeout, this, &PictureWidget::ShowNextFrame);
}

// The timer is a child and goes with the box, so a playing animation ends here too.
PictureWidget::~PictureWidget() = default;

void PictureWidget::SetPicture(const Bytes& data) {
  frameTimer_->stop();
  data_ = data;
  Render();
  update();
}

bool PictureWidget::IsAnimating() const { return frameTimer_->isActive(); }

void PictureWidget::Render() {
  frames_.clear();
  current_ = 0;
  renderedSize_ = size();
  if (!data_.empty()) {
    if (std::optional<DecodedPicture> decoded = DecodePicture(data_)) {
      const uint32_t background = palette().color(QPalette::Button).rgb();
      frames_ = RenderPicture(*decoded, background, width(), height());
    }
  }
  ScheduleNextFrame();
}

void PictureWidget::ScheduleNextFrame() {
  if (frames_.size() < 2 || !isVisible()) return;
  frameTimer_->start(PlayedDelayMs(frames_[current_].delayMs));
}

void PictureWidget::ShowNextFrame() {
  if (frames_.empty()) return;
  current_ = (current_ + 1) % frames_.size();
  update();
  ScheduleNextFrame();
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  if (!frames_.empty()) painter.drawImage(0, 0, frames_[current_].image);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit leftPressed();
  QWidget::mousePressEvent(event);
}

void PictureWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!frameTimer_->isActive()) ScheduleNextFrame();
}

void PictureWidget::hideEvent(QHideEvent* event) {
  frameTimer_->stop();
  QWidget::hideEvent(event);
}

void PictureWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The frames were cropped to the size they were rendered for; a box that grows must show
  // more of the picture. The resize that a first show delivers changes nothing.
  if (!data_.empty() && size() != renderedSize_) {
    frameTimer_->stop();
    Render();
  }
}

void PictureWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Blended pixels carry the background in them.
  if (event->type() == QEvent::PaletteChange && !data_.empty()) {
    frameTimer_->stop();
    Render();
    update();
  }
}

}  // namespace quorvane
