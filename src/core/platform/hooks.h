// The core's only ways to reach the person at the screen: message boxes, questions, and
// keeping the window responsive during long work. The program installs Qt implementations;
// tests install recorders. Without an installed hook, messages go to standard error and
// questions get the cautious answer (Cancel / No).
#pragma once

#include <functional>
#include <string>

namespace pagolin {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo };
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

struct TMessageHooks {
  // A simple message box with a fixed text (UTF-8).
  std::function<void(const std::string& text)> showMessage;
  // The application's standard error box: the error text, and optional details to unfold.
  std::function<void(const std::string& text, const std::string& details)> showError;
  // A question; returns the button pressed.
  std::function<TModalResult(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)> messageDlg;
  // Processes pending window messages once.
  std::function<void()> processMessages;
  // The clock ProcessMessages is throttled by, in milliseconds (any start); the steady clock
  // when unset. Tests set their own.
  std::function<long long()> clockMs;
};

// Installs the hooks and returns the ones installed before (so tests can put them back).
TMessageHooks SetMessageHooks(TMessageHooks hooks);

void ShowMessage(const std::string& text);
void ShowError(const std::string& text, const std::string& details = {});
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Cheap enough to call per character: counts calls and only every so often looks at the clock;
// the installed hook runs at most about every 20 ms.
void ProcessMessages();
// Runs the installed hook now (after each row of a long walk).
void ProcessMessagesNow();

}  // namespace pagolin
