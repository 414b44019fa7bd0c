#include "gui/components/singleinstance.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <chrono>

namespace pagolin {

namespace {

// How long one round waits for the holder's socket and answer before the lock is tried again.
constexpr int kAskMs = 250;
// The pause before the next round when nothing could be reached, so that waiting costs nothing.
constexpr unsigned long kRetryPauseMs = 50;
// How long opening another site waits for the copy that holds it to answer.
constexpr int kMoveAnswerMs = 5000;
constexpr qint64 kLongestMessage = 64;

quint32 MillisecondsSinceSystemStart() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<quint32>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

QByteArray Message(int wParam, quint32 stamp) {
  return QByteArray::number(wParam) + ' ' + QByteArray::number(stamp) + '\n';
}

QString SocketFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
  return QDir::tempPath();
}

std::string LockFileName(const QString& serverName) {
  return QFile::encodeName(serverName + QStringLiteral(".lock")).toStdString();
}

}  // namespace

TSingleInstance::TSingleInstance(QObject* owner, const QString& siteFolder)
    : QObject(owner), owner_(qobject_cast<QWidget*>(owner)) {
  if (!owner_ || !owner_->isWindow())
    throw EWrongOwner("Owner of TSingleInstance should be Application's main form");
  if (QCoreApplication::instance()->objectName().isEmpty())
    throw EAppNameNotSet(
        "Application must have a name. Set it in project before calling Application.CreateForm");

  messageName_ = QCoreApplication::instance()->objectName() + QStringLiteral("-it_SingleInstMsg");
  stamp_ = MillisecondsSinceSystemStart();
  const QString serverName = ServerName(messageName_, siteFolder);
  // However long the holder takes: a copy that ran beside it would edit the same tables.
  if (ClaimOrAsk(serverName, QDeadlineTimer(QDeadlineTimer::Forever)) == TClaim::clAnswered) Terminate();
}

TSingleInstance::~TSingleInstance() {
  // The socket goes before the lock: closing it removes its file, which must not be the file of
  // a copy that took the lock in the meantime.
  delete server_;
  server_ = nullptr;
}

QString TSingleInstance::ServerName(const QString& messageName, const QString& siteFolder) {
  const QFileInfo site(siteFolder);
  QString path = site.canonicalFilePath();
  if (path.isEmpty()) path = QDir::cleanPath(site.absoluteFilePath());
  const QByteArray hash =
      QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
  return SocketFolder() + QLatin1Char('/') + messageName + QLatin1Char('-') + QString::number(::getuid()) +
         QLatin1Char('-') + QString::fromLatin1(hash);
}

bool TSingleInstance::IsFirst() const { return server_ && server_->isListening(); }

TSingleInstance::TMove TSingleInstance::MoveTo(const QString& siteFolder) {
  const QString serverName = ServerName(messageName_, siteFolder);
  if (serverName == serverName_) return TMove::mvMoved;
  switch (ClaimOrAsk(serverName, QDeadlineTimer(kMoveAnswerMs))) {
    case TClaim::clClaimed: return TMove::mvMoved;
    case TClaim::clAnswered: return TMove::mvBroughtForward;
    case TClaim::clNoAnswer: break;
  }
  return TMove::mvNoAnswer;
}

TSingleInstance::TClaim TSingleInstance::ClaimOrAsk(const QString& serverName, QDeadlineTimer deadline) {
  TClaim outcome = TClaim::clNoAnswer;
  for (;;) {
    TProcessLock lock;
    if (lock.TryTake(LockFileName(serverName)) != TProcessLock::TResult::lrHeld) {
      // Taken (or no lock can be made at all: then this copy runs unguarded). The old site's
      // claim, if any, is let go of: its socket first, then its lock.
      delete server_;
      server_ = nullptr;
      lock_ = std::move(lock);
      serverName_ = serverName;
      if (lock_.Held()) Listen();
      outcome = TClaim::clClaimed;
      break;
    }
    if (AskHolder(serverName, kAskMs)) {
      outcome = TClaim::clAnswered;
      break;
    }
    if (deadline.hasExpired()) break;
  }
  delete asking_;
  asking_ = nullptr;
  return outcome;
}

bool TSingleInstance::AskHolder(const QString& serverName, int ms) {
  const QDeadlineTimer deadline(ms);
  if (asking_ && (asking_->serverName() != serverName || asking_->state() != QLocalSocket::ConnectedState)) {
    delete asking_;
    asking_ = nullptr;
  }
  if (!asking_) {
    asking_ = new QLocalSocket(this);
    asking_->connectToServer(serverName);
    if (!asking_->waitForConnected(ms)) {
      // Nothing listens yet (the holder is starting) or any more (it has just ended).
      delete asking_;
      asking_ = nullptr;
      QThread::msleep(kRetryPauseMs);
      return false;
    }
    asking_->write(Message(0, stamp_));
    asking_->flush();
  }
  answered_ = false;
  while (!answered_ && asking_->state() == QLocalSocket::ConnectedState &&
         asking_->waitForReadyRead(static_cast<int>(deadline.remainingTime())))
    ReadMessages(asking_);
  if (!answered_ && !deadline.hasExpired()) QThread::msleep(kRetryPauseMs);  // the line closed
  return answered_;
}

void TSingleInstance::Listen() {
  // Only the holder of the lock gets here: a socket left by a copy that was killed is taken over.
  QLocalServer::removeServer(serverName_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnection);
  // Where the lock file could be made the socket can be too; should listening fail all the
  // same, the lock still keeps later copies from running beside this one.
  server_->listen(serverName_);
}

void TSingleInstance::AcceptConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessages(socket); });
    ReadMessages(socket);
  }
}

void TSingleInstance::ReadMessages(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    const QList<QByteArray> fields = socket->readLine(kLongestMessage).trimmed().split(' ');
    bool wOk = false;
    bool stampOk = false;
    const int wParam = fields.size() == 2 ? fields[0].toInt(&wOk) : -1;
    if (fields.size() == 2) fields[1].toUInt(&stampOk);
    if (!wOk || !stampOk) continue;
    // A line carries another copy's message, never this copy's own, so two copies whose
    // stamps are equal (started in the same millisecond) still understand each other. An
    // answer counts only on the line this copy asked on.
    if (wParam == 1 && socket == asking_) {
      answered_ = true;
    } else if (wParam == 0 && socket != asking_) {
      BringOwnerToFront();
      socket->write(Message(1, stamp_));
      socket->flush();
    }
  }
  // A peer that sends no line end is not one of ours.
  if (socket->bytesAvailable() > kLongestMessage) socket->abort();
}

void TSingleInstance::BringOwnerToFront() {
  owner_->show();
  if (owner_->isMinimized())
    owner_->setWindowState((owner_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  owner_->raise();
  owner_->activateWindow();
}

void TSingleInstance::Terminate() {
  terminated_ = true;
  // Ends a running message loop; before the loop runs, the program start asks Terminated().
  QCoreApplication::exit(0);
}

}  // namespace pagolin
