#include "gui/app/dlgabout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/appinfo.h"

namespace pagolin {

TdlgAbout::TdlgAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgAbout"));
  setWindowTitle(QStringLiteral("About Pagolin"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QString::fromLatin1(kAppTitle), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  title->setFont(f);
  auto* version = new QLabel(QStringLiteral("Version ") + QString::fromLatin1(kAppVersion), this);
  version->setObjectName(QStringLiteral("lblVersion"));
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("btnOk"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addWidget(version, 0, Qt::AlignHCenter);
  layout->addSpacing(12);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint().expandedTo(QSize(280, 150)));
}

}  // namespace pagolin
