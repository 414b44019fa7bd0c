// pagolin --publish [--site DIR]: "Publish" without a window, for scripts and schedulers. Uploads
// what changed since the last publish to the folder of the settings and prints one line per file
// uploaded or deleted, then the summary. Nobody is there to confirm: the setting DeleteRemoved is
// the consent to delete, and an SSH host key not known yet is refused. The password of the login
// comes from ~/.netrc. Exit status 0 only when the publish went through.
#include <cstdio>
#include <exception>
#include <string>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/platform/filenames.h"
#include "core/platform/netrc.h"
#include "core/publish/publishsetup.h"
#include "gui/app/headless.h"

namespace pagolin {

int HeadlessPublish(const std::string& siteFolder) {
  InstallConsoleHooks(true);
  try {
    TDataModule2 dataModule(siteFolder);
    dataModule.DataModule2Create();  // says so when the site folder or a table is missing
    TSettings settings(siteFolder, ProgramName());
    if (!LoadSettingsForCommand(settings, "published")) return 1;
    const TPublishTarget target = PublishTarget(settings);
    TPublishedFiles records(settings.SiteFolder());
    const TPublishPlan plan = PreparePublish(dataModule, settings, records, target);
    if (plan.NothingToDo()) {
      std::printf("%s\n", NothingToPublishText(plan).c_str());
      return 0;
    }
    TNetrcStore netrc;  // no keyring without a window
    TCurlFolder folder(target.Url, PublishConnection(target, PublishPassword(target, &netrc), false));
    TPublisher publisher(folder, records, target.Key);
    const TPublishResult result = publisher.Run(plan);
    for (const std::string& name : result.Uploaded) std::printf("uploaded %s\n", name.c_str());
    for (const std::string& name : result.Removed) std::printf("deleted %s\n", name.c_str());
    const std::string summary = PublishSummary(plan, result);
    if (!result.Succeeded()) {
      std::fflush(stdout);
      PrintError(PublishSummary(plan, result));
      return 1;
    }
    std::printf("%s\n", summary.c_str());
    return 0;
  } catch (const std::exception& e) {
    PrintError(e.what());
    return 1;
  }
}

}  // namespace pagolin
