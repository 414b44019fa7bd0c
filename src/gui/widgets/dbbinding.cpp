#include "gui/widgets/dbbinding.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <exception>

#include "core/platform/hooks.h"

namespace pagolin {

namespace {
const char* const kBindingName = "DataBinding";
}

TDBFieldBinding::TDBFieldBinding(QWidget* control, std::function<void(const TField*)> show,
                                 std::function<void(TField&)> write, std::function<void(bool)> setReadOnly)
    : QObject(control), control_(control), show_(std::move(show)) {
  setObjectName(QString::fromLatin1(kBindingName));
  control->installEventFilter(this);
  link_.OnDataChange = [this] {
    loading_ = true;
    show_(link_.Field());
    loading_ = false;
  };
  link_.OnUpdateData = [this, write = std::move(write)] {
    if (TField* field = link_.Field()) write(*field);
  };
  link_.OnEditingChange = [this, setReadOnly = std::move(setReadOnly)] { setReadOnly(!link_.CanModify()); };
}

TDBFieldBinding* TDBFieldBinding::Of(const QWidget* control) {
  return control ? control->findChild<TDBFieldBinding*>(QString::fromLatin1(kBindingName),
                                                        Qt::FindDirectChildrenOnly)
                 : nullptr;
}

bool TDBFieldBinding::Edit() {
  try {
    return link_.Edit();
  } catch (const std::exception& e) {
    ShowError(e.what());
    return false;
  }
}

void TDBFieldBinding::UserChanged() {
  if (loading_) return;
  if (!link_.Editing() && !Edit()) {
    link_.Reset();
    return;
  }
  link_.Modified();
}

bool TDBFieldBinding::UpdateRecord() {
  try {
    link_.UpdateRecord();
    return true;
  } catch (const std::exception& e) {
    ShowError(e.what());
    return false;
  }
}

bool TDBFieldBinding::eventFilter(QObject* watched, QEvent* event) {
  if (watched == control_) {
    if (event->type() == QEvent::FocusOut) {
      // Leaving for another control writes the pending change into the record, never posts.
      // A menu or another window taking the focus is no leaving.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) UpdateRecord();
    } else if (event->type() == QEvent::KeyPress && link_.IsModified() &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      link_.Reset();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pagolin
