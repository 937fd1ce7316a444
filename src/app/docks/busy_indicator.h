// The busy animation of the toolbar: a ring of dots that turns while lookups
// are queued or running and rests on its first frame when all is idle.
#pragma once

#include <QTimer>
#include <QWidget>

class CBusyIndicator : public QWidget {
  Q_OBJECT

 public:
  explicit CBusyIndicator(QWidget* parent = nullptr);

  // Plays the animation from where it is, repeating, or stops it on its first
  // frame.
  void SetBusy(bool busy);
  bool IsBusy() const { return timer_.isActive(); }
  int Frame() const { return frame_; }

  QSize sizeHint() const override { return {22, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kFrames = 12;
  QTimer timer_;
  int frame_ = 0;
};
