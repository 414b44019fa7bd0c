// The five content tabs of the main window, one class each, their controls under their
// component names. Each is built on its table's data source; the commands that need the
// window (the file choice of the grids, copying news to the postings) are wired by it.
#pragma once

#include <QPushButton>

#include "gui/app/contenttab.h"
#include "gui/widgets/datetimepicker.h"
#include "gui/widgets/dbedit.h"

namespace pagolin {

class TDataModule2;

// "Products": name, category, download file and screenshot, a description per language.
class TTabProducts : public TContentTab {
 public:
  TTabProducts(TDataModule2& dataModule, QWidget* parent);
  void SpeedButton1Click() { ToggleOrientation(); }

  QWidget* Panel8;
  QSplitter* Splitter2;
  TDBGrid* DBGrid2;
  QToolButton* SpeedButton1;
  TDBNavigator* DBNavigator2;
  TDBCheckBox* DBCheckBox1;
  QTabWidget* PageControl4;
  TDBRichEdit* dbrDescription;  // "Description 1"
  TDBRichEdit* DBRichEdit4;     // "Description 2"
};

// "Hot News": the release date, a title and a body per language. The date is kept by a hidden
// text box on "Date", which sets the picker, and the picker, which stores a picked date at once.
class TTabHotNews : public TContentTab {
 public:
  TTabHotNews(TDataModule2& dataModule, QWidget* parent);
  void SpeedButton2Click() { ToggleOrientation(); }
  // The person picked a release date: stored and posted at once.
  void DateTimePicker1Change();
  // The date box's text changed (another record, or a new date): the picker shows the stored
  // date, or the current date and time when the field holds no date; the field keeps its value.
  void DBEdit3Change();

  QWidget* Panel9;
  QSplitter* Splitter6;
  TDBGrid* DBGrid1;
  QToolButton* SpeedButton2;
  TDBNavigator* DBNavigator1;
  TDBCheckBox* DBCheckBox2;
  TDateTimePicker* DateTimePicker1;
  TDBEdit* DBEdit3;  // hidden
  QPushButton* btnCopyToNews;
  QTabWidget* pgcHotNews;
  QWidget* panNewsE;
  TDBEdit* DBEdit1;  // "News Title 1"
  TDBRichEdit* DBRichEdit1;
  QWidget* panNewsD;
  TDBEdit* DBEdit2;  // "News Title 2"
  TDBRichEdit* DBRichEdit2;

 private:
  TTable& tblNews_;
};

// "Cool Links": category, name, URL and image, a description per language.
class TTabCoolLinks : public TContentTab {
 public:
  TTabCoolLinks(TDataModule2& dataModule, QWidget* parent);
  void SpeedButton3Click() { ToggleOrientation(); }

  QWidget* Panel10;
  QSplitter* Splitter1;
  TDBGrid* DBGrid3;
  QToolButton* SpeedButton3;
  TDBNavigator* DBNavigator3;
  TDBCheckBox* DBCheckBox3;
  QTabWidget* PageControl5;
  TDBRichEdit* DBRichEdit5;  // "Description 1"
  TDBRichEdit* DBRichEdit6;  // "Description 2"
};

// "Newsgroup Postings": a read-only list of whole rows, the subject and the plain body. The
// send box can be ticked only while the posting is unsent.
class TTabPostings : public TContentTab {
 public:
  TTabPostings(TDataModule2& dataModule, QWidget* parent);
  void SpeedButton4Click() { ToggleOrientation(); }
  // The send box was clicked: the grid shows the new value at once.
  void dbcbxIncludeClick();

  QWidget* Panel11;
  QSplitter* Splitter3;
  TDBGrid* DBGrid5;
  QToolButton* SpeedButton4;
  TDBNavigator* DBNavigator5;
  TDBCheckBox* dbcbxInclude;
  TDBEdit* DBEdit15;  // "Newsgroups"
  QTabWidget* PageControl1;
  QWidget* Panel6;
  TDBEdit* DBEdit14;         // "Subject"
  TDBRichEdit* DBRichEdit3;  // "Body", plain text
};

// "HTML codes": the named pieces of HTML and the variables, edited as plain text.
class TTabCodes : public TContentTab {
 public:
  TTabCodes(TDataModule2& dataModule, QWidget* parent);
  void SpeedButton5Click() { ToggleOrientation(); }

  QWidget* Panel12;
  QSplitter* Splitter5;
  TDBGrid* DBGrid4;
  QToolButton* SpeedButton5;
  TDBNavigator* DBNavigator4;
  TDBRichEdit* DBRichEdit7;  // "Code", plain text
};

}  // namespace pagolin
