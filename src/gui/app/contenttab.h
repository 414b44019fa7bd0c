// TContentTab: what every content tab of the main window shares. A grid panel holds the table's
// grid; a splitter separates it from the editor panel, whose top strip holds the orientation
// toggle, the navigator (insert, delete, post, cancel) and the tab's own controls; below the
// strip stand the record's editors. Each tab adds its columns, strip controls and editors.
#pragma once

#include <QHBoxLayout>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include "gui/widgets/dbcheckbox.h"
#include "gui/widgets/dbedit.h"
#include "gui/widgets/dbgrid.h"
#include "gui/widgets/dbnavigator.h"
#include "gui/widgets/dbrichedit.h"
#include "gui/widgets/flowlayout.h"

namespace pagolin {

class TDataSource;

// The component names of the shared parts of one tab.
struct TContentTabNames {
  const char* page;       // the tab sheet
  const char* gridPanel;  // the panel around the grid
  const char* splitter;
  const char* editorPanel;  // the panel below (or beside) the splitter
  const char* grid;
  const char* toggle;  // the orientation toggle
  const char* navigator;
};

// The four navigator hints of a tab: insert, delete, post, cancel ("" keeps the default).
struct TNavigatorHints {
  const char* insert;
  const char* remove;
  const char* post;
  const char* cancel;
};

class TContentTab : public QWidget {
  Q_OBJECT

 public:
  // The grid hint shows in the status bar over the grid.
  TContentTab(const TContentTabNames& names, TDataSource& source, const char* gridHint,
              const TNavigatorHints& hints, QWidget* parent);

  // Grid above the editors (at every start) or beside them, left.
  bool GridOnTop() const { return splitter_->orientation() == Qt::Vertical; }
  // The toggle's click: grid above becomes grid left, and back.
  void ToggleOrientation();

  TDBGrid* Grid() const { return grid_; }
  TDBNavigator* Navigator() const { return navigator_; }
  QToolButton* Toggle() const { return toggle_; }
  QSplitter* Splitter() const { return splitter_; }
  QWidget* GridPanel() const { return gridPanel_; }

 protected:
  // The strip's controls, left to right after the navigator (in more rows when narrow).
  TFlowLayout* Strip() const { return strip_; }
  // A grid column; width in the pixels of the small dialog font the widths were chosen for,
  // widened in proportion for the font the grid shows.
  TColumn& AddColumn(const char* field, const QString& caption, int width);
  // The panel of the strip and the editors; a widget laid out on it goes below the rest.
  QWidget* EditorPanel() const { return editorPanel_; }

  // A check box on a logical field, in the strip.
  TDBCheckBox* AddIncludeBox(const char* name, const char* field, const char* hint);
  // A page control below the strip, filling the rest of the editor panel.
  QTabWidget* AddPageControl(const char* name);
  // A page of that control with its caption, its editors laid out top to bottom.
  QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption);
  // A text box on a field, as wide as the strip (panel) it sits in, on the page.
  TDBEdit* AddTitleBox(QWidget* page, const char* panel, const char* name, const char* field);
  // A rich editor on a memo field (plain: plain text), with a vertical scroll bar.
  TDBRichEdit* AddRichEdit(QWidget* page, const char* name, const char* field, bool plain);

 private:
  TDataSource& source_;
  QSplitter* splitter_ = nullptr;
  QWidget* gridPanel_ = nullptr;
  QWidget* editorPanel_ = nullptr;
  TDBGrid* grid_ = nullptr;
  QToolButton* toggle_ = nullptr;
  TDBNavigator* navigator_ = nullptr;
  TFlowLayout* strip_ = nullptr;
  QVBoxLayout* editors_ = nullptr;
  QList<int> otherSizes_;  // the division of the other direction, once it was shown
};

}  // namespace pagolin
