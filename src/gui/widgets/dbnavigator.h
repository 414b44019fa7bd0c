// TDBNavigator: a row of buttons that move through a data source's records and insert,
// delete, edit, post, cancel and refresh. Each button is enabled as the data set's state
// allows (core/platform/dbnavigation.h); delete asks "Delete record?" unless ConfirmDelete is
// off. A failing action shows its error and leaves the data set and the controls as they were.
// The buttons carry the names nbFirst ... nbRefresh and show their hints in the status bar.
#pragma once

#include <QToolButton>
#include <QWidget>
#include <array>
#include <set>

#include "core/platform/datasourcelink.h"
#include "core/platform/dbnavigation.h"

namespace pagolin {

class TDBNavigator : public QWidget {
  Q_OBJECT

 public:
  explicit TDBNavigator(QWidget* parent = nullptr);

  void SetDataSource(TDataSource* source);
  TDataSource* DataSource() const { return link_.Source(); }

  // The buttons shown, in their fixed order (all by default).
  void SetVisibleButtons(const std::set<TNavigateBtn>& buttons);
  // A button's hint; an empty text gives back its default hint ("Insert record", ...).
  void SetHint(TNavigateBtn button, const QString& hint);
  QString Hint(TNavigateBtn button) const;
  void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }
  bool ConfirmDelete() const { return confirmDelete_; }

  QToolButton* Button(TNavigateBtn button) const { return buttons_[static_cast<size_t>(button)]; }
  // Acts as a click on the button (when it is enabled).
  void BtnClick(TNavigateBtn button);

 signals:
  void Click(pagolin::TNavigateBtn button);  // OnClick, after the action

 private:
  void UpdateButtons();

  TDataSourceLink link_;
  bool confirmDelete_ = true;
  std::array<QToolButton*, kAllNavigateBtns.size()> buttons_{};
};

}  // namespace pagolin
