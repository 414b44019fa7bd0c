// TNVBFBtn: the small "..." button beside an edit field. A click runs its file-open dialog,
// starting in the folder of the field's text (a bare file name keeps the folder the owner gave
// the dialog, for example in OnClick), and writes the chosen file's full name, its folder or its
// bare name back into the field.
#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <functional>

#include "gui/components/componenterror.h"

namespace pagolin {

enum class TBFOptions { folderAndFilename, folderOnly, fileNameOnly };

// What a data-aware edit offers the button: its data set is put into the edit state before
// the text is set, so the change reaches the record.
class IDataAwareEdit {
 public:
  virtual ~IDataAwareEdit() = default;
  virtual bool DataSetInEditState() const = 0;
  virtual void EditDataSet() = 0;
  virtual void SetEditText(const QString& text) = 0;
};

// The filter in its stored form ("HTML files|*.htm;*.html|All files|*.*") as name filters of
// a QFileDialog, which shows only the descriptions.
QStringList DialogNameFilters(const char* filter);
void SetDialogFilter(QFileDialog* dialog, const char* filter);

class TNVBFBtn : public QPushButton {
  Q_OBJECT

 public:
  explicit TNVBFBtn(QWidget* parent = nullptr);

  // The dialog to run; required: a dialog, or a maker of it that runs at the dialog's first use
  // (a file dialog is costly to build, and most sessions never open it).
  QFileDialog* OpenDialog();
  void SetOpenDialog(QFileDialog* dialog) { openDialog_ = dialog; }
  void SetOpenDialog(std::function<QFileDialog*()> make) { makeOpenDialog_ = std::move(make); }
  // The field that is read and written: a QLineEdit or an IDataAwareEdit; required.
  QWidget* Editfield() const { return editfield_; }
  void SetEditfield(QWidget* field) {
    if (field != editfield_) editfield_ = field;
  }
  TBFOptions FilenameOptions() const { return options_; }
  void SetFilenameOptions(TBFOptions options) { options_ = options; }

  // Checks the configuration once the owner has set the properties. Throws
  // EComponentError "Property 'OpenDialog' undefined in TNVBFBtn <name>" (then the same
  // for 'Editfield') when one is missing.
  void Loaded();

  // The click: OnClick first, then the dialog; see the file comment. Also runs on clicked().
  void Click();

 signals:
  void OnClick();

 private:
  QString FieldText() const;
  QPointer<QFileDialog> openDialog_;
  std::function<QFileDialog*()> makeOpenDialog_;
  QPointer<QWidget> editfield_;
  TBFOptions options_ = TBFOptions::folderAndFilename;
};

}  // namespace pagolin
