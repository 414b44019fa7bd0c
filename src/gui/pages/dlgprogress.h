// TdlgProgress: the modal "Build web pages" dialog. Shown, it starts the build by itself half
// a second later (so it has painted), shows the progress, offers Cancel, and closes itself when
// the build is done. The build is the core's TPageBuilder, which the dialog owns with its
// converter and file list.
#pragma once

#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace pagolin {

class TAnimate;
class TDataModule2;
class TPageBuilder;
class TSettings;

class TdlgProgress : public QDialog {
  Q_OBJECT
 public:
  // dataModule and settings: the site's tables and the settings in force, which outlive the
  // dialog.
  TdlgProgress(TDataModule2& dataModule, const TSettings& settings, QWidget* parent = nullptr);
  ~TdlgProgress() override;

  // Creates the file list, sets the bar to 0 and starts the animation (from the constructor).
  void FormCreate();
  // Each showing: bar to 0, Cancel disabled, the timer on, the file list emptied.
  void FormShow();
  // The timer's tick (and the hidden Start button): runs one build and closes the dialog. An
  // error of the build is shown in the error box; the dialog still closes, with the files
  // entered so far in the list.
  void btnStartClick();
  // Stops the animation, sets Cancelled and disables Cancel.
  void btnCancelClick();

  // The files of the site from the last build, in build order.
  const std::vector<std::string>& FileList() const;
  bool Cancelled() const;
  // The last build ran to its end, neither failed nor cancelled.
  bool Succeeded() const { return succeeded_; }
  // The builder's text operations, on this dialog's converter and the site's codes.
  std::string HtmlText(const std::string& text);
  std::string ReplaceVariables(const std::string& text, bool plain);

  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* btnStart = nullptr;
  QPushButton* btnCancel = nullptr;
  TAnimate* Animate1 = nullptr;
  QTimer* Timer1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the close box cancel a running build instead of leaving it half done; before the
  // build has begun they close the dialog (result Rejected) and nothing is built.
  void reject() override;

 private:
  std::unique_ptr<TPageBuilder> builder_;
  bool building_ = false;
  bool succeeded_ = false;
};

}  // namespace pagolin
