// The main window driven by the keyboard alone, offscreen, on a sample site: each task a person
// does without a mouse, with what it left in the tables; Escape and Ctrl+Z; the menus' and the
// settings dialog's underlined letters; the tool bar's pictures.
#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "core/data/datamod.h"
#include "core/platform/filenames.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/app/toolbaricons.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "support/dbsite.h"
#include "support/messagerecorder.h"
#include "support/modalhelper.h"

using namespace pagolin;
using test::TypeKeys;

namespace {

// The underlined letter of a caption ("&File": 'F'), 0 when it has none.
QChar Mnemonic(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i)
    if (text[i] == QLatin1Char('&')) {
      if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toUpper();
      ++i;
    }
  return {};
}

// Every caption has a letter, and none has another's; the duplicates and captions without.
QString MnemonicFaults(const QStringList& captions) {
  QString faults;
  QSet<QChar> seen;
  for (const QString& caption : captions) {
    const QChar letter = Mnemonic(caption);
    if (letter.isNull() || seen.contains(letter)) faults += caption + QLatin1Char(' ');
    seen.insert(letter);
  }
  return faults;
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::string site_;
  std::unique_ptr<test::TMessageRecorder> recorder_;
  std::unique_ptr<TProgram> program_;

  TForm1& Form() { return program_->Form1(); }
  TDataModule2& Data() { return program_->DataModule2(); }
  QWidget* Focus() { return QApplication::focusWidget(); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Focus() ? Focus() : &Form(), static_cast<Qt::Key>(key), mods);
  }
  // Ctrl+Tab (or Ctrl+Shift+Tab) until target has the focus; false after a round without it.
  bool CtrlTabTo(QWidget* target, bool forward = true) {
    for (int i = 0; i < 40 && Focus() != target; ++i)
      Key(Qt::Key_Tab, forward ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    return Focus() == target;
  }
  // The first value a query reads from a table file (UTF-8 as stored).
  QString Stored(const char* file, const std::string& sql) {
    TSqliteDb db;
    TSqliteStmt stmt;
    if (db.Open(site_ + file, SQLITE_OPEN_READONLY) != SQLITE_OK ||
        stmt.Prepare(db.Handle(), sql) != SQLITE_OK)
      return QStringLiteral("<bad>");
    return QString::fromStdString(stmt.Step() == SQLITE_ROW ? stmt.ColumnText(0).value_or("<null>")
                                                            : "<none>");
  }
  void Start() {
    program_ = std::make_unique<TProgram>(site_);
    Form().resize(1280, 800);
    Form().show();
    QApplication::setActiveWindow(&Form());
    QVERIFY(QTest::qWaitForWindowActive(&Form()));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(test::PrepareSampleSite(dir_->path()));
    site_ = IncludeTrailingPathDelimiter(FromQ(dir_->path()));
    recorder_ = std::make_unique<test::TMessageRecorder>();
    recorder_->answer = TModalResult::mrYes;
    Start();
  }
  void cleanup() {
    program_.reset();
    recorder_.reset();
  }

  // From start: a product with its name, category, both descriptions and Include, posted with
  // Ctrl+Enter; the focus leaves the grid and reaches every editor by Ctrl+Tab.
  void aProductIsAddedAndPostedWithTheKeys() {
    TTabProducts& tab = *Form().tbsProducts;
    QCOMPARE(Focus(), tab.DBGrid2);  // the window starts in the grid of its front tab
    Key(Qt::Key_Insert);
    QCOMPARE(tab.DBGrid2->currentIndex().column(), 0);
    TypeKeys(tab.DBGrid2, "Zebrafox");
    Key(Qt::Key_Tab);
    TypeKeys(tab.DBGrid2, "Component");
    Key(Qt::Key_Return);
    QVERIFY(CtrlTabTo(tab.DBCheckBox1));
    Key(Qt::Key_Space);
    QVERIFY(CtrlTabTo(tab.dbrDescription));
    TypeKeys(tab.dbrDescription, "Striped");
    QVERIFY(CtrlTabTo(tab.PageControl4->tabBar(), false));
    Key(Qt::Key_Right);  // the second language's tab
    QVERIFY(CtrlTabTo(tab.DBRichEdit4));
    TypeKeys(tab.DBRichEdit4, "Gestreift");
    Key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(Data().tblProducts.State(), TDataSetState::dsBrowse);
    QCOMPARE(Stored("product.DB",
                    "SELECT Category || '|' || Include || '|' || (instr(\"Description 1\", "
                    "'Striped') > 0) || (instr(\"Description 2\", 'Gestreift') > 0) FROM product "
                    "WHERE Name = 'Zebrafox'"),
             QStringLiteral("Component|1|11"));
    QVERIFY(recorder_->errors.empty());
  }

  // Ctrl+PgDn from an editor to Hot News, a news item typed into its grid and body, posted.
  void aNewsItemIsAddedOnHotNewsReachedWithCtrlPgDn() {
    QVERIFY(CtrlTabTo(Form().tbsProducts->dbrDescription));
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    TTabHotNews& news = *Form().tbsHotNews;
    QCOMPARE(Form().pgcMain->currentWidget(), &news);
    QCOMPARE(Focus(), news.DBGrid1);
    const QString before = Stored("news.db", "SELECT count(*) FROM news");
    Key(Qt::Key_Insert);
    Key(Qt::Key_Tab);  // past the date, which the new item got by itself
    TypeKeys(news.DBGrid1, "Zebrafox 1.0");
    Key(Qt::Key_Return);
    QVERIFY(CtrlTabTo(news.DBRichEdit1));
    TypeKeys(news.DBRichEdit1, "Out now");
    Key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(Stored("news.db", "SELECT count(*) FROM news"), QString::number(before.toInt() + 1));
    QCOMPARE(Stored("news.db",
                    "SELECT instr(\"News Body 1\", 'Out now') > 0 FROM news "
                    "WHERE \"News Title 1\" = 'Zebrafox 1.0'"),
             QStringLiteral("1"));
    test::Screenshot(&Form(), QStringLiteral("keyboard-hotnews"));
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    Key(Qt::Key_PageUp, Qt::ControlModifier);  // round past the first tab to the last
    QCOMPARE(Form().pgcMain->currentIndex(), Form().pgcMain->count() - 1);
  }

  // Alt+F, S opens the settings; Escape closes them. F9 builds: the page holds the products.
  void theSettingsOpenByTheirLetterAndF9Builds() {
    bool shown = false;
    test::WhenModalNamed(QStringLiteral("dlgSettings"), [&](QWidget* w) {
      shown = true;
      QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape);
    });
    Key(Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_S);
    QTRY_VERIFY(shown);
    QVERIFY(!program_->dlgSettings().isVisible());
    QApplication::setActiveWindow(&Form());  // the offscreen platform does not give it back itself

    Key(Qt::Key_F9);  // the dialog builds on its timer and closes itself
    std::ifstream in(site_ + "index1.htm", std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), {});
    QVERIFY(page.find("Quillpad") != std::string::npos);
    QVERIFY(Form().CheckListBox1->count() > 3);
  }

  // Escape drops the typing of an editor and of a grid cell; Ctrl+Z gives each back into the
  // edit state, and Ctrl+Enter stores it. A row deleted is given back with every byte.
  void escapeAndDeleteAreUndoneWithCtrlZ() {
    TTabProducts& tab = *Form().tbsProducts;
    TTable& products = Data().tblProducts;
    const std::string name = products.FieldByName("Name").AsString();
    QVERIFY(CtrlTabTo(tab.dbrDescription));
    const QString text = tab.dbrDescription->toPlainText();
    TypeKeys(tab.dbrDescription, "Hello ");
    Key(Qt::Key_Escape);
    QCOMPARE(tab.dbrDescription->toPlainText(), text);
    QCOMPARE(products.State(), TDataSetState::dsBrowse);
    QCOMPARE(Form().Undo1->text(), QString(QStringLiteral("&Undo cancel of ") + ToQ(name)));
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(tab.dbrDescription->toPlainText(), QStringLiteral("Hello ") + text);
    QCOMPARE(products.State(), TDataSetState::dsEdit);
    Key(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(Stored("product.DB", "SELECT \"Description 1\" FROM product WHERE Name = '" + name + "'")
                .contains(QStringLiteral("Hello ")));

    QVERIFY(CtrlTabTo(tab.DBGrid2, false));
    TypeKeys(tab.DBGrid2, "Renamed");  // into the current cell, the name
    Key(Qt::Key_Escape);
    QCOMPARE(Focus(), tab.DBGrid2);
    QCOMPARE(products.FieldByName("Name").AsString(), name);
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ToQ(products.FieldByName("Name").AsString()), QStringLiteral("Renamed"));
    Key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(Stored("product.DB", "SELECT count(*) FROM product WHERE Name = 'Renamed'"),
             QStringLiteral("1"));

    const std::string row =
        "SELECT rowid || quote(CAST(\"Description 1\" AS BLOB)) || quote(Include) || "
        "quote(CAST(\"Description 2\" AS BLOB)) FROM product WHERE Name = 'Renamed'";
    const QString bytes = Stored("product.DB", row);
    recorder_->answer = TModalResult::mrOk;  // to "Delete record?"
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Stored("product.DB", row), QStringLiteral("<none>"));
    QCOMPARE(Form().Undo1->text(), QStringLiteral("&Undo delete of Renamed"));
    Form().Edit1->popup(Form().mapToGlobal(QPoint(60, 30)));
    test::Screenshot(&Form(), QStringLiteral("keyboard-editmenu"));
    test::Screenshot(Form().Edit1, QStringLiteral("keyboard-editmenu-popup"));
    Form().Edit1->hide();
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Stored("product.DB", row), bytes);
    QCOMPARE(ToQ(products.FieldByName("Name").AsString()), QStringLiteral("Renamed"));
    Key(Qt::Key_Y, Qt::ControlModifier);  // and deleted again
    QCOMPARE(Stored("product.DB", row), QStringLiteral("<none>"));
  }

  // Tab, Shift+Tab, Right and End go from cell to cell in every grid, never to the filler
  // column that ends the row.
  void noKeyLandsOnTheFillerColumn() {
    for (TContentTab* tab : Form().pgcMain->findChildren<TContentTab*>()) {
      Form().pgcMain->setCurrentWidget(tab);
      TDBGrid* grid = tab->Grid();
      if (!(grid->Options() & TDBGridOption::dgTabs)) continue;  // Tab leaves a list of whole rows
      grid->setFocus();
      QTRY_COMPARE(Focus(), grid);
      QStringList visited;
      for (int key :
           {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_End,
            Qt::Key_Right, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab}) {
        Key(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        const int column = grid->currentIndex().column();
        visited << QString::number(column);
        QVERIFY2(!grid->Columns(column).FieldName().empty(), qPrintable(visited.join(QLatin1Char(' '))));
      }
    }
  }

  // Every menu's items have an underlined letter of their own (menus others add included), and
  // so has each label of the settings dialog on the page that shows it.
  void everyMenuAndSettingsPageHasUniqueLetters() {
    QStringList menus;
    for (QAction* top : Form().menuBar()->actions()) {
      menus << top->text();
      QList<QMenu*> open{top->menu()};
      while (!open.isEmpty()) {
        QMenu* menu = open.takeFirst();
        QStringList items;
        for (QAction* a : menu->actions()) {
          if (a->isSeparator()) continue;
          items << a->text();
          if (a->menu()) open << a->menu();
        }
        QVERIFY2(MnemonicFaults(items).isEmpty(),
                 qPrintable(menu->title() + QStringLiteral(": ") + MnemonicFaults(items)));
      }
    }
    QVERIFY2(MnemonicFaults(menus).isEmpty(), qPrintable(MnemonicFaults(menus)));

    QTabWidget* pages = program_->dlgSettings().PageControl1;
    for (int i = 0; i < pages->count(); ++i) {
      QStringList captions;
      for (QWidget* w : pages->widget(i)->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(pages->widget(i))) continue;  // on an inner page not in front
        if (auto* group = qobject_cast<QGroupBox*>(w); group && !Mnemonic(group->title()).isNull())
          captions << group->title();
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->buddy()) captions << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w);
            button && Mnemonic(button->text()).isNull() == false)
          captions << button->text();
      }
      QVERIFY2(captions.size() >= 4, qPrintable(captions.join(QLatin1Char('|'))));
      QVERIFY2(MnemonicFaults(captions).isEmpty(), qPrintable(MnemonicFaults(captions)));
    }
  }

  // The tool bar takes the icon theme's pictures where it has them, the program's own where
  // not; both pictures are saved for a person to look at.
  void theToolBarShowsThemePicturesOrItsOwn() {
    const QString theme = QIcon::themeName();
    if (!QIcon::themeSearchPaths().contains(QStringLiteral("/usr/share/icons")))
      QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
    QIcon::setThemeName(QStringLiteral("Adwaita"));  // a desktop's theme (scripts/setup installs it)
    program_.reset();
    Start();
    QCOMPARE(Form().actHelp->icon().name(), QStringLiteral("help-contents"));
    QCOMPARE(Form().actSettings->icon().name(), QStringLiteral("preferences-system"));
    QCOMPARE(Form().actLaunchBrowser->icon().name(), QStringLiteral("web-browser"));  // the second name
    test::Screenshot(Form().ToolBar1, QStringLiteral("toolbar-theme"));
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    program_.reset();
    Start();
    for (QAction* a : {Form().actBuild, Form().actPublish, Form().actLaunchBrowser, Form().actSettings,
                       Form().actSendNews, Form().actHelp}) {
      QVERIFY2(a->icon().name().isEmpty() && !a->icon().pixmap(24).isNull(), qPrintable(a->objectName()));
    }
    test::Screenshot(Form().ToolBar1, QStringLiteral("toolbar-own"));
    QIcon::setThemeName(theme);
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
