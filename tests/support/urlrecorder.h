// Stands in for the desktop while it lives: every URL the program asks the desktop to open
// (QDesktopServices::openUrl) with one of the schemes is recorded instead of opened.
#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace pagolin::test {

class TUrlRecorder : public QObject {
  Q_OBJECT

 public:
  explicit TUrlRecorder(QStringList schemes = {QStringLiteral("file"), QStringLiteral("http"),
                                               QStringLiteral("https"), QStringLiteral("mailto")})
      : schemes_(std::move(schemes)) {
    for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~TUrlRecorder() override {
    for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
  }

  QList<QUrl> opened;
  // The last URL opened, taken out of the record ("" when none was).
  QUrl TakeLast() { return opened.isEmpty() ? QUrl() : opened.takeLast(); }

 public slots:
  void Open(const QUrl& url) { opened << url; }

 private:
  QStringList schemes_;
};

}  // namespace pagolin::test
