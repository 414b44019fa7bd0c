#include "gui/app/dlgabout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/appinfo.h"
#include "gui/app/commandline.h"
#include "gui/components/nvapplication.h"
#include "gui/components/qtext.h"

namespace pagolin {

TdlgAbout::TdlgAbout(const TNVApplication& info, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgAbout"));
  setWindowTitle(QStringLiteral("About Pagolin"));
  auto* layout = new QVBoxLayout(this);
  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(QPixmap(QStringLiteral(":/pagolin-48.png")));
  auto* title = new QLabel(info.Title(), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  title->setFont(f);
  auto* version = new QLabel(QStringLiteral("Version ") + info.Version(), this);
  version->setObjectName(QStringLiteral("lblVersion"));
  // The licence, in small print under the version.
  auto* license = new QLabel(ToQ(LicenseText()), this);
  license->setObjectName(QStringLiteral("lblLicense"));
  license->setAlignment(Qt::AlignHCenter);
  QFont small = license->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  license->setFont(small);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("btnOk"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(logo, 0, Qt::AlignHCenter);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addWidget(version, 0, Qt::AlignHCenter);
  layout->addSpacing(6);
  layout->addWidget(license, 0, Qt::AlignHCenter);
  layout->addSpacing(12);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint().expandedTo(QSize(280, 150)));
}

}  // namespace pagolin
