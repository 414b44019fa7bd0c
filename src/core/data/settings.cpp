#include "core/data/settings.h"

#include <charconv>

#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {
namespace {

constexpr char kSettings[] = "Settings";
constexpr char kNews[] = "News";
constexpr char kIdentification[] = "Identification";
constexpr char kLanguages[] = "Languages";

template <typename T>
std::optional<T> Pick(int n, const T& one, const T& two) {
  if (n == 1) return one;
  if (n == 2) return two;
  return std::nullopt;
}

// The highest n of a stored key prefix + n ("Signature1_" + n), 0 when there is none.
int HighestLineKey(const TIniFile& ini, std::string_view prefix) {
  int highest = 0;
  for (const std::string& key : ini.ReadSection(kNews)) {
    if (key.size() <= prefix.size() || !SameText(std::string_view(key).substr(0, prefix.size()), prefix))
      continue;
    int n = 0;
    const char* first = key.data() + prefix.size();
    const auto [end, ec] = std::from_chars(first, key.data() + key.size(), n);
    if (ec == std::errc() && end == key.data() + key.size() && n > highest) highest = n;
  }
  return highest;
}

// Lines 1 to the stored count. A count beyond the last stored line only adds empty lines, so
// it is cut there: a damaged count (say 2000000000) must not hang the program.
std::vector<std::string> ReadLines(const TIniFile& ini, const std::string& countKey,
                                   const std::string& prefix) {
  std::vector<std::string> lines;
  int count = ini.ReadInteger(kNews, countKey, 0);
  const int highest = HighestLineKey(ini, prefix);
  if (count > highest) count = highest;
  for (int n = 1; n <= count; ++n) lines.push_back(ini.ReadString(kNews, prefix + std::to_string(n), ""));
  return lines;
}

void WriteLines(TIniFile& ini, const std::string& prefix, const std::vector<std::string>& lines) {
  for (size_t n = 1; n <= lines.size(); ++n) ini.WriteString(kNews, prefix + std::to_string(n), lines[n - 1]);
}

}  // namespace

TSettings::TSettings(std::string_view siteFolder)
    : siteFolder_(siteFolder.empty() ? std::string() : IncludeTrailingPathDelimiter(siteFolder)),
      fileName_(SettingsFileName(siteFolder)) {
  FTPUploadFile = ExcludeTrailingPathDelimiter(siteFolder_);
  ZIPUploadFile = siteFolder_ + "upload.zip";
  WWWHomepageFile = "index.htm";
  Language1 = "English";
  Language2 = "Deutsch";
  DateFormat1 = kDateFormats[0];
  DateFormat2 = kDateFormats[1];
  DateTimeFormat1 = kDateTimeFormats[0];
  DateTimeFormat2 = kDateTimeFormats[1];
}

std::string TSettings::SettingsFileName(std::string_view siteFolder) {
  const std::string folder = siteFolder.empty() ? std::string() : IncludeTrailingPathDelimiter(siteFolder);
  return folder + std::string(kFileName);
}

std::string TSettings::MatchChoice(std::string_view value, const std::array<std::string_view, 2>& choices) {
  for (std::string_view c : choices)
    if (SameText(c, value)) return std::string(c);
  return {};
}

bool TSettings::LoadSettings(std::string& error) {
  error.clear();
  TIniFile ini(fileName_);
  if (!ini.ReadError().empty()) error = "The settings could not be read, defaults apply: " + ini.ReadError();

  UploadMethodFTP = ini.ReadBool(kSettings, "UploadMethodFTP", false);
  FTPUploadFile = ini.ReadString(kSettings, "FTPUploadFile", siteFolder_);
  if (!FTPUploadFile.empty() && FTPUploadFile.back() == PathDelim) {
    FTPUploadFile.pop_back();
    ini.WriteString(kSettings, "FTPUploadFile", FTPUploadFile);
    std::string writeError;
    if (error.empty() && !ini.UpdateFile(writeError))
      error = "The settings file could not be written: " + writeError;
  }
  ZIPUploadFile = ini.ReadString(kSettings, "ZIPUploadFile", siteFolder_ + "upload.zip");
  WWWHomepageFile = ini.ReadString(kSettings, "WWWHomepageFile", "index.htm");

  Server = ini.ReadString(kNews, "Server", "");
  DefNewsgroup1 = ini.ReadString(kNews, "DefNewsgroup1", "");
  DefNewsgroup2 = ini.ReadString(kNews, "DefNewsgroup2", "");
  Signature1 = ReadLines(ini, "SignatureLines1", "Signature1_");
  Signature2 = ReadLines(ini, "SignatureLines2", "Signature2_");

  Name = ini.ReadString(kIdentification, "Name", "");
  EMailAddress = ini.ReadString(kIdentification, "EMailAddress", "");
  ReplyAddress = ini.ReadString(kIdentification, "ReplyAddress", "");
  Organization = ini.ReadString(kIdentification, "Organization", "");

  Language1 = ini.ReadString(kLanguages, "Language1", "English");
  Language2 = ini.ReadString(kLanguages, "Language2", "Deutsch");
  DateFormat1 = MatchChoice(ini.ReadString(kLanguages, "DateFormat1", kDateFormats[0]), kDateFormats);
  DateFormat2 = MatchChoice(ini.ReadString(kLanguages, "DateFormat2", kDateFormats[1]), kDateFormats);
  DateTimeFormat1 =
      MatchChoice(ini.ReadString(kLanguages, "DateTimeFormat1", kDateTimeFormats[0]), kDateTimeFormats);
  DateTimeFormat2 =
      MatchChoice(ini.ReadString(kLanguages, "DateTimeFormat2", kDateTimeFormats[1]), kDateTimeFormats);
  return error.empty();
}

bool TSettings::SaveSettings(std::string& error) const {
  TIniFile ini(fileName_);
  ini.WriteBool(kSettings, "UploadMethodFTP", UploadMethodFTP);
  ini.WriteString(kSettings, "FTPUploadFile", FTPUploadFile);
  ini.WriteString(kSettings, "ZIPUploadFile", ZIPUploadFile);
  ini.WriteString(kSettings, "WWWHomepageFile", WWWHomepageFile);
  ini.WriteString(kNews, "Server", Server);
  ini.WriteString(kNews, "DefNewsgroup1", DefNewsgroup1);
  ini.WriteString(kNews, "DefNewsgroup2", DefNewsgroup2);
  ini.WriteInteger(kNews, "SignatureLines1", static_cast<int>(Signature1.size()));
  ini.WriteInteger(kNews, "SignatureLines2", static_cast<int>(Signature2.size()));
  WriteLines(ini, "Signature1_", Signature1);
  WriteLines(ini, "Signature2_", Signature2);
  ini.WriteString(kIdentification, "Name", Name);
  ini.WriteString(kIdentification, "EMailAddress", EMailAddress);
  ini.WriteString(kIdentification, "ReplyAddress", ReplyAddress);
  ini.WriteString(kIdentification, "Organization", Organization);
  ini.WriteString(kLanguages, "Language1", Language1);
  ini.WriteString(kLanguages, "Language2", Language2);
  ini.WriteString(kLanguages, "DateFormat1", DateFormat1);
  ini.WriteString(kLanguages, "DateFormat2", DateFormat2);
  ini.WriteString(kLanguages, "DateTimeFormat1", DateTimeFormat1);
  ini.WriteString(kLanguages, "DateTimeFormat2", DateTimeFormat2);
  std::string writeError;
  if (ini.UpdateFile(writeError)) return true;
  error = "The settings could not be saved: " + writeError;
  return false;
}

std::string TSettings::HomePagePath() const {
  if (UploadMethodFTP) return FTPUploadFile + PathDelim + WWWHomepageFile;
  return ExtractFilePath(ZIPUploadFile) + WWWHomepageFile;
}

std::string TSettings::OutputFolder() const { return ExtractFilePath(HomePagePath()); }

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
