#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"

namespace pagolin {

TTabCodes::TTabCodes(TDataModule2& dataModule, QWidget* parent)
    : TContentTab(
          {"tbsCodes", "Panel12", "Splitter5", "panCodesEdit", "DBGrid4", "SpeedButton5", "DBNavigator4"},
          dataModule.dsCodes, "The HTML codes used by Pagolin - enter on your own risk :*)",
          {"", "", "Save changes", "Cancel"}, parent),
      Panel12(GridPanel()),
      Splitter5(Splitter()),
      DBGrid4(Grid()),
      SpeedButton5(Toggle()),
      DBNavigator4(Navigator()) {
  AddColumn("Name", {}, 98);
  AddColumn("Type", {}, 102)
      .SetPickList({QStringLiteral("Data"), QStringLiteral("Page"), QStringLiteral("Section"),
                    QStringLiteral("Variable")});
  AddColumn("Description 1", {}, 212);
  AddColumn("Description 2", QStringLiteral("Description Alternate"), 262);
  Grid()->AddColumn("", {}, 1200);
  DBNavigator4->setFixedWidth(100);
  DBRichEdit7 = AddRichEdit(EditorPanel(), "DBRichEdit7", "Code", true);
}

}  // namespace pagolin
