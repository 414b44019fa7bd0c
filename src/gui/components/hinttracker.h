// Hints in the status bar instead of pop-up tips: the hint of the control under the mouse,
// or of the nearest enclosing control that has one, or in the end the window's own hint.
// A control's hint is its "hint" property (SetHint); menu items use their status tips. A
// control with a hint of its own shows no pop-up tip.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace pagolin {

void SetHint(QWidget* widget, const QString& hint);
QString HintOf(const QWidget* widget);  // its own or the nearest ancestor's, "" if none

class THintTracker : public QObject {
  Q_OBJECT
 public:
  explicit THintTracker(QObject* parent = nullptr);

  // The application's hint: one tracker per application object, made on first use, owned by
  // the application and watching every widget of it.
  static THintTracker* Application();
  const QString& CurrentHint() const { return current_; }
  // Sets the current hint directly (a highlighted menu item).
  void SetCurrentHint(const QString& hint);

 signals:
  void hintChanged(const QString& hint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString current_;
};

}  // namespace pagolin
