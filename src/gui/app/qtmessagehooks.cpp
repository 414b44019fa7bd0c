// The core's message hooks shown as Qt message boxes.
#include <QApplication>
#include <QMessageBox>

#include "core/platform/hooks.h"
#include "gui/app/program.h"
#include "gui/components/application.h"
#include "gui/components/qtext.h"

namespace pagolin {

namespace {

QWidget* ActiveParent() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  return nullptr;
}

QString Title() { return ApplicationTitle(); }

}  // namespace

void InstallQtMessageHooks() {
  TMessageHooks hooks;
  hooks.showMessage = [](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Title(), ToQ(text), QMessageBox::Ok, ActiveParent());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
  };
  hooks.showError = [](const std::string& text, const std::string& details) {
    QMessageBox box(QMessageBox::Critical, Title(), ToQ(text), QMessageBox::Ok, ActiveParent());
    box.setObjectName(QStringLiteral("ErrorBox"));
    if (!details.empty()) box.setDetailedText(ToQ(details));
    box.exec();
  };
  hooks.messageDlg = [](const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::Question;
    if (type == TMsgDlgType::mtWarning) icon = QMessageBox::Warning;
    if (type == TMsgDlgType::mtError) icon = QMessageBox::Critical;
    if (type == TMsgDlgType::mtInformation) icon = QMessageBox::Information;
    QMessageBox::StandardButtons std = QMessageBox::Ok;
    if (buttons == TMsgDlgButtons::mbOKCancel) std = QMessageBox::Ok | QMessageBox::Cancel;
    if (buttons == TMsgDlgButtons::mbYesNo) std = QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(icon, Title(), ToQ(text), std, ActiveParent());
    box.setObjectName(QStringLiteral("MessageDlg"));
    switch (box.exec()) {
      case QMessageBox::Ok: return TModalResult::mrOk;
      case QMessageBox::Cancel: return TModalResult::mrCancel;
      case QMessageBox::Yes: return TModalResult::mrYes;
      case QMessageBox::No: return TModalResult::mrNo;
      default: return buttons == TMsgDlgButtons::mbYesNo ? TModalResult::mrNo : TModalResult::mrCancel;
    }
  };
  hooks.processMessages = [] { QCoreApplication::processEvents(); };
  SetMessageHooks(std::move(hooks));
}

}  // namespace pagolin
