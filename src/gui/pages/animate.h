// TAnimate: the little file-copy clip of the build dialog: a sheet flies from one folder to
// the other, 34 frames, round and round while active.
#pragma once

#include <QTimer>
#include <QWidget>

namespace pagolin {

class TAnimate : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFrames = 34;

  explicit TAnimate(QWidget* parent = nullptr);
  // Playing; the clock only runs while the widget is also visible.
  bool Active() const { return active_; }
  void SetActive(bool active);
  int Frame() const { return frame_; }
  QSize sizeHint() const override { return {272, 60}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void UpdateClock();
  QTimer timer_;
  bool active_ = false;
  int frame_ = 0;
};

}  // namespace pagolin
