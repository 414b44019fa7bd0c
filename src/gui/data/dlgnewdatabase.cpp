#include "gui/data/dlgnewdatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/data/datamod.h"
#include "core/platform/dberror.h"
#include "core/platform/hooks.h"

namespace pagolin {

TdlgNewDatabase::TdlgNewDatabase(TDataModule2& dataModule, QWidget* parent)
    : QDialog(parent), dataModule_(dataModule) {
  setObjectName(QStringLiteral("dlgNewDatabase"));
  setWindowTitle(QStringLiteral("Create new database"));
  auto* layout = new QVBoxLayout(this);

  Label1 = new QLabel(QStringLiteral("Warning! This will clear the selected tables!"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  layout->addWidget(Label1);

  auto* group = new QGroupBox(QStringLiteral(" Clear tables: "), this);
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* boxes = new QVBoxLayout(group);
  auto box = [&](const char* name, const char* caption) {
    auto* b = new QCheckBox(QString::fromLatin1(caption), group);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QCheckBox::clicked, this, &TdlgNewDatabase::CheckBox1Click);
    boxes->addWidget(b);
    return b;
  };
  CheckBox1 = box("CheckBox1", "&Products");
  CheckBox2 = box("CheckBox2", "&Hot News");
  CheckBox3 = box("CheckBox3", "Cool &Links");
  CheckBox4 = box("CheckBox4", "&Internet News");
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout;
  Button1 = new QPushButton(QStringLiteral("Cancel"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2 = new QPushButton(QStringLiteral("&Clear tables"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setEnabled(false);
  Button2->setAutoDefault(false);
  // Enter cancels: a careless key must not empty tables.
  Button1->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button1);
  layout->addLayout(buttons);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button2, &QPushButton::clicked, this, &TdlgNewDatabase::Button2Click);
  setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

void TdlgNewDatabase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  FormShow();
  Button1->setFocus(Qt::OtherFocusReason);
}

void TdlgNewDatabase::FormShow() {
  for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) b->setChecked(false);
  CheckBox1Click();
}

void TdlgNewDatabase::CheckBox1Click() {
  Button2->setEnabled(CheckBox1->isChecked() || CheckBox2->isChecked() || CheckBox3->isChecked() ||
                      CheckBox4->isChecked());
}

void TdlgNewDatabase::Button2Click() {
  if (MessageDlg("Please confirm the deletion of the selected tables or click on Cancel to keep the data.",
                 TMsgDlgType::mtWarning, TMsgDlgButtons::mbOKCancel) == TModalResult::mrOk) {
    try {
      dataModule_.ClearTables(CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked(),
                              CheckBox4->isChecked());
    } catch (const EDatabaseError& e) {
      ShowError(e.what());
    }
  }
  accept();
}

}  // namespace pagolin
