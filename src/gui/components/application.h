// TApplication: the program's application object. An exception that escapes an event handler
// reaches the event loop here instead of ending the program: it goes to OnException when one is
// installed, else to the standard error box, and the loop goes on with the next event.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace pagolin {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  // The running application object; nullptr when the running one is a plain QApplication.
  static TApplication* Instance();

  // The application's exception event; unassigned, ShowException handles the exception.
  std::function<void(const std::exception&)> OnException;

  // Passes e to OnException, or to ShowException.
  void HandleException(const std::exception& e);
  // The standard error box with the exception's text.
  static void ShowException(const std::exception& e);

  bool notify(QObject* receiver, QEvent* event) override;
};

// The application's title, which message boxes carry as their caption. It is kept apart from
// Qt's application display name, which Qt would append to the caption of every window.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

}  // namespace pagolin
