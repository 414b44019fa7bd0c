#include <QHBoxLayout>
#include <QLabel>

#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"
#include "gui/components/hinttracker.h"

namespace pagolin {

TTabPostings::TTabPostings(TDataModule2& dataModule, QWidget* parent)
    : TContentTab({"tbsMailAndNews", "Panel11", "Splitter3", "panPostingsEdit", "DBGrid5", "SpeedButton4",
                   "DBNavigator5"},
                  dataModule.dsNewsPost, "Internet News Upload",
                  {"Add mail/news description", "Delete mail/news description", "Save changes", "Cancel"},
                  parent),
      Panel11(GridPanel()),
      Splitter3(Splitter()),
      DBGrid5(Grid()),
      SpeedButton4(Toggle()),
      DBNavigator5(Navigator()) {
  // A list to choose from: whole rows, no editing, and no filler column.
  DBGrid5->SetOptions(TDBGridOption::dgTitles | TDBGridOption::dgColumnResize | TDBGridOption::dgColLines |
                      TDBGridOption::dgRowLines | TDBGridOption::dgRowSelect);
  DBGrid5->SetReadOnly(true);
  AddColumn("Send", {}, 48);
  AddColumn("Date sent", {}, 182);
  AddColumn("Subject", {}, 207);
  AddColumn("Newsgroups", {}, 600);

  dbcbxInclude = AddIncludeBox("dbcbxInclude", "Send", "");
  connect(dbcbxInclude, &TDBCheckBox::Click, this, &TTabPostings::dbcbxIncludeClick);

  // Where the posting goes; a posting added here has no other place to get its groups.
  auto* groups = new QWidget(EditorPanel());
  groups->setObjectName(QStringLiteral("panNewsgroups"));
  auto* row = new QHBoxLayout(groups);
  row->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(QStringLiteral("Newsgroups:"), groups);
  DBEdit15 = new TDBEdit(groups);
  DBEdit15->setObjectName(QStringLiteral("DBEdit15"));
  DBEdit15->setMinimumWidth(DBEdit15->fontMetrics().averageCharWidth() * 40);
  caption->setBuddy(DBEdit15);
  SetHint(groups, QStringLiteral("Newsgroups of this posting, separated by commas"));
  DBEdit15->SetDataSource(&dataModule.dsNewsPost);
  DBEdit15->SetDataField("Newsgroups");
  row->addWidget(caption);
  row->addWidget(DBEdit15, 1);
  Strip()->addWidget(groups);

  PageControl1 = AddPageControl("PageControl1");
  QWidget* page = AddPage(PageControl1, "tbsNewsPost", "News Posting");
  DBEdit14 = AddTitleBox(page, "Panel6", "DBEdit14", "Subject");
  Panel6 = DBEdit14->parentWidget();
  DBRichEdit3 = AddRichEdit(page, "DBRichEdit3", "Body", true);
  // Lines of a posting stay as they are typed: both scroll bars, no wrapping.
  DBRichEdit3->setLineWrapMode(QTextEdit::NoWrap);
  DBRichEdit3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TTabPostings::dbcbxIncludeClick() { DBGrid5->viewport()->update(); }

}  // namespace pagolin
