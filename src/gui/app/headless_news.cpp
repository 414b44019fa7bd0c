// pagolin --send-news [--site DIR]: the "Send News" command without a window, for scripts
// and schedulers. One line per due posting on standard output (PostingReportLine): its
// subject, then "sent" or the reason it was not. Exit status 0 only when every due posting
// was sent. Without a window there is no keyring to ask: the password of a news server login
// comes from ~/.netrc.
#include <cstdio>
#include <exception>
#include <string>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/net/ip_misc.h"
#include "core/news/mailnews.h"
#include "core/news/newspost.h"
#include "core/news/newsserver.h"
#include "core/platform/filenames.h"
#include "core/platform/netrc.h"
#include "gui/app/headless.h"

namespace pagolin {

int HeadlessSendNews(const std::string& siteFolder) {
  InstallConsoleHooks(false);
  StartNetwork();
  int status = 0;
  try {
    TDataModule2 dataModule(siteFolder);
    dataModule.DataModule2Create();  // says so when the site folder or a table is missing
    TSettings settings(siteFolder, ProgramName());
    if (!LoadSettingsForCommand(settings, "sent")) {
      StopNetwork();
      return 1;
    }
    if (const std::string warning = PlainLoginWarning(settings.Security, settings.User); !warning.empty())
      PrintError("Warning: " + warning);
    T_NNTP nntp;
    T_News news;
    TNetrcStore netrc;
    const std::vector<TPostingOutcome> outcomes =
        SendDuePostings(dataModule.tblNewsPost, settings, news, nntp, {}, &netrc);
    for (const TPostingOutcome& outcome : outcomes) {
      std::printf("%s\n", PostingReportLine(outcome).c_str());
      if (!outcome.Sent) status = 1;
    }
    if (outcomes.empty()) PrintError("No postings are due.");
  } catch (const std::exception& e) {
    PrintError(e.what());
    status = 1;
  }
  std::fflush(stdout);
  StopNetwork();
  return status;
}

}  // namespace pagolin
