// Answers a modal dialog from a test: once a visible modal widget that matches is on top and
// has become the active window (as a person waits for it; after 2 s of polling it is taken
// as it is), fn runs on it; a dialog fn left open is then rejected, so a failed check never
// hangs the run. Polls on a short timer from the event loop that the dialog's exec() runs (no
// sleeping).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace pagolin::test {

inline void WhenModal(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> fn) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  auto polls = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, matches, fn, polls] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || !matches(w)) return;
    if (!w->isActiveWindow() && ++*polls < 400) return;
    timer->stop();
    timer->deleteLater();
    fn(w);
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
  });
  timer->start();
}

inline void WhenModalNamed(const QString& name, std::function<void(QWidget*)> fn) {
  WhenModal([name](QWidget* w) { return w->objectName() == name; }, std::move(fn));
}

// Saves a picture of the widget into $PAGOLIN_SCREENSHOTS (when set) for a person to look at.
inline void Screenshot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("PAGOLIN_SCREENSHOTS");
  if (!dir.isEmpty()) w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace pagolin::test
