#include "core/platform/hooks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace pagolin {
namespace {

TEST(Hooks, MessagesReachTheInstalledHookAndQuestionsDefaultToTheCautiousAnswer) {
  std::string seen;
  TMessageHooks hooks;
  hooks.showMessage = [&](const std::string& t) { seen = t; };
  TMessageHooks old = SetMessageHooks(hooks);
  ShowMessage("News must have a subject.");
  EXPECT_EQ(seen, "News must have a subject.");
  SetMessageHooks(TMessageHooks{});
  EXPECT_EQ(MessageDlg("Sure?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo),
            TModalResult::mrNo);
  EXPECT_EQ(MessageDlg("Sure?", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOKCancel),
            TModalResult::mrCancel);
  SetMessageHooks(old);
}

TEST(Hooks, ProcessMessagesIsThrottledByTheClock) {
  int calls = 0;
  TMessageHooks hooks;
  hooks.processMessages = [&] { ++calls; };
  TMessageHooks old = SetMessageHooks(hooks);
  for (int i = 0; i < 100000; ++i) ProcessMessages();
  EXPECT_LE(calls, 1) << "a tight loop shorter than 20 ms runs the hook at most once";
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  for (int i = 0; i < 256; ++i) ProcessMessages();
  EXPECT_GE(calls, 1);
  const int before = calls;
  ProcessMessagesNow();
  EXPECT_EQ(calls, before + 1);
  SetMessageHooks(old);
}

}  // namespace
}  // namespace pagolin
