#include "gui/components/hinttracker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace pagolin {

namespace {
constexpr char kHintProperty[] = "hint";
}

void SetHint(QWidget* widget, const QString& hint) { widget->setProperty(kHintProperty, hint); }

QString HintOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QString h = w->property(kHintProperty).toString();
    if (!h.isEmpty()) return h;
  }
  return {};
}

THintTracker::THintTracker(QObject* parent) : QObject(parent) {}

THintTracker* THintTracker::Application() {
  QCoreApplication* app = QCoreApplication::instance();
  auto* tracker =
      app->findChild<THintTracker*>(QStringLiteral("ApplicationHint"), Qt::FindDirectChildrenOnly);
  if (!tracker) {
    tracker = new THintTracker(app);
    tracker->setObjectName(QStringLiteral("ApplicationHint"));
    app->installEventFilter(tracker);
  }
  return tracker;
}

void THintTracker::SetCurrentHint(const QString& hint) {
  if (hint == current_) return;
  current_ = hint;
  emit hintChanged(current_);
}

bool THintTracker::eventFilter(QObject* watched, QEvent* event) {
  if (watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Enter)
      SetCurrentHint(HintOf(w));
    else if (event->type() == QEvent::Leave)
      SetCurrentHint(HintOf(w->parentWidget()));
    // A control's hint shows in the status bar, never also as a pop-up tip (a tool button takes
    // one from its action whenever the action changes, as after each Send News).
    else if (event->type() == QEvent::ToolTip && !w->property(kHintProperty).toString().isEmpty())
      return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pagolin
