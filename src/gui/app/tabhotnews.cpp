#include "core/data/datamod.h"
#include "core/platform/datetime.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/components/hinttracker.h"
#include "gui/components/qtext.h"

namespace pagolin {

namespace {

// As wide as the widest release date the grid shows in the locale's short date and time (any
// month and weekday, a two-digit day and hour), with the cell's margins.
int DateColumnWidth(const QFontMetrics& metrics) {
  const TFormatSettings& fs = FormatSettings();
  int widest = metrics.horizontalAdvance(QStringLiteral("Date"));
  for (int month = 1; month <= 12; ++month)
    for (int day = 22; day <= 28; ++day)
      for (int hour : {10, 22}) {
        const TDateTime value = EncodeDateTime({2000, month, day, hour, 58, 58, 0});
        const std::string text =
            FormatDateTime(fs.ShortDateFormat, value) + " " + FormatDateTime(fs.ShortTimeFormat, value);
        widest = std::max(widest, metrics.horizontalAdvance(ToQ(text)));
      }
  return widest + 16;
}

}  // namespace

TTabHotNews::TTabHotNews(TDataModule2& dataModule, QWidget* parent)
    : TContentTab(
          {"tbsHotNews", "Panel9", "Splitter6", "panNewsEdit", "DBGrid1", "SpeedButton2", "DBNavigator1"},
          dataModule.dsNews, "Hot news for your web page",
          {"Add news", "Delete news", "Save changes", "Cancel"}, parent),
      Panel9(GridPanel()),
      Splitter6(Splitter()),
      DBGrid1(Grid()),
      SpeedButton2(Toggle()),
      DBNavigator1(Navigator()),
      tblNews_(dataModule.tblNews) {
  Grid()->AddColumn("Date", {}, DateColumnWidth(Grid()->fontMetrics())).SetReadOnly(true);
  AddColumn("News Title 1", {}, 230);
  AddColumn("News Title 2", QStringLiteral("News Title Alternate"), 230);
  Grid()->AddColumn("", {}, 1200);

  DBCheckBox2 = AddIncludeBox("DBCheckBox2", "Include", "Include this news in your web page");
  DateTimePicker1 = new TDateTimePicker(EditorPanel());
  DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
  SetHint(DateTimePicker1, QStringLiteral("Release date"));
  Strip()->addWidget(DateTimePicker1);
  DBEdit3 = new TDBEdit(EditorPanel());
  DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
  DBEdit3->hide();
  btnCopyToNews = new QPushButton(QStringLiteral("Copy to newsgroups"), EditorPanel());
  btnCopyToNews->setObjectName(QStringLiteral("btnCopyToNews"));
  SetHint(btnCopyToNews, QStringLiteral("Add this news to 'Newsgroup Postings'"));
  Strip()->addWidget(btnCopyToNews);
  connect(DBEdit3, &TDBEdit::Change, this, &TTabHotNews::DBEdit3Change);
  connect(DateTimePicker1, &TDateTimePicker::Change, this, &TTabHotNews::DateTimePicker1Change);
  DBEdit3->SetDataSource(&dataModule.dsNews);
  DBEdit3->SetDataField("Date");

  pgcHotNews = AddPageControl("pgcHotNews");
  QWidget* page1 = AddPage(pgcHotNews, "tbsHotNews1", "English");
  DBEdit1 = AddTitleBox(page1, "panNewsE", "DBEdit1", "News Title 1");
  panNewsE = DBEdit1->parentWidget();
  DBRichEdit1 = AddRichEdit(page1, "DBRichEdit1", "News Body 1", false);
  QWidget* page2 = AddPage(pgcHotNews, "tbsHotNews2", "Alternate");
  DBEdit2 = AddTitleBox(page2, "panNewsD", "DBEdit2", "News Title 2");
  panNewsD = DBEdit2->parentWidget();
  DBRichEdit2 = AddRichEdit(page2, "DBRichEdit2", "News Body 2", false);
}

void TTabHotNews::DateTimePicker1Change() {
  // A failed post reaches the standard error box; the picker keeps the date picked.
  try {
    if (tblNews_.State() == TDataSetState::dsBrowse) tblNews_.Edit();
    tblNews_.FieldByName("Date").SetAsDateTime(DateTimePicker1->Date());
    tblNews_.Post();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TTabHotNews::DBEdit3Change() {
  // The stored date itself: the box's text is in the locale's short date, which need not read
  // back as a date ("10 Mar 2026", "2026. 03. 10."), and the picker would show today, from
  // where one key would overwrite the date. Only a text that is no stored date is parsed.
  const TField* field = DBEdit3->Field();
  TDateTime value = field ? field->AsDateTime() : 0;
  if (value == 0 && !TryStrToDateTime(FromQ(DBEdit3->text()), value)) value = Now();
  DateTimePicker1->SetDateTime(value);
}

}  // namespace pagolin
