#include "gui/components/nvbfbtn.h"

#include <QLineEdit>
#include <stdexcept>
#include <utility>

#include "core/platform/filefilter.h"
#include "core/platform/filenames.h"
#include "gui/components/qtext.h"

namespace pagolin {

QStringList DialogNameFilters(const char* filter) {
  QStringList filters;
  for (const TFileFilter& f : ParseFileFilter(filter)) {
    QStringList patterns;
    // "*.*" means every file; the dialog would otherwise hide the files without an extension.
    for (const std::string& p : f.patterns) patterns << (p == "*.*" ? QStringLiteral("*") : ToQ(p));
    // The dialog reads the patterns from the last parentheses and shows the rest.
    filters << ToQ(f.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

void SetDialogFilter(QFileDialog* dialog, const char* filter) {
  dialog->setOption(QFileDialog::HideNameFilterDetails, true);
  dialog->setNameFilters(DialogNameFilters(filter));
}

TNVBFBtn::TNVBFBtn(QWidget* parent) : QPushButton(QStringLiteral("..."), parent) {
  connect(this, &QPushButton::clicked, this, &TNVBFBtn::Click);
}

void TNVBFBtn::Loaded() {
  const std::string where = std::string(" undefined in TNVBFBtn ") + FromQ(objectName());
  if (!openDialog_ && !makeOpenDialog_) throw EComponentError("Property 'OpenDialog'" + where);
  if (!editfield_) throw EComponentError("Property 'Editfield'" + where);
}

QString TNVBFBtn::FieldText() const {
  if (auto* edit = qobject_cast<QLineEdit*>(editfield_.data())) return edit->text();
  return editfield_ ? editfield_->property("text").toString() : QString();
}

QFileDialog* TNVBFBtn::OpenDialog() {
  if (!openDialog_ && makeOpenDialog_) openDialog_ = std::exchange(makeOpenDialog_, nullptr)();
  return openDialog_;
}

void TNVBFBtn::Click() {
  emit OnClick();
  if (!OpenDialog()) return;
  // The folder of the field's text; a bare name (or nothing) leaves the folder the owner set.
  const QString folder = ToQ(ExtractFilePath(FromQ(FieldText())));
  if (!folder.isEmpty()) openDialog_->setDirectory(folder);
  if (openDialog_->exec() != QDialog::Accepted) return;
  const QStringList chosen = openDialog_->selectedFiles();
  if (chosen.isEmpty()) return;
  const std::string file = FromQ(chosen.first());
  std::string value = file;
  if (options_ == TBFOptions::folderOnly) value = ExtractFilePath(file);
  if (options_ == TBFOptions::fileNameOnly) value = ExtractFileName(file);

  if (auto* dataAware = dynamic_cast<IDataAwareEdit*>(editfield_.data())) {
    if (!dataAware->DataSetInEditState()) dataAware->EditDataSet();
    dataAware->SetEditText(ToQ(value));
  } else if (auto* edit = qobject_cast<QLineEdit*>(editfield_.data())) {
    edit->setText(ToQ(value));
  }
  // Any other kind of field: the value is dropped.
}

}  // namespace pagolin
