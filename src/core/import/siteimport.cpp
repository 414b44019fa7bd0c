#include "core/import/siteimport.h"

#include <unistd.h>

#include <filesystem>

#include "core/data/settings.h"
#include "core/data/siteschema.h"
#include "core/import/folderfiles.h"
#include "core/import/settingsimport.h"
#include "core/import/tableimport.h"
#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

struct TSource {
  const TTableDef* def;
  std::string table;  // full path
  std::string memo;   // full path, "" when there is none
};

std::vector<TSource> FindSources(const std::string& old) {
  std::vector<TSource> sources;
  for (const TTableDef* def : SiteTableDefs()) {
    const std::string name = FindFileNoCase(old, def->fileName);
    if (name.empty())
      throw EImportError(Quoted(old) + " holds no " + Quoted(def->fileName) +
                         " (looked for without regard to case); a site needs all five tables.");
    const std::string memo = FindFileNoCase(old, ChangeFileExt(name, ".MB"));
    sources.push_back({def, old + name, memo.empty() ? std::string() : old + memo});
  }
  return sources;
}

void NoteOtherTables(const std::string& old, const std::vector<TSource>& sources, TImportReport& report) {
  for (const std::string& name : FolderFileNames(old)) {
    if (!SameText(ExtractFileExt(name), ".db")) continue;
    bool used = false;
    for (const TSource& s : sources) used = used || s.table == old + name;
    if (!used) report.notes.push_back(Quoted(old + name) + " is not a table of a site and was left aside.");
  }
}

// The outermost folder of path that does not exist yet ("" when path exists).
fs::path FirstMissingFolder(const fs::path& path) {
  fs::path missing;
  for (fs::path p = path; !p.empty() && !fs::exists(p); p = p.parent_path()) {
    missing = p;
    if (p == p.parent_path()) break;
  }
  return missing;
}

}  // namespace

TImportReport ImportSite(const std::string& oldFolder, const std::string& siteFolder) {
  const std::string old = IncludeTrailingPathDelimiter(oldFolder);
  const std::string site = IncludeTrailingPathDelimiter(siteFolder);
  if (!DirectoryExists(old)) throw EImportError("The old site folder " + Quoted(old) + " does not exist.");
  const std::vector<TSource> sources = FindSources(old);

  std::vector<std::string> files;
  for (const TSource& s : sources) files.push_back(s.def->fileName);
  files.push_back(TSettings::SettingsFileName({}));
  for (const std::string& f : files)
    if (fs::exists(fs::path(site + f)))
      throw EImportError("The folder " + Quoted(site) + " already holds " + Quoted(f) +
                         ". An existing site is never overwritten; choose an empty folder.");

  const fs::path created = FirstMissingFolder(fs::path(ExcludeTrailingPathDelimiter(site)));
  std::error_code ec;
  fs::create_directories(fs::path(site), ec);
  if (ec || !DirectoryExists(site))
    throw EImportError("Cannot create the folder " + Quoted(site) + ": " + ec.message() + ".");
  const std::string staging = site + ".pagolin-import-" + std::to_string(getpid()) + PathDelim;
  std::vector<std::string> placed;
  try {
    fs::remove_all(fs::path(staging), ec);
    fs::create_directory(fs::path(staging));
    TImportReport report;
    for (const TSource& s : sources) {
      report.tables.emplace_back();
      ImportTable(*s.def, s.table, s.memo, staging + s.def->fileName, report.tables.back());
    }
    // The settings name the site folder as a whole path: the program may start elsewhere.
    const std::string whole = fs::absolute(fs::path(site)).lexically_normal().string();
    ImportSettings(old, whole, staging + TSettings::SettingsFileName({}), report);
    NoteOtherTables(old, sources, report);
    for (const std::string& f : files) {
      if (!fs::exists(fs::path(staging + f))) continue;
      fs::rename(fs::path(staging + f), fs::path(site + f));
      placed.push_back(site + f);
    }
    fs::remove_all(fs::path(staging), ec);
    return report;
  } catch (const std::exception& e) {
    for (const std::string& p : placed) fs::remove(fs::path(p), ec);
    fs::remove_all(fs::path(staging), ec);
    if (!created.empty()) fs::remove_all(created, ec);
    if (dynamic_cast<const EImportError*>(&e)) throw;
    throw EImportError("The import into " + Quoted(site) + " failed: " + e.what());
  }
}

}  // namespace pagolin
