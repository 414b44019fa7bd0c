// TInputBlock: while it lives, a window takes no commands. Long work that keeps its window
// repainting (by processing pending events) must not have a second command start in its
// middle: mouse, keys, the shortcuts of the window's actions, the wheel, drag and drop and
// hover go nowhere in that window and its children, while other windows (the message boxes
// of the work) take input as usual; the window shows the busy cursor. A request to close the window is put to
// the person as a question; after a Yes, CloseRequested() is true: the work stops where it can and closes the
// window after the block has ended.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace pagolin {

class TInputBlock : public QObject {
  Q_OBJECT

 public:
  // question: asked (Yes/No) when the window is to be closed meanwhile.
  TInputBlock(QWidget* window, std::string question);
  ~TInputBlock() override;
  TInputBlock(const TInputBlock&) = delete;
  TInputBlock& operator=(const TInputBlock&) = delete;

  bool CloseRequested() const { return closeRequested_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  std::string question_;
  bool closeRequested_ = false;
  bool asking_ = false;
};

}  // namespace pagolin
