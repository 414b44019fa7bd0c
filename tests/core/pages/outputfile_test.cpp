#include "core/pages/outputfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::TTempFolder;
using testing::WriteBytes;

std::string Read(const std::string& file) {
  std::string contents, error;
  return ReadWholeFile(file, contents, error) ? contents : "<none>";
}

// An output folder "www" and a file "shot.gif" chosen in "elsewhere"; the questions answered
// in turn and every text shown recorded.
class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(www_);
    std::filesystem::create_directories(dir_.Path() + "elsewhere");
    WriteBytes(chosen_, "new");
    TMessageHooks hooks;
    hooks.showError = [this](const std::string& text, const std::string&) {
      shown_.push_back("error: " + text);
    };
    hooks.messageDlg = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
      shown_.push_back(text);
      const TModalResult answer = answers_.empty() ? TModalResult::mrNo : answers_.front();
      if (!answers_.empty()) answers_.erase(answers_.begin());
      return answer;
    };
    previous_ = SetMessageHooks(std::move(hooks));
  }
  void TearDown() override { SetMessageHooks(std::move(previous_)); }

  TTempFolder dir_;
  std::string www_ = dir_.Path() + "www" + PathDelim;
  std::string chosen_ = dir_.Path() + "elsewhere" + PathDelim + "shot.gif";
  std::vector<TModalResult> answers_;
  std::vector<std::string> shown_;
  TMessageHooks previous_;
};

constexpr const char* kAskCopy = "Copy shot.gif into the upload folder?";
constexpr const char* kAskReplace = "The upload folder already holds a file named shot.gif. Replace it?";

TEST_F(OutputFileTest, AFileInTheOutputFolderIsStoredByNameWithoutAQuestion) {
  WriteBytes(www_ + "shot.gif", "old");
  // Reached through another spelling of the same folder.
  EXPECT_EQ(OutputFileName(dir_.Path() + "elsewhere/../www/shot.gif", www_), "shot.gif");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(OutputFileTest, TheAnswersDecideWhetherTheFileIsCopiedOrReplaced) {
  struct Case {
    bool present;  // a file of that name is in the output folder already
    std::vector<TModalResult> answers;
    std::vector<std::string> questions;
    std::string left;  // what the output folder holds afterwards
  };
  const TModalResult yes = TModalResult::mrYes, no = TModalResult::mrNo;
  const Case cases[] = {
      {false, {no}, {kAskCopy}, "<none>"},
      {false, {yes}, {kAskCopy}, "new"},
      {true, {yes, no}, {kAskCopy, kAskReplace}, "old"},
      {true, {yes, yes}, {kAskCopy, kAskReplace}, "new"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(www_ + "shot.gif");
    if (c.present) WriteBytes(www_ + "shot.gif", "old");
    answers_ = c.answers;
    shown_.clear();
    EXPECT_EQ(OutputFileName(chosen_, www_), "shot.gif");
    EXPECT_EQ(shown_, c.questions);
    EXPECT_EQ(Read(www_ + "shot.gif"), c.left);
    EXPECT_EQ(Read(chosen_), "new");
  }
}

TEST_F(OutputFileTest, ACopyThatFailsIsReportedAndNothingIsToBeStored) {
  const std::string missing = dir_.Path() + "gone" + PathDelim;
  answers_ = {TModalResult::mrYes};
  EXPECT_EQ(OutputFileName(chosen_, missing), std::nullopt);
  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[1].rfind("error: Could not copy shot.gif into the upload folder: ", 0), 0u) << shown_[1];
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace pagolin
