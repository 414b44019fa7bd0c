// The message hooks of the commands without a window: everything goes to standard error.
#include <cstdio>

#include "gui/app/headless.h"
#include "core/platform/codepage.h"
#include "core/platform/hooks.h"

namespace pagolin {

void PrintError(const std::string& text) { std::fprintf(stderr, "%s\n", AnsiToUtf8(text).c_str()); }

void InstallConsoleHooks(bool printErrorBoxes) {
  TMessageHooks hooks;
  hooks.showMessage = [](const std::string& text) { PrintError(text); };
  if (printErrorBoxes)
    hooks.showError = [](const std::string& text, const std::string&) { PrintError(text); };
  else
    hooks.showError = [](const std::string&, const std::string&) {};
  // Questions get the cautious answer: nobody is there to say yes.
  hooks.messageDlg = [](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
    PrintError(text);
    return TModalResult::mrNo;
  };
  hooks.processMessages = [] {};
  SetMessageHooks(std::move(hooks));
}

}  // namespace pagolin
