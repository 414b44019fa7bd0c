#include "gui/components/nvapplication.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUrl>
#include <QWidget>

#include "gui/components/application.h"
#include "gui/components/desktopopen.h"
#include "gui/components/hinttracker.h"

namespace pagolin {

TNVApplication::TNVApplication(QObject* owner)
    : QObject(owner),
      title_(QStringLiteral("My Application")),
      version_(QStringLiteral("1.0")),
      emailAddress_(QStringLiteral("name@example.com")),
      homepage_(QStringLiteral("https://www.example.com/")) {}

void TNVApplication::Loaded() {
  auto* form = qobject_cast<QWidget*>(parent());
  if (form) form->setWindowTitle(title_);
  SetApplicationTitle(title_);
  if (OnHandleException) {
    if (TApplication* app = TApplication::Instance()) app->OnException = OnHandleException;
  }
  if (OnShowHint) {
    connect(THintTracker::Application(), &THintTracker::hintChanged, this, [this] {
      if (OnShowHint) OnShowHint();
    });
  }
  if (options_.testFlag(TAppOption::aoSetTitle) && form && form->isWindow())
    form->setWindowTitle(title_ + QLatin1Char(' ') + version_);
}

void TNVApplication::VisitHomepage() const { OpenWithDesktop(QUrl::fromUserInput(homepage_)); }

void TNVApplication::SendEmail() const {
  OpenWithDesktop(QUrl(QStringLiteral("mailto:") + emailAddress_ + QStringLiteral("?subject=") + title_ +
                       QLatin1Char(' ') + version_));
}

void TNVApplication::CopyHomepage() const { QGuiApplication::clipboard()->setText(homepage_); }

void TNVApplication::CopyEmailAddress() const { QGuiApplication::clipboard()->setText(emailAddress_); }

}  // namespace pagolin
