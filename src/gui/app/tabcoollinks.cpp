#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"

namespace pagolin {

TTabCoolLinks::TTabCoolLinks(TDataModule2& dataModule, QWidget* parent)
    : TContentTab(
          {"tbsCoolLinks", "Panel10", "Splitter1", "panLinksEdit", "DBGrid3", "SpeedButton3", "DBNavigator3"},
          dataModule.dsLinks, "Cool links for your web page",
          {"Add link description", "Delete link description", "Save changes", "Cancel"}, parent),
      Panel10(GridPanel()),
      Splitter1(Splitter()),
      DBGrid3(Grid()),
      SpeedButton3(Toggle()),
      DBNavigator3(Navigator()) {
  AddColumn("Category", {}, 105)
      .SetPickList({QStringLiteral("CASE"), QStringLiteral("Components"), QStringLiteral("Developer tools"),
                    QStringLiteral("Documentation"), QStringLiteral("Internet"),
                    QStringLiteral("Multimedia")});
  AddColumn("Name", {}, 171);
  AddColumn("URL", {}, 236);
  AddColumn("Image", {}, 288).SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
  Grid()->AddColumn("", {}, 1200);

  DBCheckBox3 = AddIncludeBox("DBCheckBox3", "Include", "Include this link in your web page");

  PageControl5 = AddPageControl("PageControl5");
  DBRichEdit5 =
      AddRichEdit(AddPage(PageControl5, "tbsCoolLinks1", "English"), "DBRichEdit5", "Description 1", false);
  DBRichEdit6 =
      AddRichEdit(AddPage(PageControl5, "tbsCoolLinks2", "Alternate"), "DBRichEdit6", "Description 2", false);
}

}  // namespace pagolin
