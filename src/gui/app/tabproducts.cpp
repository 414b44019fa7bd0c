#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"

namespace pagolin {

TTabProducts::TTabProducts(TDataModule2& dataModule, QWidget* parent)
    : TContentTab({"tbsProducts", "Panel8", "Splitter2", "panProductsEdit", "DBGrid2", "SpeedButton1",
                   "DBNavigator2"},
                  dataModule.dsProducts, "Product Information and files for your web page",
                  {"Add product description", "Delete product description", "Save changes", "Cancel"},
                  parent),
      Panel8(GridPanel()),
      Splitter2(Splitter()),
      DBGrid2(Grid()),
      SpeedButton1(Toggle()),
      DBNavigator2(Navigator()) {
  AddColumn("Name", QStringLiteral("Product Name"), 163);
  AddColumn("Category", QStringLiteral("Product Category"), 160)
      .SetPickList(
          {QStringLiteral("Application"), QStringLiteral("Component"), QStringLiteral("Component Package")});
  AddColumn("Download Area Filename", {}, 130).SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
  AddColumn("Screenshot", {}, 130).SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
  Grid()->AddColumn("", {}, 1200);

  DBCheckBox1 = AddIncludeBox("DBCheckBox1", "Include", "Include this product in the web page");

  PageControl4 = AddPageControl("PageControl4");
  dbrDescription =
      AddRichEdit(AddPage(PageControl4, "tbsProducts1", "English"), "dbrDescription", "Description 1", false);
  DBRichEdit4 =
      AddRichEdit(AddPage(PageControl4, "tbsProducts2", "Alternate"), "DBRichEdit4", "Description 2", false);
}

}  // namespace pagolin
