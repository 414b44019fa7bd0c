// TSettings: the program's settings, read from and written to the settings file in the site
// folder, named after the program ("pagolin.ini" for pagolin). One object holds the values in force for the
// run: the settings dialog edits it (its controls become these values when it closes, with OK or Cancel), the
// builder and the posting workflow read it. Headless commands load their own.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

class TSettings;

// One key of the settings file: where it is stored, its default, the value it fills, and the
// control of the settings dialog that edits that value. SettingKeys() lists every key in the
// order the file is written; loading, saving, the defaults and the dialog all walk it.
struct TSettingKey {
  enum TKind { skText, skLogical, skChoice, skLines, skInteger };
  const char* Section;
  const char* Key;  // skLines: the count; the lines are LinePrefix + 1, 2, ...
  TKind Kind;
  const char* Default;                                   // skLogical: "1" or "0"; skChoice: one of Choices
  bool DefaultInSiteFolder = false;                      // the default is the site folder followed by Default
  std::string TSettings::*Text = nullptr;                // skText, skChoice
  bool TSettings::*Logical = nullptr;                    // skLogical
  std::vector<std::string> TSettings::*Lines = nullptr;  // skLines
  int TSettings::*Integer = nullptr;                     // skInteger
  std::span<const std::string_view> Choices = {};        // skChoice
  const char* LinePrefix = nullptr;                      // skLines
  const char* Control = nullptr;                         // objectName of the settings dialog's control
  bool IsPath = false;  // a folder or file: the file system's bytes, not text
};

const std::vector<TSettingKey>& SettingKeys();

class TSettings {
 public:
  // The two choices each format box offers, in the order shown.
  static constexpr std::array<std::string_view, 2> kDateFormats = {"m-d-yyyy", "dddddd"};
  static constexpr std::array<std::string_view, 2> kDateTimeFormats = {"m-d-yyyy hh:mm", "ddddd t"};
  // How the connection to the news server is secured: not at all, STARTTLS on the plain
  // port, or TLS from the first byte.
  static constexpr std::array<std::string_view, 3> kNewsSecurities = {"None", "STARTTLS", "TLS"};
  static constexpr int kNewsPort = 119;
  static constexpr int kNewsTlsPort = 563;
  static constexpr std::string_view kProgramName = "pagolin";

  // The defaults for the site in siteFolder (the folder that holds the tables and the settings
  // file; made a full path with a trailing delimiter; "" names no folder), whose
  // settings file is programName + ".ini" (a copy of the program under another name keeps
  // settings of its own).
  explicit TSettings(std::string_view siteFolder = {}, std::string_view programName = kProgramName);

  // Full path of the settings file of a site folder.
  static std::string SettingsFileName(std::string_view siteFolder,
                                      std::string_view programName = kProgramName);
  const std::string& FileName() const { return fileName_; }
  const std::string& SiteFolder() const { return siteFolder_; }
  const std::string& ProgramName() const { return programName_; }

  // Reads the whole file into the values; a missing file, section or key gives its default,
  // a stored output folder ending in the delimiter loses it and is written back at once, a
  // stored format that is not one of the choices gives "". The values are always loaded.
  // Returns false with the reason in error when the existing file could not be read (the
  // defaults then apply); a write-back that failed leaves its reason in warning and is no
  // failure (a read-only site folder can still be built from).
  bool LoadSettings(std::string& error, std::string& warning);
  // Writes every key in its fixed order (other lines of the file are kept). Returns false with
  // a readable reason when the file cannot be written; nothing is then changed on disk.
  bool SaveSettings(std::string& error) const;

  // The stored spelling of the choice equal to value without regard to case, else "".
  static std::string MatchChoice(std::string_view value, std::span<const std::string_view> choices);
  // The usual port of the news server for a security choice: 563 for "TLS", else 119.
  static int DefaultNewsPort(std::string_view security);
  // The default of a key for this site.
  std::string DefaultOf(const TSettingKey& key) const;

  // --- Values, named after their keys. ---
  // [Settings]
  bool UploadMethodFTP = false;  // true: "FTP", false: "single archive file"
  std::string FTPUploadFile;     // output folder of the FTP method, as typed
  std::string ZIPUploadFile;     // full path of the upload archive
  std::string WWWHomepageFile;   // file name of the home page
  std::string SiteURL;           // public address of the output folder; without it no feeds
  // [News]
  std::string Server;  // news server host name or address
  std::string DefNewsgroup1, DefNewsgroup2;
  std::vector<std::string> Signature1, Signature2;  // one entry per line
  int Port = kNewsPort;                             // news server port (1 to 65535)
  std::string Security;                             // one of kNewsSecurities; "" when the file holds another
  std::string User;                                 // user name of the news server's login; "" for none
  std::string CAFile;                               // certificates to trust; "" for the system's trust store
  // [Identification]
  std::string Name, EMailAddress, ReplyAddress, Organization;
  // [Languages]
  std::string Language1, Language2;
  std::string DateFormat1, DateFormat2;          // "" when none is selected
  std::string DateTimeFormat1, DateTimeFormat2;  // "" when none is selected
  // [Publish]
  std::string PublishURL;      // sftp://, ftps:// or ftp:// address of the server's folder
  std::string PublishUser;     // the login on that server ("" for the address's own)
  bool DeleteRemoved = false;  // delete published files the site no longer lists

  // --- Accessors of the values in force. ---
  // Folders and files of the settings lie in the site folder unless they are full paths, and an
  // empty output folder is the site folder itself: never the root or the working folder.
  bool IsFTPUpload() const { return UploadMethodFTP; }
  // FTP method: the output folder, a delimiter, WWWHomepageFile; archive method: the folder
  // part of the archive, then WWWHomepageFile.
  std::string HomePagePath() const;
  // The folder part of HomePagePath, with its trailing delimiter.
  std::string OutputFolder() const;
  // The upload archive as a full path; "" when none is set (blanks only count as none).
  std::string ArchiveFileName() const;
  // Why WWWHomepageFile cannot name the home page ("" when it can): it must be a bare file
  // name, so that no page is written outside the output folder.
  std::string HomePageFileProblem() const;
  // CAFile as a full path; "" when none is set.
  std::string CAFilePath() const;
  // For n = 1 or 2 the value of that language; any other n gives nullopt, so that the caller
  // keeps whatever it held.
  std::optional<std::string> LanguageName(int n) const;
  std::optional<std::string> DateFormat(int n) const;
  std::optional<std::string> DateTimeFormat(int n) const;
  std::optional<std::string> DefNewsgroup(int n) const;
  std::optional<std::vector<std::string>> Signature(int n) const;

 private:
  std::string InSiteFolder(const std::string& path) const;

  std::string siteFolder_;
  std::string programName_;
  std::string fileName_;
};

}  // namespace pagolin
