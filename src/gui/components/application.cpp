#include "gui/components/application.h"

#include <stdexcept>

#include "core/platform/hooks.h"

namespace pagolin {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication* TApplication::Instance() { return qobject_cast<TApplication*>(QCoreApplication::instance()); }

void TApplication::HandleException(const std::exception& e) {
  if (OnException)
    OnException(e);
  else
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e) { ShowError(e.what()); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  // The handler may itself fail (a message box that cannot be shown); that must not end the
  // program either, so it is guarded like the event.
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    try {
      HandleException(e);
    } catch (...) {
    }
  } catch (...) {
    try {
      HandleException(std::runtime_error("An unexpected error occurred."));
    } catch (...) {
    }
  }
  return false;
}

namespace {
constexpr char kTitleProperty[] = "pagolinApplicationTitle";
}  // namespace

void SetApplicationTitle(const QString& title) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->setProperty(kTitleProperty, title);
}

QString ApplicationTitle() {
  QCoreApplication* app = QCoreApplication::instance();
  const QString title = app ? app->property(kTitleProperty).toString() : QString();
  return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

}  // namespace pagolin
