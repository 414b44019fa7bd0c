// TdlgNewDatabase: "Create new database". The user ticks the content tables to empty and
// confirms; the data module empties them. The codes table (templates and variables) is never
// offered.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pagolin {

class TDataModule2;

class TdlgNewDatabase : public QDialog {
  Q_OBJECT
 public:
  // dataModule: the site's tables, which outlive the dialog.
  explicit TdlgNewDatabase(TDataModule2& dataModule, QWidget* parent = nullptr);

  // Each showing: every box cleared, so "Clear tables" is disabled.
  void FormShow();
  // All four boxes: "Clear tables" is enabled exactly while a box is ticked.
  void CheckBox1Click();
  // "Clear tables": asks, and on OK empties the ticked tables; the dialog closes either way. A
  // table that cannot be emptied is reported in the error box.
  void Button2Click();

  QLabel* Label1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // Products
  QCheckBox* CheckBox2 = nullptr;  // Hot News
  QCheckBox* CheckBox3 = nullptr;  // Cool Links
  QCheckBox* CheckBox4 = nullptr;  // Internet News (the postings)
  QPushButton* Button1 = nullptr;  // Cancel, the default button
  QPushButton* Button2 = nullptr;  // Clear tables

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TDataModule2& dataModule_;
};

}  // namespace pagolin
