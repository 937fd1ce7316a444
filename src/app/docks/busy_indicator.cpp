#include "app/docks/busy_indicator.h"

#include <QPainter>
#include <QtMath>

CBusyIndicator::CBusyIndicator(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  setToolTip(tr("Lookups are running while this turns"));
  timer_.setInterval(80);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void CBusyIndicator::SetBusy(bool busy) {
  if (busy == timer_.isActive()) return;
  if (busy) {
    timer_.start();
  } else {
    timer_.stop();
    frame_ = 0;
    update();
  }
}

void CBusyIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF centre = rect().center() + QPointF(0.5, 0.5);
  const double radius = std::min(width(), height()) / 2.0 - 3.0;
  const QColor base = palette().color(QPalette::WindowText);
  for (int i = 0; i < kFrames; ++i) {
    // The dot of the current frame is darkest; the ones behind it fade.
    const int age = (frame_ - i + kFrames) % kFrames;
    QColor c = base;
    c.setAlphaF(IsBusy() ? std::max(0.15, 1.0 - age / double(kFrames)) : 0.25);
    const double angle = 2 * M_PI * i / kFrames - M_PI / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(centre + QPointF(radius * std::cos(angle), radius * std::sin(angle)), 1.8, 1.8);
  }
}
