// The main window's "Send News" command: asks, then posts every due posting through the core
// walk (net/newspost.h) with the window's news client, the button disabled meanwhile.
#include <QAction>

#include <exception>

#include "gui/app/mainwindow.h"
#include "gui/components/hinttracker.h"
#include "gui/components/qtext.h"
#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/net/newspost.h"
#include "core/platform/hooks.h"

namespace pagolin {

void TForm1::WireNewsCommands() {
  News1.NNTP = &NNTP1;
  actSendNews->setEnabled(true);
  connect(actSendNews, &QAction::triggered, this, [this] { ToolButton7Click(); });
}

void TForm1::ToolButton7Click() {
  if (MessageDlg("Upload messages to Internet Newsgroups?", TMsgDlgType::mtConfirmation,
                 TMsgDlgButtons::mbYesNo) != TModalResult::mrYes) {
    return;
  }
  const TSettings& settings = settings_;
  // The button (through its action) stays disabled until the walk has ended.
  actSendNews->setEnabled(false);
  hints_->SetCurrentHint(ToQ("Connecting to " + settings.Server + "..."));
  try {
    SendDuePostings(dataModule_.tblNewsPost, settings, News1, NNTP1);
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  actSendNews->setEnabled(true);
}

}  // namespace pagolin
