#include "core/platform/hooks.h"

#include <chrono>
#include <cstdio>

namespace pagolin {
namespace {

TMessageHooks& Installed() {
  static TMessageHooks hooks;
  return hooks;
}

}  // namespace

TMessageHooks SetMessageHooks(TMessageHooks hooks) {
  TMessageHooks previous = std::move(Installed());
  Installed() = std::move(hooks);
  return previous;
}

void ShowMessage(const std::string& text) {
  if (Installed().showMessage)
    Installed().showMessage(text);
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

void ShowError(const std::string& text, const std::string& details) {
  if (Installed().showError) {
    Installed().showError(text, details);
  } else if (details.empty()) {
    std::fprintf(stderr, "%s\n", text.c_str());
  } else {
    std::fprintf(stderr, "%s\n%s\n", text.c_str(), details.c_str());
  }
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  if (Installed().messageDlg) return Installed().messageDlg(text, type, buttons);
  std::fprintf(stderr, "%s\n", text.c_str());
  switch (buttons) {
    case TMsgDlgButtons::mbOK: return TModalResult::mrOk;
    case TMsgDlgButtons::mbOKCancel: return TModalResult::mrCancel;
    case TMsgDlgButtons::mbYesNo: return TModalResult::mrNo;
  }
  return TModalResult::mrNone;
}

void ProcessMessages() {
  // Looking at the clock costs far more than counting, so look only every 256th call.
  static unsigned counter = 0;
  static long long last = 0;
  if ((++counter & 0xFF) != 0 || !Installed().processMessages) return;
  const long long now = Installed().clockMs ? Installed().clockMs()
                                            : std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now().time_since_epoch())
                                                  .count();
  if (now - last < 20 && now >= last) return;
  last = now;
  Installed().processMessages();
}

void ProcessMessagesNow() {
  if (Installed().processMessages) Installed().processMessages();
}

}  // namespace pagolin
