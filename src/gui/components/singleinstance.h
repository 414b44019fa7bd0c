// TSingleInstance: keeps one copy of the program per site. Placed on the main form, it looks
// for a first copy on the same site when it is made: if there is one, this copy asks it to
// come to the front and, once it answers, ends as soon as its message loop runs, without
// putting its window on the screen. Otherwise this copy becomes the first and answers the
// copies that start after it.
//
// The copies talk over a local socket whose name holds the message name (the application's
// component name + "-it_SingleInstMsg"), the user and the site folder's canonical path: copies
// on different sites, or of different users, never meet. Each message is one line, "0 <stamp>"
// from a new copy and "1 <stamp>" in answer; the stamp (milliseconds since system start)
// names the copy that sends it, and a copy ignores messages that carry its own stamp. A socket
// left by a copy that crashed is taken over; the check and the take-over run under a lock
// file, so two copies starting together cannot both become the first.
#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace pagolin {

class EWrongOwner : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EAppNameNotSet : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  // Throws EWrongOwner when owner is not a window, EAppNameNotSet when the application has no
  // component name (objectName). A socket that cannot be made leaves the copy unguarded.
  TSingleInstance(QObject* owner, const QString& siteFolder);
  ~TSingleInstance() override;

  // The local socket of the copies that edit siteFolder (absolute path; in $XDG_RUNTIME_DIR,
  // else in the temporary folder).
  static QString ServerName(const QString& messageName, const QString& siteFolder);

  const QString& MessageName() const { return messageName_; }
  quint32 Stamp() const { return stamp_; }
  // This copy listens for later copies.
  bool IsFirst() const;
  // A first copy answered: this copy ends.
  bool Terminated() const { return terminated_; }

 private:
  void Listen();
  void AcceptConnection();
  void ReadMessages(QLocalSocket* socket);
  void HandleMessage(QLocalSocket* socket, int wParam, quint32 stamp);
  void BringOwnerToFront();
  void Terminate();

  QWidget* owner_;
  QString messageName_;
  QString serverName_;
  quint32 stamp_ = 0;
  QLocalServer* server_ = nullptr;
  bool terminated_ = false;
};

}  // namespace pagolin
