#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

#include "gui/components/nvbfbtn.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::WhenModal;

namespace {

bool IsFileDialog(QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; }

// A stand-in for a data-aware edit: records whether its data set was put into edit state.
class TFakeDBEdit : public QLineEdit, public IDataAwareEdit {
 public:
  bool editing = false;
  int editCalls = 0;
  bool DataSetInEditState() const override { return editing; }
  void EditDataSet() override {
    editing = true;
    ++editCalls;
  }
  void SetEditText(const QString& text) override { setText(text); }
};

}  // namespace

class NVBFBtnTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString file_;  // an existing file in a sub folder

  // Clicks the button and picks file_ in its dialog; returns the folder the dialog started in.
  QString ClickAndChoose(TNVBFBtn& button, bool cancel = false) {
    QString startFolder;
    WhenModal(IsFileDialog, [&](QWidget* w) {
      auto* fd = static_cast<QFileDialog*>(w);
      startFolder = fd->directory().absolutePath();
      if (cancel) return;
      // Typed into the name box as a person would; the dialog then returns exactly this file.
      fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file_);
      QTRY_COMPARE(fd->selectedFiles(), QStringList(file_));
      QMetaObject::invokeMethod(fd, "accept");
    });
    button.Click();
    return startFolder;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("sub"));
    file_ = dir_.path() + QStringLiteral("/sub/page.htm");
    QFile f(file_);
    QVERIFY(f.open(QIODevice::WriteOnly));
  }

  void loadedNamesTheMissingProperty() {
    QFileDialog dialog;
    QLineEdit edit;
    TNVBFBtn button;
    button.setObjectName(QStringLiteral("NVBFBtn9"));
    try {
      button.Loaded();
      QFAIL("no error without OpenDialog");
    } catch (const std::runtime_error& e) {
      QCOMPARE(QString::fromLatin1(e.what()),
               QStringLiteral("Property 'OpenDialog' undefined in TNVBFBtn NVBFBtn9"));
    }
    button.SetOpenDialog(&dialog);
    try {
      button.Loaded();
      QFAIL("no error without Editfield");
    } catch (const std::runtime_error& e) {
      QCOMPARE(QString::fromLatin1(e.what()),
               QStringLiteral("Property 'Editfield' undefined in TNVBFBtn NVBFBtn9"));
    }
    button.SetEditfield(&edit);
    button.Loaded();  // complete: no error
    QCOMPARE(button.text(), QStringLiteral("..."));
  }

  void writesFullNameFolderOrBareName() {
    QFileDialog dialog;
    QLineEdit edit;
    TNVBFBtn button;
    button.SetOpenDialog(&dialog);
    button.SetEditfield(&edit);
    int clicks = 0;
    connect(&button, &TNVBFBtn::OnClick, this, [&] { ++clicks; });

    ClickAndChoose(button);
    QCOMPARE(edit.text(), file_);
    button.SetFilenameOptions(TBFOptions::folderOnly);
    ClickAndChoose(button);
    QCOMPARE(edit.text(), dir_.path() + QStringLiteral("/sub/"));  // ends with the delimiter
    button.SetFilenameOptions(TBFOptions::fileNameOnly);
    ClickAndChoose(button);
    QCOMPARE(edit.text(), QStringLiteral("page.htm"));
    QCOMPARE(clicks, 3);  // OnClick runs first, every time
  }

  void aDialogMakerRunsOnceAtTheFirstClick() {
    QLineEdit edit;
    TNVBFBtn button;
    int made = 0;
    button.SetOpenDialog([&] {
      ++made;
      return new QFileDialog(&button);
    });
    button.SetEditfield(&edit);
    button.Loaded();  // a maker is a complete configuration
    QCOMPARE(made, 0);
    ClickAndChoose(button);
    ClickAndChoose(button);
    QCOMPARE(made, 1);
    QCOMPARE(edit.text(), file_);
  }

  void startsInTheFolderOfTheFieldText() {
    QFileDialog dialog;
    QLineEdit edit;
    TNVBFBtn button;
    button.SetOpenDialog(&dialog);
    button.SetEditfield(&edit);

    edit.setText(dir_.path() + QStringLiteral("/sub/other.zip"));
    QCOMPARE(ClickAndChoose(button, true), dir_.path() + QStringLiteral("/sub"));
    QCOMPARE(edit.text(), dir_.path() + QStringLiteral("/sub/other.zip"));  // cancelled: unchanged

    // An empty field leaves the start folder as it was.
    dialog.setDirectory(dir_.path());
    edit.clear();
    QCOMPARE(ClickAndChoose(button, true), dir_.path());
  }

  void dataAwareFieldIsPutIntoEditStateOnce() {
    QFileDialog dialog;
    TFakeDBEdit edit;
    TNVBFBtn button;
    button.SetOpenDialog(&dialog);
    button.SetEditfield(&edit);
    ClickAndChoose(button);
    QCOMPARE(edit.text(), file_);
    QCOMPARE(edit.editCalls, 1);
    ClickAndChoose(button);  // already editing: not again
    QCOMPARE(edit.editCalls, 1);
  }

  void otherFieldsDropTheValue() {
    QFileDialog dialog;
    QLabel label(QStringLiteral("unchanged"));
    TNVBFBtn button;
    button.SetOpenDialog(&dialog);
    button.SetEditfield(&label);
    ClickAndChoose(button);
    QCOMPARE(label.text(), QStringLiteral("unchanged"));
  }

  void storedFiltersBecomeNameFilters() {
    QCOMPARE(DialogNameFilters("HTML files (*.htm, *.html)|*.htm;*.html|All files|*.*"),
             QStringList({QStringLiteral("HTML files (*.htm, *.html) (*.htm *.html)"),
                          QStringLiteral("All files (*)")}));  // every file, also without an extension
  }
};

QTEST_MAIN(NVBFBtnTest)
#include "nvbfbtn_test.moc"
