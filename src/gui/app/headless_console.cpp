// The message hooks of the commands without a window: everything goes to standard error.
#include <cstdio>

#include "core/data/settings.h"
#include "core/platform/hooks.h"
#include "gui/app/headless.h"

namespace pagolin {

void PrintError(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

bool LoadSettingsForCommand(TSettings& settings, const std::string& done) {
  std::string error, warning;
  const bool read = settings.LoadSettings(error, warning);
  if (!read) PrintError("The settings could not be read, so nothing was " + done + ": " + error);
  if (!warning.empty()) PrintError("Warning: " + warning);
  return read;
}

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
