// TSingleInstance: keeps one copy of the program per site. Placed on the main form, it claims
// the site when it is made: if another copy holds the claim, this copy asks it to come to the
// front and, once it answers, ends as soon as its message loop runs, without putting its window
// on the screen. Otherwise this copy holds the claim and answers the copies that start after it.
//
// The claim is a lock that the system lets go of when its process ends (TProcessLock, beside
// the socket): whoever holds it is the first copy, then listens on a local socket whose name
// holds the message name (the application's component name + "-it_SingleInstMsg"), the user
// and the site folder's canonical path; copies on different sites, or of different users,
// never meet. A copy that cannot reach the holder (not listening yet, stopped, busy) waits
// and tries again, the lock and the socket in turn, until the holder answers or has ended:
// it never runs beside it. Each message is one line, "0 <stamp>" from a new copy and
// "1 <stamp>" in answer; the stamp (milliseconds since system start) names the copy that
// sends it.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <stdexcept>

#include "core/platform/processlock.h"

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
  // component name (objectName). Where no lock file can be made at all (a socket folder
  // without write access) the copy runs unguarded.
  TSingleInstance(QObject* owner, const QString& siteFolder);
  ~TSingleInstance() override;

  // The local socket of the copies that edit siteFolder (absolute path; in $XDG_RUNTIME_DIR,
  // else in the temporary folder). The lock file is its name + ".lock".
  static QString ServerName(const QString& messageName, const QString& siteFolder);

  const QString& MessageName() const { return messageName_; }
  quint32 Stamp() const { return stamp_; }
  // This copy holds the claim and listens for later copies.
  bool IsFirst() const;
  // Another copy holds the site and answered: this copy ends.
  bool Terminated() const { return terminated_; }

  enum class TMove {
    mvMoved,           // this copy now holds siteFolder (and no longer its old site)
    mvBroughtForward,  // another copy holds siteFolder and came to the front; nothing changed here
    mvNoAnswer         // another copy holds siteFolder but did not answer; nothing changed here
  };
  // Moves this copy's claim to the site in siteFolder (opening another site in the window).
  TMove MoveTo(const QString& siteFolder);

 private:
  enum class TClaim { clClaimed, clAnswered, clNoAnswer };
  // Takes the claim of the site whose socket is serverName (letting go of the one held) and
  // listens on it, or has the holder come to the front and answer; round after round until
  // one of the two happened or the deadline passed.
  TClaim ClaimOrAsk(const QString& serverName, QDeadlineTimer deadline);
  // Asks the holder of serverName to come to the front, waiting up to ms; true once it
  // answered. The line to it stays open between calls, so a holder that answers late is heard.
  bool AskHolder(const QString& serverName, int ms);
  void Listen();
  void AcceptConnection();
  void ReadMessages(QLocalSocket* socket);
  void BringOwnerToFront();
  void Terminate();

  QWidget* owner_;
  QString messageName_;
  QString serverName_;
  quint32 stamp_ = 0;
  TProcessLock lock_;
  QLocalServer* server_ = nullptr;
  QLocalSocket* asking_ = nullptr;  // the line to another copy's holder, while asking
  bool answered_ = false;
  bool terminated_ = false;
};

}  // namespace pagolin
