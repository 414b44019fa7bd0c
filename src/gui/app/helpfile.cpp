#include "gui/app/helpfile.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>
#include <filesystem>

#include "core/platform/filenames.h"
#include "gui/app/appinfo.h"
#include "gui/components/desktopopen.h"

namespace pagolin {

namespace {

// The windows, tabs and dialogs that have a help context, by component name, and their pages.
struct THelpTopic {
  const char* component;
  int helpContext;
  const char* page;
};
constexpr THelpTopic kHelpTopics[] = {
    {"Form1", 10, "window.html"},
    {"dlgSettings", 30, "settings.html"},
    {"dlgNewDatabase", 40, "newdatabase.html"},
    {"tbsCodes", 90, "codes.html"},
    {"tbsProducts", 100, "products.html"},
    {"tbsHotNews", 110, "news.html"},
    {"tbsCoolLinks", 120, "links.html"},
    {"tbsMailAndNews", 130, "postings.html"},
};

}  // namespace

std::string FindHelpFile(const std::string& programFolder) {
  const std::string besideProgram = programFolder + "help" + PathDelim + kHelpFile;
  if (FileExists(besideProgram)) return besideProgram;
  const std::filesystem::path installed =
      std::filesystem::path(programFolder) / PAGOLIN_INSTALLED_HELP / kHelpFile;
  return installed.lexically_normal().string();
}

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QString name = w->objectName();
    for (const THelpTopic& topic : kHelpTopics)
      if (name == QLatin1String(topic.component)) return topic.helpContext;
  }
  return 0;
}

QString HelpTopicFile(const QString& helpFile, int helpContext) {
  for (const THelpTopic& topic : kHelpTopics)
    if (topic.helpContext == helpContext)
      return QFileInfo(helpFile).absolutePath() + QLatin1Char('/') + QLatin1String(topic.page);
  return helpFile;
}

void ShowHelpFile(const QString& file) { OpenWithDesktop(QUrl::fromLocalFile(file)); }

THelpKey::THelpKey(QObject* parent) : QObject(parent) {}

bool THelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
    return QObject::eventFilter(watched, event);
  const auto* press = static_cast<QKeyEvent*>(event);
  if (press->key() == Qt::Key_F1 && press->modifiers() == Qt::NoModifier) {
    // Claiming the override keeps F1 from any shortcut; the key press then comes here. A key
    // held down opens the page once.
    event->accept();
    if (event->type() == QEvent::KeyPress && !press->isAutoRepeat() && OnHelp) OnHelp();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pagolin
