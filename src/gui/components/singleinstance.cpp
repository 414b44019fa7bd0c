#include "gui/components/singleinstance.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>
#include <chrono>

namespace pagolin {

namespace {

constexpr int kLockWaitMs = 5000;
constexpr int kConnectMs = 2000;
// How long a new copy waits for the first copy's answer before it runs on. A first copy busy
// with blocking work answers later; this copy then ends when the answer comes.
constexpr int kAnswerMs = 5000;
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

}  // namespace

TSingleInstance::TSingleInstance(QObject* owner, const QString& siteFolder)
    : QObject(owner), owner_(qobject_cast<QWidget*>(owner)) {
  if (!owner_ || !owner_->isWindow())
    throw EWrongOwner("Owner of TSingleInstance should be Application's main form");
  if (QCoreApplication::instance()->objectName().isEmpty())
    throw EAppNameNotSet(
        "Application must have a name. Set it in project before calling Application.CreateForm");

  messageName_ = QCoreApplication::instance()->objectName() + QStringLiteral("-it_SingleInstMsg");
  serverName_ = ServerName(messageName_, siteFolder);
  stamp_ = MillisecondsSinceSystemStart();

  QLockFile lock(serverName_ + QStringLiteral(".lock"));
  lock.tryLock(kLockWaitMs);  // without the lock the check still works, only not atomically

  auto* socket = new QLocalSocket(this);
  socket->connectToServer(serverName_);
  if (!socket->waitForConnected(kConnectMs)) {
    const bool stale = socket->error() == QLocalSocket::ConnectionRefusedError;
    delete socket;
    if (stale) QLocalServer::removeServer(serverName_);
    Listen();
    return;
  }
  lock.unlock();
  // The line to the first copy stays open: an answer that comes late still ends this copy.
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessages(socket); });
  socket->write(Message(0, stamp_));
  socket->flush();
  const QDeadlineTimer deadline(kAnswerMs);
  while (!terminated_ && socket->state() == QLocalSocket::ConnectedState &&
         socket->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
  }
}

TSingleInstance::~TSingleInstance() = default;

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

void TSingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnection);
  if (!server_->listen(serverName_)) {
    // No socket (a folder without write access): this copy runs unguarded.
    delete server_;
    server_ = nullptr;
  }
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
    const quint32 stamp = fields.size() == 2 ? fields[1].toUInt(&stampOk) : 0;
    if (wOk && stampOk) HandleMessage(socket, wParam, stamp);
  }
  // A peer that sends no line end is not one of ours.
  if (socket->bytesAvailable() > kLongestMessage) socket->abort();
}

void TSingleInstance::HandleMessage(QLocalSocket* socket, int wParam, quint32 stamp) {
  if (stamp == stamp_) return;
  if (wParam == 1) {
    Terminate();
  } else if (wParam == 0) {
    BringOwnerToFront();
    socket->write(Message(1, stamp_));
    socket->flush();
  }
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
