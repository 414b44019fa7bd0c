#include "gui/components/keychainstore.h"

#include <qt6keychain/keychain.h>
#include <QEventLoop>
#include <QTimer>

#include "gui/components/qtext.h"

namespace pagolin {

namespace {

struct TJobResult {
  bool Finished = false;
  QKeychain::Error Error = QKeychain::NoError;
  QString ErrorText;
  QByteArray Data;
};

// Starts job (it deletes itself when done, even after the wait gave up) and waits for it.
TJobResult Run(QKeychain::Job* job, int timeoutMs) {
  TJobResult result;
  QEventLoop loop;
  job->setAutoDelete(true);
  QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* done) {
    result.Finished = true;
    result.Error = done->error();
    result.ErrorText = done->errorString();
    if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done)) result.Data = read->binaryData();
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  job->start();
  if (!result.Finished) loop.exec();
  return result;
}

// A failed job: the reason in words, with what the keyring's software said as the details.
ECredentialError Failure(const TJobResult& result, int timeoutMs) {
  if (!result.Finished)
    return ECredentialError("The keyring did not answer within " + std::to_string(timeoutMs / 1000) +
                            " seconds");
  const std::string detail = FromQ(result.ErrorText);
  // Without a session bus the library reports its failed attempt to start one (dbus-launch).
  const bool noBus = result.ErrorText.contains(QStringLiteral("dbus"), Qt::CaseInsensitive) ||
                     result.ErrorText.contains(QStringLiteral("D-Bus"), Qt::CaseInsensitive);
  if (result.Error == QKeychain::NoBackendAvailable || noBus)
    return ECredentialError("No keyring is running", detail);
  if (result.Error == QKeychain::AccessDeniedByUser)
    return ECredentialError("The keyring was not unlocked", detail);
  return ECredentialError("The keyring could not be used", detail);
}

QString Account(const TCredentialKey& key) { return ToQ(key.User + "@" + key.Host); }

}  // namespace

TKeychainStore::TKeychainStore(QString application, int timeoutMs)
    : application_(std::move(application)), timeoutMs_(timeoutMs) {}

std::optional<std::string> TKeychainStore::ReadPassword(const TCredentialKey& key) {
  auto* job = new QKeychain::ReadPasswordJob(application_ + QLatin1Char('/') + ToQ(key.Service));
  job->setKey(Account(key));
  const TJobResult result = Run(job, timeoutMs_);
  if (result.Finished && result.Error == QKeychain::EntryNotFound) return std::nullopt;
  if (!result.Finished || result.Error != QKeychain::NoError) throw Failure(result, timeoutMs_);
  return result.Data.toStdString();
}

void TKeychainStore::WritePassword(const TCredentialKey& key, const std::string& password) {
  auto* job = new QKeychain::WritePasswordJob(application_ + QLatin1Char('/') + ToQ(key.Service));
  job->setKey(Account(key));
  job->setBinaryData(QByteArray::fromStdString(password));
  const TJobResult result = Run(job, timeoutMs_);
  if (!result.Finished || result.Error != QKeychain::NoError) throw Failure(result, timeoutMs_);
}

void TKeychainStore::DeletePassword(const TCredentialKey& key) {
  auto* job = new QKeychain::DeletePasswordJob(application_ + QLatin1Char('/') + ToQ(key.Service));
  job->setKey(Account(key));
  const TJobResult result = Run(job, timeoutMs_);
  if (result.Finished && result.Error == QKeychain::EntryNotFound) return;
  if (!result.Finished || result.Error != QKeychain::NoError) throw Failure(result, timeoutMs_);
}

}  // namespace pagolin
