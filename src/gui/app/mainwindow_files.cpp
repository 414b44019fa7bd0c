// The file cells of the products and links grids: their ellipsis button chooses a file, which
// the build finds by its bare name in the output folder (a file from elsewhere is copied there
// when the person agrees, core/pages/outputfile.h).
#include <QFile>
#include <exception>

#include "core/data/settings.h"
#include "core/pages/outputfile.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/components/nvbfbtn.h"
#include "gui/components/qtext.h"

namespace pagolin {

namespace {

// The file systems here tell upper from lower case, so each pattern comes in both.
constexpr const char* kImageFilter = "GIF image files|*.GIF;*.gif|JPG image files|*.JPG;*.jpg|All files|*.*";
constexpr const char* kArchiveFilter = "ZIP archive files|*.ZIP;*.zip|Applications|*.EXE;*.exe|All files|*.*";

}  // namespace

void TForm1::WireFileCommands() {
  for (TDBGrid* grid : {tbsProducts->DBGrid2, tbsCoolLinks->DBGrid3})
    connect(grid, &TDBGrid::EditButtonClick, this, [this, grid] { DBGrid2EditButtonClick(grid); });
}

QFileDialog* TForm1::OpenDialog() {
  // Made at its first use: a file dialog costs a noticeable part of the window's start.
  if (!OpenDialog1) {
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  }
  return OpenDialog1;
}

void TForm1::DBGrid2EditButtonClick(TDBGrid* grid) {
  TField* field = grid->SelectedField();
  if (!field) return;
  QFileDialog* dialog = OpenDialog();
  const bool image = field->FieldName() == "Image" || field->FieldName() == "Screenshot";
  SetDialogFilter(dialog, image ? kImageFilter : kArchiveFilter);
  const std::string outputFolder = TextPath(settings_.OutputFolder());
  dialog->setDirectory(QFile::decodeName(outputFolder.c_str()));
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return;

  const std::string chosen = QFile::encodeName(dialog->selectedFiles().first()).toStdString();
  const std::optional<std::string> name = OutputFileName(chosen, outputFolder);
  if (!name) return;  // the copy failed and was reported: nothing is stored
  // A failure to store reaches the standard error box; the record keeps what was set.
  if (!grid->EnterEditState()) return;
  try {
    field->SetAsString(PathText(*name));
    grid->DataSource()->DataSet()->Post();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

}  // namespace pagolin
