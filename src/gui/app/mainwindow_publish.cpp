// The main window's "Publish" command (tool button and File menu): what changed since the last
// publish goes to the web server, with the progress dialog; and the publish state of each file
// on the tab "Upload files".
#include <QAction>
#include <QListWidgetItem>

#include <exception>

#include "core/data/settings.h"
#include "core/platform/hooks.h"
#include "core/publish/publishsetup.h"
#include "gui/app/dlgpublish.h"
#include "gui/app/mainwindow.h"
#include "gui/app/uploadstatedelegate.h"
#include "gui/components/qtext.h"

namespace pagolin {

void TForm1::WirePublishCommands() {
  CheckListBox1->setItemDelegate(new TUploadStateDelegate(CheckListBox1));
  for (QAction* a : {actPublish, Publish1}) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, &TForm1::Publish1Click);
  }
}

void TForm1::Publish1Click() {
  TPublishTarget target;
  TPublishPlan plan;
  TPublishedFiles records(settings_.SiteFolder());
  try {
    target = PublishTarget(settings_);
    plan = PreparePublish(dataModule_, settings_, records, target);
  } catch (const std::exception& e) {
    ShowError(e.what());
    return;
  }
  if (!plan.Removals.empty() && MessageDlg(RemovalQuestion(plan.Removals), TMsgDlgType::mtConfirmation,
                                           TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
    plan.Removals.clear();
  if (plan.NothingToDo()) {
    ShowMessage(NothingToPublishText(plan));
    return;
  }
  // Made at the first publish and kept: most runs never publish.
  if (!dlgPublish) {
    dlgPublish = new TdlgPublish(this);
    OwnForm(dlgPublish);
  }
  TPublishResult result;
  std::string details;  // what a keyring's own software said
  try {
    TCurlFolder folder(target.Url, PublishConnection(target, PublishPassword(target, passwords_), true));
    TPublisher publisher(folder, records, target.Key);
    result = dlgPublish->Execute(publisher, plan);
  } catch (const ECredentialError& e) {
    result.Failure = e.what();
    details = e.Details();
  } catch (const std::exception& e) {
    result.Failure = e.what();
  }
  ShowPublishStates();
  if (result.Failure.empty()) {
    ShowMessage(PublishSummary(plan, result));
    return;
  }
  // Why it stopped, then what was done, each on a line of its own.
  TPublishResult done = result;
  done.Failure.clear();
  ShowError("Publishing stopped: " + result.Failure + "\n\n" + PublishSummary(plan, done), details);
}

void TForm1::ShowPublishStates() {
  std::vector<std::optional<TPublishState>> states(uploadList_.Items.size());
  try {
    const TPublishTarget target = PublishTarget(settings_);
    states = PublishStates(uploadList_, TPublishedFiles(settings_.SiteFolder()).ForUrl(target.Key));
  } catch (const std::exception&) {
    // No folder to publish to (or no list of what went there): no states to show.
  }
  for (int i = 0; i < CheckListBox1->count() && static_cast<size_t>(i) < states.size(); ++i) {
    const std::optional<TPublishState>& state = states[static_cast<size_t>(i)];
    CheckListBox1->item(i)->setData(TUploadStateDelegate::kPublishStateRole,
                                    state ? ToQ(PublishStateText(*state)) : QString());
  }
}

}  // namespace pagolin
