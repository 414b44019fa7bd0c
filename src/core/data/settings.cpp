#include "core/data/settings.h"

#include <algorithm>
#include <charconv>

#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {
namespace {

constexpr char kSettings[] = "Settings";
constexpr char kNews[] = "News";
constexpr char kIdentification[] = "Identification";
constexpr char kLanguages[] = "Languages";
constexpr char kPublish[] = "Publish";

template <typename T>
std::optional<T> Pick(int n, const T& one, const T& two) {
  if (n == 1) return one;
  if (n == 2) return two;
  return std::nullopt;
}

// The n of a key prefix + n ("Signature1_" + n), or 0 when the key is not of that form.
int LineNumber(std::string_view key, std::string_view prefix) {
  if (key.size() <= prefix.size() || !SameText(key.substr(0, prefix.size()), prefix)) return 0;
  int n = 0;
  const char* first = key.data() + prefix.size();
  const auto [end, ec] = std::from_chars(first, key.data() + key.size(), n);
  return ec == std::errc() && end == key.data() + key.size() && n > 0 ? n : 0;
}

// Lines 1 to the stored count, each with its bytes as stored (a signature's "-- " keeps its
// blank), a missing line read as empty. The count is cut at the last line
// the file stores and at the number of lines the file holds: a damaged count (say 2000000000)
// or a lone far-off key must neither hang the program nor fill the memory.
std::vector<std::string> ReadLines(const TIniFile& ini, const TSettingKey& key) {
  const std::string_view prefix = key.LinePrefix;
  int highest = 0;
  ini.VisitSection(key.Section, [&](std::string_view name, std::string_view) {
    highest = std::max(highest, LineNumber(name, prefix));
  });
  const long count = std::min({static_cast<long>(ini.ReadInteger(key.Section, key.Key, 0)),
                               static_cast<long>(highest), static_cast<long>(ini.LineCount())});
  if (count <= 0) return {};
  std::vector<std::string> lines(static_cast<size_t>(count));
  std::vector<bool> seen(lines.size());
  ini.VisitSection(
      key.Section,
      [&](std::string_view name, std::string_view value) {
        const int n = LineNumber(name, prefix);
        if (n < 1 || n > count || seen[static_cast<size_t>(n - 1)]) return;  // the first of duplicates counts
        seen[static_cast<size_t>(n - 1)] = true;
        lines[static_cast<size_t>(n - 1)] = value;
      },
      TIniValue::ivExact);
  return lines;
}

int IntegerOr(std::string_view text, int otherwise) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : otherwise;
}

void WriteLines(TIniFile& ini, const TSettingKey& key, const std::vector<std::string>& lines) {
  for (size_t n = 1; n <= lines.size(); ++n)
    ini.WriteString(key.Section, key.LinePrefix + std::to_string(n), lines[n - 1], TIniValue::ivExact);
}

using K = TSettingKey;

}  // namespace

const std::vector<TSettingKey>& SettingKeys() {
  // One key per entry, its fields on one or two lines:
  // clang-format off
  static const std::vector<TSettingKey> keys = {
      {.Section = kSettings, .Key = "UploadMethodFTP", .Kind = K::skLogical, .Default = "0",
       .Logical = &TSettings::UploadMethodFTP, .Control = "RadioButton1"},
      {.Section = kSettings, .Key = "FTPUploadFile", .Kind = K::skText, .Default = "",
       .DefaultInSiteFolder = true, .Text = &TSettings::FTPUploadFile, .Control = "Edit1", .IsPath = true},
      {.Section = kSettings, .Key = "ZIPUploadFile", .Kind = K::skText, .Default = "upload.zip",
       .DefaultInSiteFolder = true, .Text = &TSettings::ZIPUploadFile, .Control = "Edit2", .IsPath = true},
      {.Section = kSettings, .Key = "WWWHomepageFile", .Kind = K::skText, .Default = "index.htm",
       .Text = &TSettings::WWWHomepageFile, .Control = "Edit3"},
      {.Section = kSettings, .Key = "SiteURL", .Kind = K::skText, .Default = "", .Text = &TSettings::SiteURL,
       .Control = "Edit13"},
      {.Section = kNews, .Key = "Server", .Kind = K::skText, .Default = "", .Text = &TSettings::Server,
       .Control = "Edit4"},
      {.Section = kNews, .Key = "DefNewsgroup1", .Kind = K::skText, .Default = "",
       .Text = &TSettings::DefNewsgroup1, .Control = "Edit5"},
      {.Section = kNews, .Key = "DefNewsgroup2", .Kind = K::skText, .Default = "",
       .Text = &TSettings::DefNewsgroup2, .Control = "Edit6"},
      {.Section = kNews, .Key = "SignatureLines1", .Kind = K::skLines, .Default = "",
       .Lines = &TSettings::Signature1, .LinePrefix = "Signature1_", .Control = "Memo1"},
      {.Section = kNews, .Key = "SignatureLines2", .Kind = K::skLines, .Default = "",
       .Lines = &TSettings::Signature2, .LinePrefix = "Signature2_", .Control = "Memo2"},
      // Without a default: a port that is missing or not valid follows the security (DefaultNewsPort).
      {.Section = kNews, .Key = "Port", .Kind = K::skInteger, .Default = "", .Integer = &TSettings::Port,
       .Control = "SpinEdit1"},
      {.Section = kNews, .Key = "Security", .Kind = K::skChoice, .Default = "None",
       .Text = &TSettings::Security, .Choices = TSettings::kNewsSecurities, .Control = "ComboBox5"},
      {.Section = kNews, .Key = "User", .Kind = K::skText, .Default = "", .Text = &TSettings::User,
       .Control = "Edit14"},
      {.Section = kNews, .Key = "CAFile", .Kind = K::skText, .Default = "", .Text = &TSettings::CAFile,
       .Control = "Edit15", .IsPath = true},
      {.Section = kIdentification, .Key = "Name", .Kind = K::skText, .Default = "", .Text = &TSettings::Name,
       .Control = "Edit7"},
      {.Section = kIdentification, .Key = "EMailAddress", .Kind = K::skText, .Default = "",
       .Text = &TSettings::EMailAddress, .Control = "Edit8"},
      {.Section = kIdentification, .Key = "ReplyAddress", .Kind = K::skText, .Default = "",
       .Text = &TSettings::ReplyAddress, .Control = "Edit9"},
      {.Section = kIdentification, .Key = "Organization", .Kind = K::skText, .Default = "",
       .Text = &TSettings::Organization, .Control = "Edit10"},
      {.Section = kLanguages, .Key = "Language1", .Kind = K::skText, .Default = "English",
       .Text = &TSettings::Language1, .Control = "Edit11"},
      {.Section = kLanguages, .Key = "Language2", .Kind = K::skText, .Default = "Deutsch",
       .Text = &TSettings::Language2, .Control = "Edit12"},
      {.Section = kLanguages, .Key = "DateFormat1", .Kind = K::skChoice, .Default = "m-d-yyyy",
       .Text = &TSettings::DateFormat1, .Choices = TSettings::kDateFormats, .Control = "ComboBox1"},
      {.Section = kLanguages, .Key = "DateFormat2", .Kind = K::skChoice, .Default = "dddddd",
       .Text = &TSettings::DateFormat2, .Choices = TSettings::kDateFormats, .Control = "ComboBox2"},
      {.Section = kLanguages, .Key = "DateTimeFormat1", .Kind = K::skChoice, .Default = "m-d-yyyy hh:mm",
       .Text = &TSettings::DateTimeFormat1, .Choices = TSettings::kDateTimeFormats, .Control = "ComboBox3"},
      {.Section = kLanguages, .Key = "DateTimeFormat2", .Kind = K::skChoice, .Default = "ddddd t",
       .Text = &TSettings::DateTimeFormat2, .Choices = TSettings::kDateTimeFormats, .Control = "ComboBox4"},
      {.Section = kPublish, .Key = "URL", .Kind = K::skText, .Default = "", .Text = &TSettings::PublishURL,
       .Control = "edtPublishURL"},
      {.Section = kPublish, .Key = "User", .Kind = K::skText, .Default = "", .Text = &TSettings::PublishUser,
       .Control = "edtPublishUser"},
      {.Section = kPublish, .Key = "DeleteRemoved", .Kind = K::skLogical, .Default = "0",
       .Logical = &TSettings::DeleteRemoved, .Control = "cbxDeleteRemoved"},
  };
  // clang-format on
  return keys;
}

TSettings::TSettings(std::string_view siteFolder, std::string_view programName)
    : siteFolder_(siteFolder.empty() ? std::string()
                                     : IncludeTrailingPathDelimiter(AbsolutePath(siteFolder))),
      programName_(programName),
      fileName_(SettingsFileName(siteFolder_, programName)) {
  for (const TSettingKey& key : SettingKeys()) {
    const std::string value = DefaultOf(key);
    switch (key.Kind) {
      case K::skText:
      case K::skChoice: this->*key.Text = value; break;
      case K::skLogical: this->*key.Logical = value == "1"; break;
      case K::skLines: (this->*key.Lines).clear(); break;
      case K::skInteger: this->*key.Integer = IntegerOr(value, 0); break;
    }
  }
  Port = DefaultNewsPort(Security);
  FTPUploadFile = ExcludeTrailingPathDelimiter(FTPUploadFile);
}

std::string TSettings::DefaultOf(const TSettingKey& key) const {
  return (key.DefaultInSiteFolder ? siteFolder_ : std::string()) + key.Default;
}

std::string TSettings::SettingsFileName(std::string_view siteFolder, std::string_view programName) {
  const std::string folder = siteFolder.empty() ? std::string() : IncludeTrailingPathDelimiter(siteFolder);
  return folder + std::string(programName) + ".ini";
}

std::string TSettings::MatchChoice(std::string_view value, std::span<const std::string_view> choices) {
  for (std::string_view c : choices)
    if (SameText(c, value)) return std::string(c);
  return {};
}

int TSettings::DefaultNewsPort(std::string_view security) {
  return SameText(security, "TLS") ? kNewsTlsPort : kNewsPort;
}

bool TSettings::LoadSettings(std::string& error, std::string& warning) {
  error.clear();
  warning.clear();
  TIniFile ini(fileName_);
  error = ini.ReadError();

  for (const TSettingKey& key : SettingKeys()) {
    switch (key.Kind) {
      case K::skText: this->*key.Text = ini.ReadString(key.Section, key.Key, DefaultOf(key)); break;
      case K::skChoice:
        this->*key.Text = MatchChoice(ini.ReadString(key.Section, key.Key, DefaultOf(key)), key.Choices);
        break;
      case K::skLogical:
        this->*key.Logical = ini.ReadBool(key.Section, key.Key, DefaultOf(key) == "1");
        break;
      case K::skLines: this->*key.Lines = ReadLines(ini, key); break;
      case K::skInteger:
        this->*key.Integer = ini.ReadInteger(key.Section, key.Key, IntegerOr(DefaultOf(key), 0));
        break;
    }
  }
  if (Port < 1 || Port > 65535) Port = DefaultNewsPort(Security);
  // The output folder is kept without its trailing delimiter, and the file says so at once.
  if (!FTPUploadFile.empty() && FTPUploadFile.back() == PathDelim) {
    FTPUploadFile.pop_back();
    ini.WriteString(kSettings, "FTPUploadFile", FTPUploadFile);
    if (error.empty() && !ini.UpdateFile(warning))
      warning = "The settings file could not be written: " + warning;
  }
  return error.empty();
}

bool TSettings::SaveSettings(std::string& error) const {
  TIniFile ini(fileName_);
  const TSettingKey* lastCount = nullptr;
  for (const TSettingKey& key : SettingKeys())
    if (key.Kind == K::skLines) lastCount = &key;
  for (const TSettingKey& key : SettingKeys()) {
    switch (key.Kind) {
      case K::skText:
      case K::skChoice: ini.WriteString(key.Section, key.Key, this->*key.Text); break;
      case K::skLogical: ini.WriteBool(key.Section, key.Key, this->*key.Logical); break;
      case K::skLines:
        ini.WriteInteger(key.Section, key.Key, static_cast<int>((this->*key.Lines).size()));
        break;
      case K::skInteger: ini.WriteInteger(key.Section, key.Key, this->*key.Integer); break;
    }
    // The lines follow all the counts, before the keys after them.
    if (&key == lastCount) {
      for (const TSettingKey& lines : SettingKeys())
        if (lines.Kind == K::skLines) WriteLines(ini, lines, this->*lines.Lines);
    }
  }
  std::string writeError;
  if (ini.UpdateFile(writeError)) return true;
  error = "The settings could not be saved: " + writeError;
  return false;
}

std::string TSettings::InSiteFolder(const std::string& path) const {
  if (path.empty()) return siteFolder_.empty() ? std::string(".") + PathDelim : siteFolder_;
  if (path.front() == PathDelim || siteFolder_.empty()) return path;
  return siteFolder_ + path;
}

std::string TSettings::HomePagePath() const {
  if (UploadMethodFTP) {
    if (FTPUploadFile.empty()) return InSiteFolder("") + WWWHomepageFile;
    return InSiteFolder(FTPUploadFile) + PathDelim + WWWHomepageFile;
  }
  return ExtractFilePath(InSiteFolder(ZIPUploadFile)) + WWWHomepageFile;
}

std::string TSettings::OutputFolder() const { return ExtractFilePath(HomePagePath()); }

std::string TSettings::ArchiveFileName() const {
  if (ZIPUploadFile.find_first_not_of(" \t") == std::string::npos) return {};
  return InSiteFolder(ZIPUploadFile);
}

std::string TSettings::HomePageFileProblem() const {
  if (WWWHomepageFile.empty())
    return "The home page file name is empty. Enter one in the settings, for example index.htm.";
  if (WWWHomepageFile.find_first_of(PathSeparators) != std::string::npos || WWWHomepageFile == "." ||
      WWWHomepageFile == "..")
    return "The home page file name \"" + WWWHomepageFile +
           "\" must be a file name without a folder. Change it in the settings.";
  return {};
}

std::string TSettings::CAFilePath() const { return CAFile.empty() ? std::string() : InSiteFolder(CAFile); }

std::optional<std::string> TSettings::LanguageName(int n) const { return Pick(n, Language1, Language2); }
std::optional<std::string> TSettings::DateFormat(int n) const { return Pick(n, DateFormat1, DateFormat2); }
std::optional<std::string> TSettings::DateTimeFormat(int n) const {
  return Pick(n, DateTimeFormat1, DateTimeFormat2);
}
std::optional<std::string> TSettings::DefNewsgroup(int n) const {
  return Pick(n, DefNewsgroup1, DefNewsgroup2);
}
std::optional<std::vector<std::string>> TSettings::Signature(int n) const {
  return Pick(n, Signature1, Signature2);
}

}  // namespace pagolin
