#include "gui/app/program.h"

#include <QApplication>
#include <QIcon>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "gui/app/appinfo.h"
#include "gui/app/dlgabout.h"
#include "gui/app/helpfile.h"
#include "gui/app/mainwindow.h"
#include "gui/components/keychainstore.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgnewdatabase.h"
#include "gui/data/dlgsettings.h"
#include "gui/pages/dlgprogress.h"

namespace pagolin {

QString HelpFile() { return ToQ(FindHelpFile(ProgramFolder())); }

TProgram::TProgram(const std::string& siteFolder, const std::string& programName)
    : siteFolder_(IncludeTrailingPathDelimiter(siteFolder)),
      settings_(std::make_unique<TSettings>(siteFolder_, programName)),
      keyring_(std::make_unique<TKeychainStore>(ToQ(programName))),
      passwords_({&typedPasswords_, keyring_.get(), &netrc_}),
      dataModule2_(std::make_unique<TDataModule2>(siteFolder_)) {
  QApplication::setApplicationName(QString::fromLatin1(kAppName));
  qApp->setObjectName(QString::fromLatin1(kAppName));  // the single-instance guard needs it
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
  QApplication::setWindowIcon(
      QIcon::fromTheme(QString::fromLatin1(kDesktopId), QIcon(QStringLiteral(":/pagolin-48.png"))));

  // The main window comes first so that it is the main window of the application; its
  // controls are bound to the data sources, whose tables open just after.
  form1_ = std::make_unique<TForm1>(*settings_, *dataModule2_);
  try {
    dataModule2_->DataModule2Create();
  } catch (const std::exception& e) {
    // The standard error box; the program runs on with the tables that did open.
    ShowError(e.what());
  }
  // The dialogs sit over the main window, so it is their Qt parent; they are owned here.
  dlgAbout_ = std::make_unique<TdlgAbout>(*form1_->NVApplication1, form1_.get());
  dlgProgress_ = std::make_unique<TdlgProgress>(*dataModule2_, *settings_, form1_.get());
  dlgSettings_ = std::make_unique<TdlgSettings>(
      *settings_, form1_.get(), TPasswordStores{&typedPasswords_, keyring_.get(), &passwords_});
  form1_->SetPasswords(&passwords_);
  dlgNewDatabase_ = std::make_unique<TdlgNewDatabase>(*dataModule2_, form1_.get());
  form1_->SetDialogs({dlgAbout_.get(), dlgProgress_.get(), dlgSettings_.get(), dlgNewDatabase_.get()});
  QObject::connect(dlgSettings_.get(), &TdlgSettings::SettingsChanged, form1_.get(),
                   &TForm1::ApplyLanguageCaptions);
}

TProgram::~TProgram() = default;

}  // namespace pagolin
