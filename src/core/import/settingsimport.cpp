#include "core/import/settingsimport.h"

#include <cctype>

#include "core/data/settings.h"
#include "core/import/folderfiles.h"
#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {
namespace {

constexpr char kImported[] = "Imported";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The old settings file in oldFolder; "" when there is none (notes say why).
std::string FindOldSettings(const std::string& oldFolder, TImportReport& report) {
  const std::string named = FindFileNoCase(oldFolder, TSettings::SettingsFileName({}));
  if (!named.empty()) return named;
  std::vector<std::string> inis;
  for (const std::string& name : FolderFileNames(oldFolder))
    if (SameText(ExtractFileExt(name), ".ini")) inis.push_back(name);
  if (inis.size() == 1) return inis.front();
  if (inis.empty()) {
    report.notes.push_back(
        "Settings: the old folder holds no settings file; the new site starts with the defaults.");
  } else {
    std::string list;
    for (const std::string& n : inis) list += (list.empty() ? "" : ", ") + Quoted(n);
    report.notes.push_back("Settings: the old folder holds several settings files (" + list +
                           ") and none is named " + Quoted(TSettings::SettingsFileName({})) +
                           "; none was carried over.");
    report.settingsLost = true;
  }
  return {};
}

// The file name at the end of a Windows path.
std::string WindowsFileName(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

bool IsWindowsPath(const std::string& value) {
  const bool drive =
      value.size() >= 2 && std::isalpha(static_cast<unsigned char>(value[0])) && value[1] == ':';
  return drive || value.find('\\') != std::string::npos;
}

void ImportSettings(const std::string& oldFolder, const std::string& siteFolder, const std::string& newFile,
                    TImportReport& report) {
  const std::string name = FindOldSettings(oldFolder, report);
  if (name.empty()) return;
  const std::string oldFile = IncludeTrailingPathDelimiter(oldFolder) + name;
  std::string text, error;
  if (!ReadWholeFile(oldFile, text, error)) {
    report.notes.push_back("Settings: " + Quoted(oldFile) + " cannot be read (" + error +
                           "); none were carried over.");
    report.settingsLost = true;
    return;
  }
  if (!WriteFileAtomically(newFile, text, error))
    throw EImportError("cannot write " + Quoted(newFile) + ": " + error);

  // The folder keys are those whose default lies in the site folder.
  TIniFile ini(newFile);
  std::vector<std::string> moved;
  for (const TSettingKey& key : SettingKeys()) {
    if (!key.DefaultInSiteFolder || !ini.ValueExists(key.Section, key.Key)) continue;
    const std::string old = ini.ReadString(key.Section, key.Key, "");
    if (!IsWindowsPath(old)) continue;
    const std::string file = std::string(key.Default).empty() ? std::string() : WindowsFileName(old);
    ini.WriteString(key.Section, key.Key,
                    ExcludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(siteFolder) +
                                                 (file.empty() ? std::string(key.Default) : file)));
    ini.WriteString(kImported, key.Key, old);
    moved.push_back(key.Key);
  }
  std::string keys;
  for (const std::string& k : moved) keys += (keys.empty() ? "" : ", ") + k;
  if (!moved.empty())
    ini.WriteString(kImported, "Note",
                    "Windows paths cannot be used here: " + keys +
                        " of [Settings] now point to the site folder; "
                        "their old values follow.");
  if (!ini.UpdateFile(error)) throw EImportError("cannot write " + Quoted(newFile) + ": " + error);
  report.notes.push_back("Settings: carried over from " + Quoted(oldFile) + "." +
                         (moved.empty() ? std::string()
                                        : " The Windows paths of " + keys +
                                              " were replaced by the site folder; "
                                              "the old ones are kept in the section [Imported]."));
}

}  // namespace pagolin
