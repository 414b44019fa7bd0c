// TInsertMenu: the main window's own items at the head of the rich editors' popup menu, which
// type template text: "Insert color code..." (into the HTML code editor), "HTML script
// Variables" (the row placeholders, into the HTML code editor, while a row template is edited)
// and "Global script variables" (one item per variable, into the editor the menu was opened on).
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "gui/widgets/richedit.h"

class QAction;
class QColorDialog;
class QMenu;

namespace pagolin {

class TNVRichPop;

class TTable;

class TInsertMenu : public QObject {
  Q_OBJECT

 public:
  // Adds the items to menu, which must not be Loaded() yet; tblCodes is the codes table, whose
  // current Name tells which placeholders belong to the template being edited.
  TInsertMenu(TNVRichPop& menu, TTable& tblCodes, QWidget* owner);

  // The editor of the codes' Code field (DBRichEdit7), the target of the colour code and the
  // placeholders.
  void SetCodeEditor(TRichEdit* editor) { codeEditor_ = editor; }

  // Fills "Global script variables" from the variable codes (once per run). A database error
  // reaches the standard error box and leaves the submenu empty.
  void FillGlobalVariables();

  // The menu's popup event: the placeholders are offered only on the code editor, for the row
  // template it shows.
  void NVRichPop1Popup();
  // An item of "Global script variables": its placeholder into the editor the menu was opened on.
  void InsertVariableCode(QAction* item);
  // "Insert color code...": the colour dialog, then the colour's code into the code editor.
  void Insertcolorcode1Click();

  QAction* Insertcolorcode1 = nullptr;
  QMenu* ScriptVariables1 = nullptr;
  QMenu* Globalscriptvariables1 = nullptr;
  QColorDialog* ColorDialog1 = nullptr;

 private:
  void InsertIntoCodeEditor(const QString& text);

  TNVRichPop& menu_;
  TTable& tblCodes_;
  QPointer<TRichEdit> codeEditor_;
  std::vector<QAction*> placeholders_;  // in the order of PlaceholderItems()
};

}  // namespace pagolin
