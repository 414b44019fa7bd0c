// Opening a file, folder or address with the program the desktop associates with it.
#pragma once

#include <QUrl>

namespace pagolin {

// Asks the desktop to open url. When no program could be started for it, says so in a message
// that names the file or address, so that the person can open it by hand, and returns false.
bool OpenWithDesktop(const QUrl& url);

}  // namespace pagolin
