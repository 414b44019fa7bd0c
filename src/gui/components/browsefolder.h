// TBrowseFolder: the folder dialog as a component. It preselects a folder, centres itself over
// the active window, shows the current selection shortened in its status line, can add one
// extra push button or check box, and reports the chosen folder. The dialog itself is our own
// (a tree of the file system's folders), built anew for each Execute.
#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractButton;
class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace pagolin {

enum class TBrowseInfoFlags {
  bfFileSysDirsOnly = 0x1,
  bfDontGoBelowDomain = 0x2,
  bfStatusText = 0x4,
  bfFileSysAncestors = 0x8,
  bfBrowseForComputer = 0x1000,
  bfBrowseForPrinter = 0x2000,
};
using TBrowseInfoFlagSet = unsigned;  // OR of TBrowseInfoFlags
constexpr TBrowseInfoFlagSet operator|(TBrowseInfoFlags a, TBrowseInfoFlags b) {
  return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}

// Roots of the tree. Those without a folder of their own on this system (control panel,
// printers, network, recycle bin...) show the whole tree, like foDesktopExpanded.
enum class TSHFolders {
  foDesktop,
  foDesktopExpanded,
  foPrograms,
  foControlPanel,
  foPrinters,
  foPersonal,
  foFavorites,
  foStartup,
  foRecent,
  foSendto,
  foRecycleBin,
  foStartMenu,
  foDesktopDirectory,
  foMyComputer,
  foNetwork,
  foNetworkNeighborhood,
  foFonts,
  foTemplates
};

enum class TCustomButtonType { btPushButton, btCheckBox };

class TBrowseFolder : public QObject {
  Q_OBJECT

 public:
  static constexpr int kStatusPathLength = 35;
  static constexpr int kCustomButtonId = 255;

  explicit TBrowseFolder(QObject* owner = nullptr);
  ~TBrowseFolder() override;

  // Runs the dialog modally; true when the user chose a folder, which is then Directory.
  // Cancel returns false and leaves Directory as it was.
  bool Execute();

  QString Directory;  // in: folder to preselect (when it exists); out: the chosen folder
  QString Title;      // text above the tree
  TBrowseInfoFlagSet Flags =
      TBrowseInfoFlags::bfFileSysDirsOnly | TBrowseInfoFlags::bfStatusText;  // bfStatusText: a status line
  bool ShowPathInStatusArea = false;
  TSHFolders RootFolder = TSHFolders::foDesktopExpanded;
  bool CustomButtonVisible = false;
  TCustomButtonType CustomButtonType = TCustomButtonType::btPushButton;
  bool CustomButtonChecked = false;  // in and out, for a check box
  bool SyncCustomButton = false;     // enabled exactly when the selection is a folder

  bool CustomButtonEnabled() const { return customEnabled_; }
  void SetCustomButtonEnabled(bool enabled);  // also the live button
  QString CustomButtonCaption() const { return customCaption_; }
  void SetCustomButtonCaption(const QString& caption);  // also the live button
  int CustomButtonWidth() const { return customWidth_; }
  void SetCustomButtonWidth(int width) { customWidth_ = width > 0 ? width : 75; }

  // An explicit parent window; when unset (or gone) the owner's window, else the active one.
  void SetParentWindow(QWidget* parent) { explicitParent_ = parent; }
  // The path of the current selection ("" when it has none); valid while the dialog is up.
  const QString& SelectionPath() const { return selectionPath_; }
  // The dialog while it is up, nullptr otherwise.
  QDialog* DialogHandle() const { return dialog_; }

  // The root folder's path for a root ("" for the whole tree).
  static QString RootPath(TSHFolders root);

 signals:
  void OnInitialized(TBrowseFolder* sender, QDialog* dialog);
  void OnSelectionChanged(TBrowseFolder* sender, QDialog* dialog, const QModelIndex& item,
                          const QString& directory);
  void OnCustomButtonClick(TBrowseFolder* sender, QDialog* dialog);

 private:
  QWidget* ParentWindow() const;
  void BuildDialog(QWidget* parent);
  void Centre();
  void SelectionChanged(const QModelIndex& current);

  bool customEnabled_ = true;
  QString customCaption_;
  int customWidth_ = 75;
  QPointer<QWidget> explicitParent_;
  QString selectionPath_;

  // Live while Execute runs.
  QPointer<QDialog> dialog_;
  QFileSystemModel* model_ = nullptr;
  QTreeView* tree_ = nullptr;
  QLabel* status_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QAbstractButton* customButton_ = nullptr;
};

}  // namespace pagolin
