// TProgram: the program's long-lived objects for one site, created in the order of program
// start (the main window, the data module, then the dialogs) and alive until it ends. It owns
// the settings in force and the data module; the windows get them in their constructors and
// only collect what the user chooses.
#pragma once

#include <memory>
#include <string>

#include <QString>

#include "core/platform/credentials.h"
#include "core/platform/netrc.h"

namespace pagolin {

class TForm1;
class TDataModule2;
class TSettings;
class TdlgAbout;
class TdlgProgress;
class TdlgSettings;
class TdlgNewDatabase;
class TKeychainStore;

class TProgram {
 public:
  // Creates the objects for the site in siteFolder, whose settings file is named after
  // programName. An error while the data module opens its tables is shown in the standard
  // error box; the program keeps running with the tables that did open.
  explicit TProgram(const std::string& siteFolder, const std::string& programName = "pagolin");
  // Destroys the dialogs, the main window (its controls let go of the data sources), then the
  // data module, which closes the tables.
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  const std::string& SiteFolder() const { return siteFolder_; }  // with its trailing delimiter
  TSettings& Settings() const { return *settings_; }
  TDataModule2& DataModule2() const { return *dataModule2_; }
  TForm1& Form1() const { return *form1_; }
  TdlgAbout& dlgAbout() const { return *dlgAbout_; }
  TdlgProgress& dlgProgress() const { return *dlgProgress_; }
  TdlgSettings& dlgSettings() const { return *dlgSettings_; }
  TdlgNewDatabase& dlgNewDatabase() const { return *dlgNewDatabase_; }
  // The passwords typed during this run, the keyring's, then those of ~/.netrc.
  TCredentialStore& Passwords() { return passwords_; }

 private:
  std::string siteFolder_;
  // Destroyed in reverse order of declaration: the dialogs, the main window, the data module
  // (which outlives the controls bound to it), the settings.
  std::unique_ptr<TSettings> settings_;
  TMemoryCredentials typedPasswords_;
  std::unique_ptr<TKeychainStore> keyring_;
  TNetrcStore netrc_;
  TCredentialChain passwords_;
  std::unique_ptr<TDataModule2> dataModule2_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TdlgAbout> dlgAbout_;
  std::unique_ptr<TdlgProgress> dlgProgress_;
  std::unique_ptr<TdlgSettings> dlgSettings_;
  std::unique_ptr<TdlgNewDatabase> dlgNewDatabase_;
};

// The contents page of the program's help (see helpfile.h).
QString HelpFile();

// The Qt implementations of the core's message hooks (message boxes, pending messages).
void InstallQtMessageHooks();

}  // namespace pagolin
