#include "gui/pages/dlgprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include <exception>

#include "core/pages/pagebuilder.h"
#include "core/platform/hooks.h"
#include "gui/pages/animate.h"

namespace pagolin {

TdlgProgress::TdlgProgress(TDataModule2& dataModule, const TSettings& settings, QWidget* parent)
    : QDialog(parent), builder_(std::make_unique<TPageBuilder>(dataModule, settings)) {
  setObjectName(QStringLiteral("dlgProgress"));
  setWindowTitle(QStringLiteral("Build web pages"));
  setModal(true);

  Animate1 = new TAnimate(this);
  auto* label = new QLabel(QStringLiteral("Building the pages of your web site..."), this);
  label->setObjectName(QStringLiteral("Label1"));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
  btnStart = new QPushButton(QStringLiteral("Start"), this);
  btnStart->setObjectName(QStringLiteral("btnStart"));
  btnStart->setVisible(false);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Animate1, 0, Qt::AlignHCenter);
  layout->addWidget(label);
  layout->addWidget(ProgressBar1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnStart);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnStart, &QPushButton::clicked, this, &TdlgProgress::btnStartClick);
  connect(Timer1, &QTimer::timeout, this, &TdlgProgress::btnStartClick);
  connect(btnCancel, &QPushButton::clicked, this, &TdlgProgress::btnCancelClick);
  FormCreate();
}

TdlgProgress::~TdlgProgress() = default;

void TdlgProgress::FormCreate() {
  builder_->OnProgress = [this](int position, int maximum) {
    ProgressBar1->setMaximum(maximum);
    ProgressBar1->setValue(std::min(position, maximum));
  };
  ProgressBar1->setValue(0);
  Animate1->SetActive(true);
}

void TdlgProgress::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TdlgProgress::FormShow() {
  ProgressBar1->setValue(0);
  btnCancel->setEnabled(false);
  Timer1->start();
  builder_->FileList.clear();
}

void TdlgProgress::btnStartClick() {
  Timer1->stop();  // one build per showing
  // A build runs only in the dialog that shows it: a tick after the dialog was closed does nothing.
  if (building_ || !isVisible()) return;
  building_ = true;
  btnCancel->setEnabled(true);
  succeeded_ = false;
  try {
    builder_->BuildPages();
    succeeded_ = !builder_->Cancelled();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  btnCancel->setEnabled(false);
  building_ = false;
  accept();
}

void TdlgProgress::btnCancelClick() {
  Animate1->SetActive(false);
  builder_->Cancel();
  btnCancel->setEnabled(false);
}

void TdlgProgress::reject() {
  if (building_) {
    if (btnCancel->isEnabled()) btnCancelClick();
    return;
  }
  // Closed before the build began: nothing is built, and the timer must not start it later.
  Timer1->stop();
  QDialog::reject();
}

const std::vector<std::string>& TdlgProgress::FileList() const { return builder_->FileList; }

bool TdlgProgress::Cancelled() const { return builder_->Cancelled(); }

std::string TdlgProgress::HtmlText(const std::string& text) { return builder_->HtmlText(text); }

std::string TdlgProgress::ReplaceVariables(const std::string& text, bool plain) {
  return builder_->ReplaceVariables(text, plain);
}

}  // namespace pagolin
