// The program's help: HTML pages in one folder, opened in the browser. The folder is "help"
// beside the program (the build tree) or the installed data folder, found from the program's
// own folder so that an installation moved elsewhere still finds its pages. The contents page
// is Pagolin.html; each help context (the main window, its tabs, the dialogs) has a page.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace pagolin {

// The contents page in the first of the two folders that holds one; the installed place when
// neither does (opening it then shows nothing).
std::string FindHelpFile(const std::string& programFolder);

// The help context of widget: that of the nearest of it and its enclosing widgets that has
// one; 0 when none has.
int HelpContextOf(const QWidget* widget);
// The page of a help context, in the folder of the contents page helpFile; helpFile itself for
// 0 and for a context without a page.
QString HelpTopicFile(const QString& helpFile, int helpContext);
// Asks the desktop to open a help page; a message names it when no browser starts.
void ShowHelpFile(const QString& file);

// F1 in any window of the application runs OnHelp (and reaches no shortcut or widget).
class THelpKey : public QObject {
  Q_OBJECT
 public:
  explicit THelpKey(QObject* parent = nullptr);
  std::function<void()> OnHelp;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pagolin
