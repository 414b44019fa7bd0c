// Message hooks for GUI tests: every text shown is recorded, as a message, an error or a
// question, and every question gets the answer set. The hooks installed before come back when
// the recorder ends.
#pragma once

#include <string>
#include <vector>

#include "core/platform/hooks.h"

namespace pagolin::test {

class TMessageRecorder {
 public:
  TMessageRecorder() {
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
    hooks.showError = [this](const std::string& text, const std::string&) { errors.push_back(text); };
    hooks.messageDlg = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
      questions.push_back(text);
      return answer;
    };
    previous_ = SetMessageHooks(std::move(hooks));
  }
  ~TMessageRecorder() { SetMessageHooks(std::move(previous_)); }
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  std::vector<std::string> messages, errors, questions;
  TModalResult answer = TModalResult::mrOk;

 private:
  TMessageHooks previous_;
};

}  // namespace pagolin::test
