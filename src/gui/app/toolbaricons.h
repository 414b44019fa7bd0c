// The tool bar's pictures: the desktop icon theme's standard icon for each command, and where
// the theme has none, the program's own drawing of the same idea.
#pragma once

#include <QIcon>

namespace pagolin {

enum class TToolBarIcon { tiBuild, tiPublish, tiBrowser, tiSettings, tiSendNews, tiHelp };

QIcon ToolBarIcon(TToolBarIcon icon);
// The program's own picture (what ToolBarIcon falls back to).
QIcon OwnToolBarIcon(TToolBarIcon icon);

}  // namespace pagolin
