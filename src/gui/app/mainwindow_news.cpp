// The main window's news commands. "Copy to newsgroups" makes two postings of the news item as
// its controls show it. "Send News" asks, then posts every due posting through the core walk
// (net/newspost.h) with the window's news client; meanwhile the window repaints, shows which
// posting goes out, and takes no other command.
#include <QAction>
#include <QCoreApplication>

#include <exception>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/news/newspost.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/components/hinttracker.h"
#include "gui/components/inputblock.h"
#include "gui/components/qtext.h"

namespace pagolin {

void TForm1::WireNewsCommands() {
  News1.NNTP = &NNTP1;
  actSendNews->setEnabled(true);
  connect(actSendNews, &QAction::triggered, this, [this] { ToolButton7Click(); });
  connect(tbsHotNews->btnCopyToNews, &QPushButton::clicked, this, &TForm1::btnCopyToNewsClick);
}

void TForm1::btnCopyToNewsClick() {
  // What the controls show, edits not yet stored included; the bodies as plain text, their
  // paragraphs separated by CR LF.
  const TTabHotNews& news = *tbsHotNews;
  const auto plain = [](const TDBRichEdit* editor) { return FromQLines(editor->toPlainText()); };
  std::vector<TRecordId> added;
  CopyNewsToPostings(dataModule_, settings_,
                     {FromQ(news.DBEdit1->text()), FromQ(news.DBEdit2->text()), plain(news.DBRichEdit1),
                      plain(news.DBRichEdit2)},
                     &added);
  if (added.empty()) return;
  // The new postings in front, selected, and a word of what happened.
  pgcMain->setCurrentWidget(tbsMailAndNews);
  try {
    tbsMailAndNews->DBGrid5->SelectRecords(added);
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  hints_->SetCurrentHint(ToQ(PostingsAddedText(static_cast<int>(added.size()))));
}

void TForm1::ToolButton7Click() {
  if (MessageDlg("Upload messages to Internet Newsgroups?", TMsgDlgType::mtConfirmation,
                 TMsgDlgButtons::mbYesNo) != TModalResult::mrYes) {
    return;
  }
  const TSettings& settings = settings_;
  // The button (through its action) stays disabled until the walk has ended.
  actSendNews->setEnabled(false);
  hints_->SetCurrentHint(ToQ("Connecting to " + settings.Server + "..."));
  bool closeAfterwards = false;
  {
    TInputBlock block(this, "News postings are being sent. Close the window after the current posting?");
    // A close asked for while one posting goes out ends the walk after it.
    const auto progress = [&](std::size_t number, std::size_t count, const std::string&) {
      if (block.CloseRequested()) return false;
      hints_->SetCurrentHint(ToQ("Sending posting " + std::to_string(number) + " of " +
                                 std::to_string(count) + " to " + settings.Server + "..."));
      QCoreApplication::processEvents();
      return true;
    };
    try {
      const std::vector<TPostingOutcome> outcomes =
          SendDuePostings(dataModule_.tblNewsPost, settings, News1, NNTP1, progress, passwords_);
      std::size_t sent = 0;
      for (const TPostingOutcome& outcome : outcomes) sent += outcome.Sent ? 1 : 0;
      if (!outcomes.empty()) {
        hints_->SetCurrentHint(
            ToQ(std::to_string(sent) + " of " + std::to_string(outcomes.size()) + " news postings sent"));
      }
    } catch (const std::exception& e) {  // reading the postings table failed
      ShowError(e.what());
    }
    closeAfterwards = block.CloseRequested();
  }
  actSendNews->setEnabled(true);
  if (closeAfterwards) close();
}

}  // namespace pagolin
