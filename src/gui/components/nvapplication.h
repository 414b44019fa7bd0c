// TNVApplication: the program's identity as a component of the main window: title, version,
// support e-mail address and home page. Loaded puts the title on the owner's caption and on the
// application and installs the owner's exception and hint handlers in the application; four
// small services stand behind the Help menu: open the home page, write an e-mail, and copy
// either address to the clipboard.
#pragma once

#include <QFlags>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>

namespace pagolin {

enum class TAppOption { aoSetTitle = 0x1 };
using TAppOptions = QFlags<TAppOption>;

class TNVApplication : public QObject {
  Q_OBJECT

 public:
  // Starts with the values of a newly placed component ("My Application", "1.0", placeholder
  // addresses); the owner sets its own before Loaded.
  explicit TNVApplication(QObject* owner);

  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  const QString& Version() const { return version_; }
  void SetVersion(const QString& version) { version_ = version; }
  const QString& EmailAddress() const { return emailAddress_; }
  void SetEmailAddress(const QString& address) { emailAddress_ = address; }
  const QString& Homepage() const { return homepage_; }
  void SetHomepage(const QString& url) { homepage_ = url; }
  TAppOptions Options() const { return options_; }
  void SetOptions(TAppOptions options) { options_ = options; }

  // Become the application's exception event and hint event at Loaded, when assigned.
  std::function<void(const std::exception&)> OnHandleException;
  std::function<void()> OnShowHint;

  // Runs once the owner has set the properties, in this order: the owner's caption and the
  // application title become Title; OnHandleException and OnShowHint, when assigned, are
  // installed in the application; with aoSetTitle the caption of an owning window becomes
  // Title + " " + Version.
  void Loaded();

  // Asks the desktop to open Homepage (OpenWithDesktop: a message says when nothing opens it).
  void VisitHomepage() const;
  // Asks the desktop to open "mailto:" + EmailAddress + "?subject=" + Title + " " + Version.
  void SendEmail() const;
  // Put Homepage, resp. EmailAddress, on the clipboard as text.
  void CopyHomepage() const;
  void CopyEmailAddress() const;

 private:
  QString title_;
  QString version_;
  QString emailAddress_;
  QString homepage_;
  TAppOptions options_;
};

}  // namespace pagolin
