#include "gui/components/inputblock.h"

#include <QApplication>
#include <QEvent>

#include "core/platform/hooks.h"

namespace pagolin {

namespace {

// The window an object belongs to: its own for a widget, its parent widget's for an action.
QWidget* WindowOf(QObject* object) {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o->isWidgetType()) return static_cast<QWidget*>(o)->window();
  }
  return nullptr;
}

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    // Hover and hints would change the status bar that shows where the work is.
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::StatusTip:
    case QEvent::ToolTip:
    case QEvent::WhatsThis: return true;
    default: return false;
  }
}

}  // namespace

TInputBlock::TInputBlock(QWidget* window, std::string question)
    : window_(window), question_(std::move(question)) {
  qApp->installEventFilter(this);
  if (window_ != nullptr) window_->setCursor(Qt::BusyCursor);
}

TInputBlock::~TInputBlock() {
  qApp->removeEventFilter(this);
  if (window_ != nullptr) window_->unsetCursor();
}

bool TInputBlock::eventFilter(QObject* watched, QEvent* event) {
  if (window_ == nullptr || WindowOf(watched) != window_) return false;
  if (event->type() == QEvent::Close && watched == window_) {
    event->ignore();
    // One question at a time; the answer holds for the rest of the work.
    if (!asking_ && !closeRequested_) {
      asking_ = true;
      closeRequested_ =
          MessageDlg(question_, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == TModalResult::mrYes;
      asking_ = false;
    }
    return true;
  }
  return IsInput(event->type());
}

}  // namespace pagolin
