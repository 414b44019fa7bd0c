// TDBMemo: a plain-text editor on a memo field of the current record (the binding rules are in
// dbbinding.h). The field keeps CR LF line breaks; the editor shows them as lines.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "gui/widgets/dbbinding.h"

namespace pagolin {

// The memo's stored text and the editor's text (CR LF <-> LF).
QString MemoToEditorText(const std::string& stored);
std::string EditorTextToMemo(const QString& text);

class TDBMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TDBMemo(QWidget* parent = nullptr);

  void SetDataSource(TDataSource* source) { binding_->DataLink().SetDataSource(source); }
  TDataSource* DataSource() const { return binding_->DataLink().DataSource(); }
  void SetDataField(const std::string& name) { binding_->DataLink().SetFieldName(name); }
  const std::string& DataField() const { return binding_->DataLink().FieldName(); }
  void SetReadOnly(bool readOnly) { binding_->DataLink().SetReadOnly(readOnly); }
  bool ReadOnly() const { return binding_->DataLink().ReadOnly(); }
  TField* Field() const { return binding_->DataLink().Field(); }
  TDBFieldBinding* Binding() const { return binding_; }

 private:
  TDBFieldBinding* binding_;
};

}  // namespace pagolin
