// TdlgPublish: the modal "Publish" dialog. Shown with a plan, it starts the upload by itself as
// soon as it has painted, shows the file going up, its bytes and the total, and closes itself
// when the publish has ended. Cancel (also Escape and the close box) stops after the file at
// hand. The work is the core's TPublisher; the dialog only shows it.
#pragma once

#include <QDialog>

#include "core/publish/publisher.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pagolin {

class TdlgPublish : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgPublish(QWidget* parent = nullptr);

  // Shows the dialog modally and runs publisher over plan in it; the publish's result.
  TPublishResult Execute(TPublisher& publisher, const TPublishPlan& plan);

  // Cancel: the publish stops after the file at hand.
  void btnCancelClick();

  QLabel* lblFile = nullptr;
  QLabel* lblBytes = nullptr;
  QLabel* lblTotal = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  void reject() override;

 private:
  void ShowProgress(const TPublishProgress& progress);

  TPublisher* publisher_ = nullptr;
  bool running_ = false;
};

// "12 KB of 40 KB" (sizes below a KB round up to 1 KB, none to 0 KB).
std::string BytesOfText(std::int64_t done, std::int64_t total);

}  // namespace pagolin
