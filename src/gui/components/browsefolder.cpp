#include "gui/components/browsefolder.h"

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/platform/filenames.h"
#include "core/platform/shortpath.h"
#include "gui/components/qtext.h"

namespace pagolin {

TBrowseFolder::TBrowseFolder(QObject* owner) : QObject(owner) {}

TBrowseFolder::~TBrowseFolder() = default;

void TBrowseFolder::SetCustomButtonEnabled(bool enabled) {
  customEnabled_ = enabled;
  if (customButton_) customButton_->setEnabled(enabled);
}

void TBrowseFolder::SetCustomButtonCaption(const QString& caption) {
  customCaption_ = caption;
  if (customButton_) customButton_->setText(caption);
}

QString TBrowseFolder::RootPath(TSHFolders root) {
  QString path;
  switch (root) {
    case TSHFolders::foDesktop:
    case TSHFolders::foDesktopDirectory:
      path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
      break;
    case TSHFolders::foPersonal:
      path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      break;
    case TSHFolders::foPrograms:
    case TSHFolders::foStartMenu:
      path = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
      break;
    case TSHFolders::foFonts: path = QStandardPaths::writableLocation(QStandardPaths::FontsLocation); break;
    case TSHFolders::foTemplates: path = QDir::homePath() + QStringLiteral("/Templates"); break;
    case TSHFolders::foMyComputer: path = QDir::rootPath(); break;
    default: break;  // no folder of its own: the whole tree
  }
  return QDir(path).exists() && !path.isEmpty() ? path : QString();
}

QWidget* TBrowseFolder::ParentWindow() const {
  if (explicitParent_) return explicitParent_->window();
  if (auto* w = qobject_cast<QWidget*>(parent())) return w->window();
  return QApplication::activeWindow();
}

void TBrowseFolder::BuildDialog(QWidget* parent) {
  dialog_ = new QDialog(parent);
  dialog_->setObjectName(QStringLiteral("dlgBrowseFolder"));
  dialog_->setWindowTitle(QStringLiteral("Browse for Folder"));
  dialog_->resize(380, 440);
  auto* layout = new QVBoxLayout(dialog_);

  auto* title = new QLabel(Title, dialog_);
  title->setObjectName(QStringLiteral("lblTitle"));
  title->setWordWrap(true);
  title->setVisible(!Title.isEmpty());
  layout->addWidget(title);

  status_ = new QLabel(dialog_);
  status_->setObjectName(QStringLiteral("lblStatus"));
  status_->setVisible(Flags & static_cast<unsigned>(TBrowseInfoFlags::bfStatusText));
  status_->setTextFormat(Qt::PlainText);
  layout->addWidget(status_);

  model_ = new QFileSystemModel(dialog_);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setReadOnly(true);
  const QString root = RootPath(RootFolder);
  model_->setRootPath(root.isEmpty() ? QDir::rootPath() : root);

  tree_ = new QTreeView(dialog_);
  tree_->setObjectName(QStringLiteral("tvFolders"));
  tree_->setModel(model_);
  if (!root.isEmpty()) tree_->setRootIndex(model_->index(root));
  for (int c = 1; c < model_->columnCount(); ++c) tree_->hideColumn(c);
  tree_->header()->hide();
  tree_->setSortingEnabled(true);
  tree_->sortByColumn(0, Qt::AscendingOrder);
  layout->addWidget(tree_, 1);

  auto* bottom = new QHBoxLayout;
  if (CustomButtonVisible) {
    if (CustomButtonType == TCustomButtonType::btCheckBox) {
      auto* box = new QCheckBox(customCaption_, dialog_);
      box->setChecked(CustomButtonChecked);
      customButton_ = box;
    } else {
      customButton_ = new QPushButton(customCaption_, dialog_);
    }
    customButton_->setObjectName(QStringLiteral("btnCustom"));
    customButton_->setProperty("controlId", kCustomButtonId);
    customButton_->setFixedSize(customWidth_, 23);
    customButton_->setEnabled(customEnabled_);
    connect(customButton_, &QAbstractButton::clicked, this,
            [this] { emit OnCustomButtonClick(this, dialog_); });
    bottom->addWidget(customButton_);
  }
  bottom->addStretch(1);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog_);
  buttons_->setObjectName(QStringLiteral("ButtonBox"));
  buttons_->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
  buttons_->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
  connect(buttons_, &QDialogButtonBox::accepted, dialog_, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
  bottom->addWidget(buttons_);
  layout->addLayout(bottom);

  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectionChanged(current); });
  // Its final size before it is centred.
  dialog_->ensurePolished();
  layout->activate();
  dialog_->resize(dialog_->size().expandedTo(dialog_->minimumSizeHint()));
}

void TBrowseFolder::Centre() {
  // Over the window that was in front: horizontally centred, a quarter down.
  const QWidget* front = QApplication::activeWindow();
  if (!front || front == dialog_) front = dialog_->parentWidget();
  if (!front) return;
  const QRect f = front->frameGeometry();
  dialog_->winId();  // a native window, so that its frame counts in its size
  const QSize d = dialog_->frameGeometry().size();
  dialog_->move(f.left() + f.width() / 2 - d.width() / 2, f.top() + f.height() / 4);
}

void TBrowseFolder::SelectionChanged(const QModelIndex& current) {
  selectionPath_ = current.isValid() && model_->isDir(current) ? model_->filePath(current) : QString();
  if (ShowPathInStatusArea) status_->setText(ToQ(ShortenPath(FromQ(selectionPath_), kStatusPathLength)));
  const bool isFolder = !selectionPath_.isEmpty();
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(isFolder);
  if (SyncCustomButton) SetCustomButtonEnabled(isFolder);
  emit OnSelectionChanged(this, dialog_, current, selectionPath_);
}

bool TBrowseFolder::Execute() {
  selectionPath_.clear();
  BuildDialog(ParentWindow());
  const std::unique_ptr<QDialog> owner(dialog_);  // built for this run, gone at its end
  Centre();
  QModelIndex index;
  if (!Directory.isEmpty() && DirectoryExists(FromQ(Directory)))
    index = model_->index(QDir::cleanPath(Directory));
  if (!index.isValid()) {
    // No usable preselection: the top of the tree is selected, as the shell's dialog does.
    const QString root = RootPath(RootFolder);
    index = model_->index(root.isEmpty() ? QDir::rootPath() : root);
  }
  if (index.isValid()) {
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) tree_->expand(p);
    tree_->setCurrentIndex(index);  // reports the selection
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    // The folders load and sort after the dialog is up, moving the selection down the tree:
    // each time a folder on its way has loaded or been sorted, it is brought into view again.
    const QString selected = model_->filePath(index);
    auto keepInView = [this] {
      const QModelIndex current = tree_->currentIndex();
      if (current.isValid()) tree_->scrollTo(current, QAbstractItemView::PositionAtCenter);
    };
    connect(
        model_, &QFileSystemModel::directoryLoaded, tree_,
        [keepInView, selected](const QString& loaded) {
          if (selected.startsWith(loaded)) keepInView();
        },
        Qt::QueuedConnection);
    connect(model_, &QAbstractItemModel::layoutChanged, tree_, keepInView, Qt::QueuedConnection);
  } else {
    SelectionChanged(QModelIndex());  // nothing selected: status line, OK and extra button in step
  }
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (dialog_) emit OnInitialized(this, dialog_);
      },
      Qt::QueuedConnection);
  const bool chosen = dialog_->exec() == QDialog::Accepted && !selectionPath_.isEmpty();
  if (chosen) Directory = selectionPath_;
  if (customButton_ && CustomButtonType == TCustomButtonType::btCheckBox && chosen)
    CustomButtonChecked = static_cast<QCheckBox*>(customButton_)->isChecked();
  customButton_ = nullptr;
  model_ = nullptr;
  tree_ = nullptr;
  status_ = nullptr;
  buttons_ = nullptr;
  return chosen;
}

}  // namespace pagolin
