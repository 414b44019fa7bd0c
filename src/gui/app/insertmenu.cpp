#include "gui/app/insertmenu.h"

#include <QColorDialog>
#include <QMenu>

#include "core/pages/colorcode.h"
#include "core/pages/insertitems.h"
#include "core/platform/dberror.h"
#include "core/platform/hooks.h"
#include "core/platform/ttable.h"
#include "gui/components/hinttracker.h"
#include "gui/components/nvrichpop.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richedit.h"

namespace pagolin {

TInsertMenu::TInsertMenu(TNVRichPop& menu, TTable& tblCodes, QWidget* owner)
    : QObject(owner), menu_(menu), tblCodes_(tblCodes) {
  ColorDialog1 = new QColorDialog(owner);
  ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));

  Insertcolorcode1 = menu.addAction(QStringLiteral("Insert color code..."));
  Insertcolorcode1->setObjectName(QStringLiteral("Insertcolorcode1"));
  connect(Insertcolorcode1, &QAction::triggered, this, &TInsertMenu::Insertcolorcode1Click);

  ScriptVariables1 = menu.addMenu(QStringLiteral("HTML script Variables"));
  ScriptVariables1->setObjectName(QStringLiteral("ScriptVariables1"));
  ScriptVariables1->menuAction()->setObjectName(QStringLiteral("ScriptVariables1"));
  for (const TPlaceholderItem& item : PlaceholderItems()) {
    QAction* action = ScriptVariables1->addAction(QString::fromLatin1(item.Caption));
    action->setObjectName(QString::fromLatin1(item.Name));
    const QString text = QString::fromLatin1(item.Inserts);
    connect(action, &QAction::triggered, this, [this, text] { InsertIntoCodeEditor(text); });
    placeholders_.push_back(action);
  }

  Globalscriptvariables1 = menu.addMenu(QStringLiteral("Global script variables"));
  Globalscriptvariables1->setObjectName(QStringLiteral("Globalscriptvariables1"));
  Globalscriptvariables1->menuAction()->setObjectName(QStringLiteral("Globalscriptvariables1"));
  // A highlighted variable item shows its placeholder in the status bar.
  connect(Globalscriptvariables1, &QMenu::hovered, this,
          [](QAction* item) { THintTracker::Application()->SetCurrentHint(item->statusTip()); });

  menu.addSeparator()->setObjectName(QStringLiteral("N4"));
  connect(&menu, &TNVRichPop::OnPopup, this, &TInsertMenu::NVRichPop1Popup);
}

void TInsertMenu::FillGlobalVariables() {
  std::vector<TVariableItem> items;
  try {
    if (tblCodes_.Active()) items = VariableItems(tblCodes_);
  } catch (const EDatabaseError& e) {
    ShowError(e.what());
  }
  for (const TVariableItem& item : items) {
    QAction* action = Globalscriptvariables1->addAction(ToQ(item.Caption));
    action->setStatusTip(ToQ(item.Hint));
    connect(action, &QAction::triggered, this, [this, action] { InsertVariableCode(action); });
  }
}

void TInsertMenu::NVRichPop1Popup() {
  if (menu_.Target() == nullptr || menu_.Target() != static_cast<TRichEditTarget*>(codeEditor_.data())) {
    ScriptVariables1->setEnabled(false);
    return;
  }
  std::string name;
  try {
    if (tblCodes_.Active() && !tblCodes_.IsEmpty()) name = tblCodes_.FieldByName("Name").AsString();
  } catch (const EDatabaseError&) {
    // No code to judge by: the placeholders stay unavailable.
  }
  ScriptVariables1->setEnabled(PlaceholdersEnabled(name));
  for (size_t i = 0; i < placeholders_.size(); ++i)
    placeholders_[i]->setVisible(PlaceholderShown(PlaceholderItems()[i], name));
}

void TInsertMenu::InsertVariableCode(QAction* item) {
  if (TRichEditTarget* target = menu_.Target()) target->InsertText(item->statusTip());
}

void TInsertMenu::Insertcolorcode1Click() {
  if (ColorDialog1->exec() != QDialog::Accepted) return;
  const QColor c = ColorDialog1->selectedColor();
  const auto colorRef = static_cast<std::uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
  InsertIntoCodeEditor(ToQ(HtmlColorCode(colorRef)));
}

void TInsertMenu::InsertIntoCodeEditor(const QString& text) {
  if (codeEditor_) codeEditor_->InsertText(text);
}

}  // namespace pagolin
