#include "core/platform/hooks.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(MessageDlg("Sure?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo), TModalResult::mrNo);
  EXPECT_EQ(MessageDlg("Sure?", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOKCancel), TModalResult::mrCancel);
  SetMessageHooks(old);
}

TEST(Hooks, ProcessMessagesIsThrottledByTheClock) {
  int calls = 0;
  long long clock = 1000000;
  TMessageHooks hooks;
  hooks.processMessages = [&] { ++calls; };
  hooks.clockMs = [&] { return clock; };
  TMessageHooks old = SetMessageHooks(hooks);
  // The first look at the clock runs the hook; from then on every 256th call looks.
  for (int i = 0; i < 256 && calls == 0; ++i) ProcessMessages();
  ASSERT_EQ(calls, 1);
  for (int i = 0; i < 256 * 400; ++i) ProcessMessages();
  EXPECT_EQ(calls, 1) << "no time passed: the hook does not run again";
  clock += 19;
  for (int i = 0; i < 256; ++i) ProcessMessages();
  EXPECT_EQ(calls, 1) << "19 ms are not enough";
  clock += 1;
  for (int i = 0; i < 255; ++i) ProcessMessages();
  EXPECT_EQ(calls, 1) << "the clock is only read every 256th call";
  ProcessMessages();
  EXPECT_EQ(calls, 2);
  ProcessMessagesNow();
  EXPECT_EQ(calls, 3) << "ProcessMessagesNow is not throttled";
  SetMessageHooks(old);
}

}  // namespace
}  // namespace pagolin
