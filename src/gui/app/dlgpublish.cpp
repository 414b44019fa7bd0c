#include "gui/app/dlgpublish.h"

#include <QHBoxLayout>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/platform/filenames.h"
#include "gui/components/qtext.h"

namespace pagolin {
namespace {

// Said on the total line once Cancel was pressed.
constexpr const char* kStopping = " - stopping after this file";

}  // namespace

std::string BytesOfText(std::int64_t done, std::int64_t total) {
  return std::to_string(KBRoundedUp(done)) + " KB of " + std::to_string(KBRoundedUp(total)) + " KB";
}

TdlgPublish::TdlgPublish(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgPublish"));
  setWindowTitle(QStringLiteral("Publish"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* caption = new QLabel(QStringLiteral("Uploading the changed files of your web site..."), this);
  caption->setObjectName(QStringLiteral("Label1"));
  lblFile = new QLabel(this);
  lblFile->setObjectName(QStringLiteral("lblFile"));
  lblFile->setMinimumWidth(360);
  lblBytes = new QLabel(this);
  lblBytes->setObjectName(QStringLiteral("lblBytes"));
  lblTotal = new QLabel(this);
  lblTotal->setObjectName(QStringLiteral("lblTotal"));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 1000);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);
  layout->addWidget(caption);
  layout->addWidget(lblFile);
  layout->addWidget(lblBytes);
  layout->addWidget(lblTotal);
  layout->addWidget(ProgressBar1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(btnCancel, &QPushButton::clicked, this, &TdlgPublish::btnCancelClick);
}

TPublishResult TdlgPublish::Execute(TPublisher& publisher, const TPublishPlan& plan) {
  publisher_ = &publisher;
  publisher.OnProgress = [this](const TPublishProgress& progress) { ShowProgress(progress); };
  lblFile->clear();
  lblBytes->clear();
  lblTotal->setText(ToQ("Total: " + BytesOfText(0, plan.UploadBytes)));
  ProgressBar1->setValue(0);
  btnCancel->setEnabled(true);
  TPublishResult result;
  // The publish runs once the dialog is up, inside its modal loop, and closes it at the end.
  QTimer::singleShot(0, this, [&] {
    running_ = true;
    result = publisher.Run(plan);
    running_ = false;
    accept();
  });
  exec();
  publisher.OnProgress = nullptr;
  publisher_ = nullptr;
  return result;
}

void TdlgPublish::ShowProgress(const TPublishProgress& progress) {
  lblFile->setText(ToQ("File: " + PathText(progress.Name) + " (" + std::to_string(progress.Number) + " of " +
                       std::to_string(progress.Count) + ")"));
  lblBytes->setText(ToQ(BytesOfText(progress.FileBytes, progress.FileSize)));
  const char* stopping = btnCancel->isEnabled() ? "" : kStopping;
  lblTotal->setText(ToQ("Total: " + BytesOfText(progress.DoneBytes, progress.TotalBytes) + stopping));
  const std::int64_t total = std::max<std::int64_t>(progress.TotalBytes, 1);
  ProgressBar1->setValue(static_cast<int>(progress.DoneBytes * 1000 / total));
}

void TdlgPublish::btnCancelClick() {
  if (publisher_) publisher_->Cancel();
  btnCancel->setEnabled(false);
  lblTotal->setText(lblTotal->text() + QString::fromLatin1(kStopping));
}

void TdlgPublish::reject() {
  if (running_) {
    if (btnCancel->isEnabled()) btnCancelClick();
    return;
  }
  QDialog::reject();
}

}  // namespace pagolin
