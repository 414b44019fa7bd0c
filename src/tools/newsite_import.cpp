#include "tools/newsite_import.h"

#include <iostream>

#include "core/import/siteimport.h"

namespace pagolin {

int RunImport(const std::string& siteFolder, const std::string& oldFolder) {
  try {
    const TImportReport report = ImportSite(oldFolder, siteFolder);
    std::cout << "Imported the old site in \"" << oldFolder << "\" into \"" << siteFolder << "\":\n"
              << report.Text();
    return report.Complete() ? 0 : 1;
  } catch (const EImportError& e) {
    std::cerr << "pagolin-newsite: " << e.what() << "\nNothing was written into \"" << siteFolder << "\".\n";
    return 1;
  }
}

}  // namespace pagolin
