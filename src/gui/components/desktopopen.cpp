#include "gui/components/desktopopen.h"

#include <QDesktopServices>
#include <QDir>

#include "core/platform/hooks.h"
#include "gui/components/qtext.h"

namespace pagolin {

bool OpenWithDesktop(const QUrl& url) {
  if (QDesktopServices::openUrl(url)) return true;
  QString text;
  if (url.isLocalFile()) {
    text = QStringLiteral("No program could be started to open \"%1\". Please open it by hand.")
               .arg(QDir::toNativeSeparators(url.toLocalFile()));
  } else if (url.scheme() == QLatin1String("mailto")) {
    text = QStringLiteral("No e-mail program could be started. Please write to %1 by hand.").arg(url.path());
  } else {
    text =
        QStringLiteral("No web browser could be started. Please open %1 by hand.").arg(url.toDisplayString());
  }
  ShowMessage(FromQ(text));
  return false;
}

}  // namespace pagolin
