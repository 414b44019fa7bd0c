#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "gui/components/browsefolder.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::Screenshot;
using pagolin::test::WhenModalNamed;

namespace {

const QString kDialog = QStringLiteral("dlgBrowseFolder");

QPushButton* OkButton(QWidget* dlg) { return dlg->findChild<QPushButton*>(QStringLiteral("btnOk")); }
QString StatusText(QWidget* dlg) { return dlg->findChild<QLabel*>(QStringLiteral("lblStatus"))->text(); }

void Select(QWidget* dlg, const QString& path) {
  auto* tree = dlg->findChild<QTreeView*>(QStringLiteral("tvFolders"));
  auto* model = static_cast<QFileSystemModel*>(tree->model());
  tree->setCurrentIndex(model->index(path));
}

}  // namespace

class BrowseFolderTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString deep_;  // longer than the status line
  QString other_;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    deep_ = dir_.path() + QStringLiteral("/aaaaaaaaaa/bbbbbbbbbb/cccccccccc/dddd");
    other_ = dir_.path() + QStringLiteral("/other");
    QVERIFY(QDir().mkpath(deep_));
    QVERIFY(QDir().mkpath(other_));
  }

  void preselectsAnExistingFolderAndShowsItShortened() {
    TBrowseFolder bf;
    bf.Title = QStringLiteral("Please select the FTP upload folder");
    bf.Flags = static_cast<unsigned>(TBrowseInfoFlags::bfStatusText);
    bf.ShowPathInStatusArea = true;
    bf.Directory = deep_;
    int initialized = 0;
    connect(&bf, &TBrowseFolder::OnInitialized, this, [&] { ++initialized; });
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      QTRY_COMPARE(initialized, 1);
      QCOMPARE(dlg->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), bf.Title);
      QCOMPARE(bf.SelectionPath(), deep_);
      const QString status = StatusText(dlg);
      QVERIFY2(status.size() <= TBrowseFolder::kStatusPathLength, qPrintable(status));
      QVERIFY2(
          status.startsWith(QStringLiteral("/.../")) && status.endsWith(QStringLiteral("/cccccccccc/dddd")),
          qPrintable(status));
      QVERIFY(OkButton(dlg)->isEnabled());
      Screenshot(dlg, QStringLiteral("browsefolder"));
      Select(dlg, other_);
      QCOMPARE(StatusText(dlg), other_.size() <= 35 ? other_ : StatusText(dlg));
      OkButton(dlg)->click();
    });
    QVERIFY(bf.Execute());
    QCOMPARE(bf.Directory, other_);
  }

  // Among many folders the preselected one is in view once the tree has loaded.
  void preselectedFolderIsScrolledIntoView() {
    QTemporaryDir many;
    for (int i = 0; i < 300; ++i)
      QVERIFY(QDir().mkpath(many.path() + QStringLiteral("/f%1").arg(i, 3, 10, QLatin1Char('0'))));
    TBrowseFolder bf;
    bf.Directory = many.path() + QStringLiteral("/f290");
    bool inView = false;
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      auto* tree = dlg->findChild<QTreeView*>(QStringLiteral("tvFolders"));
      auto* model = static_cast<QFileSystemModel*>(tree->model());
      // Loaded and sorted: the folder before it sits right above it.
      QVERIFY(QTest::qWaitFor([&] {
        const QModelIndex current = tree->currentIndex();
        return current.isValid() && current.row() > 250 && model->rowCount(current.parent()) == 300;
      }));
      QTest::qWait(50);  // the scroll that follows the load is queued behind it
      inView = tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()));
    });
    bf.Execute();
    QVERIFY(inView);
  }

  void cancelLeavesDirectoryAsItWas() {
    TBrowseFolder bf;
    bf.Directory = deep_;
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      Select(dlg, other_);
      dlg->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    QVERIFY(!bf.Execute());
    QCOMPARE(bf.Directory, deep_);
  }

  void missingFolderLeavesTheDefaultSelectionAndOkNeedsAFolder() {
    TBrowseFolder bf;
    bf.Directory = dir_.path() + QStringLiteral("/does-not-exist");
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      QCOMPARE(bf.SelectionPath(), QDir::rootPath());  // the tree's first folder
      auto* tree = dlg->findChild<QTreeView*>(QStringLiteral("tvFolders"));
      tree->setCurrentIndex(QModelIndex());  // no folder
      QVERIFY(!OkButton(dlg)->isEnabled());
      QCOMPARE(bf.SelectionPath(), QString());
      Select(dlg, other_);
      QVERIFY(OkButton(dlg)->isEnabled());
    });
    QVERIFY(!bf.Execute());  // rejected by the helper
    QCOMPARE(bf.Directory, dir_.path() + QStringLiteral("/does-not-exist"));
  }

  void customCheckBoxFollowsSelectionAndReportsItsState() {
    TBrowseFolder bf;
    bf.CustomButtonVisible = true;
    bf.CustomButtonType = TCustomButtonType::btCheckBox;
    bf.SetCustomButtonCaption(QStringLiteral("Create"));
    bf.SetCustomButtonWidth(0);
    QCOMPARE(bf.CustomButtonWidth(), 75);
    bf.SyncCustomButton = true;
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      auto* box = dlg->findChild<QCheckBox*>(QStringLiteral("btnCustom"));
      QVERIFY(box);
      QCOMPARE(box->width(), 75);
      dlg->findChild<QTreeView*>(QStringLiteral("tvFolders"))->setCurrentIndex(QModelIndex());
      QVERIFY(!box->isEnabled());  // no folder selected
      Select(dlg, other_);
      QVERIFY(box->isEnabled());
      bf.SetCustomButtonCaption(QStringLiteral("Renamed"));
      QCOMPARE(box->text(), QStringLiteral("Renamed"));
      box->click();
      OkButton(dlg)->click();
    });
    QVERIFY(bf.Execute());
    QVERIFY(bf.CustomButtonChecked);
  }

  void customPushButtonRaisesItsEvent() {
    TBrowseFolder bf;
    bf.CustomButtonVisible = true;
    bf.SetCustomButtonCaption(QStringLiteral("New folder"));
    int clicks = 0;
    connect(&bf, &TBrowseFolder::OnCustomButtonClick, this, [&] { ++clicks; });
    WhenModalNamed(kDialog,
                   [&](QWidget* dlg) { dlg->findChild<QPushButton*>(QStringLiteral("btnCustom"))->click(); });
    bf.Execute();
    QCOMPARE(clicks, 1);
  }

  void centresOverTheActiveWindowAQuarterDown() {
    QWidget front;
    front.setGeometry(100, 80, 800, 600);
    front.show();
    front.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&front));
    TBrowseFolder bf;
    QPoint at;
    QSize size;
    WhenModalNamed(kDialog, [&](QWidget* dlg) {
      at = dlg->frameGeometry().topLeft();
      size = dlg->frameGeometry().size();
    });
    bf.Execute();
    const QRect f = front.frameGeometry();
    QCOMPARE(at, QPoint(f.left() + f.width() / 2 - size.width() / 2, f.top() + f.height() / 4));
  }
};

QTEST_MAIN(BrowseFolderTest)
#include "browsefolder_test.moc"
