// pagolin --build [--site DIR]: "Build pages" without a window, for scripts and schedulers.
// Prints the upload list (a check mark or a blank, then the item's text) and the used space;
// messages of the build (a field that is not rich text) go to standard error.
#include <cstdio>
#include <exception>
#include <string>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/pages/pagebuilder.h"
#include "core/pages/uploadarchive.h"
#include "core/pages/uploadlist.h"
#include "core/platform/filenames.h"
#include "gui/app/headless.h"

namespace pagolin {
int HeadlessBuild(const std::string& siteFolder) {
  InstallConsoleHooks(true);
  try {
    TDataModule2 dataModule(siteFolder);
    dataModule.DataModule2Create();  // says so when the site folder or a table is missing
    TSettings settings(siteFolder, ProgramName());
    if (!LoadSettingsForCommand(settings, "built")) return 1;
    TPageBuilder builder(dataModule, settings);
    builder.BuildPages();
    // The archive method's archive, before the list compares the files with its date.
    if (std::string error; !UpdateUploadArchive(builder.FileList, settings, error)) {
      PrintError(error);
      return 1;
    }
    const TUploadList list = MakeUploadList(builder.FileList, settings);
    for (const TUploadItem& item : list.Items)
      std::printf("%s %s\n", item.Checked ? "\u2713" : " ", item.Text.c_str());
    std::printf("Used Web server space: %s\n", UsedSpaceText(list.TotalKB).c_str());
    return 0;
  } catch (const std::exception& e) {
    PrintError(e.what());
    return 1;
  }
}

}  // namespace pagolin
