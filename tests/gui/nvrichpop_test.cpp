// The rich editors' popup menu offscreen: its items in both languages behind the owner's, the
// states each popup gives them, and what the items do to the editor that popped it up.
#include <QtTest>

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>

#include "core/richtext/rtfreader.h"
#include "gui/components/fontdialog.h"
#include "gui/components/nvrichpop.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richedit.h"
#include "support/describedoc.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::Describe;

namespace {

QStringList Names(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* name : names) list << ToQ(name);
  return list;
}

struct TItem {
  const char* name;
  const char* english;
  const char* german;
};
// The link items stand in front of the owner's items; the others follow them.
const TItem kLinkItems[] = {
    {"miInsertLink", "Insert link...", "Link einfügen..."},
    {"miRemoveLink", "Remove link", "Link entfernen"},
    {"miSeparatorLink", "", ""},
};
const TItem kItems[] = {
    {"miUndo", "Undo", "Rückgängig"},
    {"miSeparator1", "", ""},
    {"miCut", "Cut", "Ausschneiden"},
    {"miCopy", "Copy", "Kopieren"},
    {"miPaste", "Paste", "Einfügen"},
    {"miDelete", "Delete", "Löschen"},
    {"miSelectAll", "Select all", "Alles markieren"},
    {"miSeparator2", "", ""},
    {"miFont", "Font...", "Schriftart..."},
    {"miSeparator3", "", ""},
    {"miBold", "Bold", "Fett"},
    {"miUnderline", "Underlined", "Unterstrichen"},
    {"miItalic", "Italic", "Kursiv"},
    {"miSeparator4", "", ""},
    {"miAlignLeft", "Align left", "Linksbündig"},
    {"miCenter", "Centered", "Zentriert"},
    {"miAlignRight", "Align Right", "Rechtsbündig"},
    {"miSeparator5", "", ""},
    {"miBullet", "Bullet", "Aufzählung"},
};

// Two paragraphs: "plain bold" (the second word bold), then a centred list paragraph.
const std::string kText =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 plain \\b bold\\b0\\par\\qc{\\*\\pn\\pnlvlblt}item\\par}";

// An editor bound to a record that is browsing until the menu puts it into edit state; doing
// so loads the field anew, which puts the caret at the start.
class TRecordEdit : public TRichEdit {
 public:
  bool editing = false;

 protected:
  bool InEditState() const override { return editing; }
  void EnterEditState() override {
    editing = true;
    LoadText(StoredText());
  }
};

}  // namespace

class NVRichPopTest : public QObject {
  Q_OBJECT

  QWidget window_;
  TRichEdit* editor_ = nullptr;
  TFontDialog* fontDialog_ = nullptr;

  TNVRichPop* Menu(TLanguage language = TLanguage::roEnglish, bool withFont = true) {
    auto* menu = new TNVRichPop(&window_);
    menu->addAction(QStringLiteral("Owner item"))->setObjectName(QStringLiteral("mnuOwner"));
    menu->SetLanguage(language);
    menu->SetFontDialog(withFont ? fontDialog_ : nullptr);
    menu->SetPopupOptions(TNVRichPopOption::rpShowShortcuts);
    menu->Loaded();
    return menu;
  }
  QAction* Item(TNVRichPop* menu, const char* name) { return menu->findChild<QAction*>(ToQ(name)); }
  // Pops the menu up for the editor with [from, to) selected, then closes it again.
  // A picture of the window and the open menu goes to $PAGOLIN_SCREENSHOTS as screenshot.
  void PopupWith(TNVRichPop* menu, int from, int to, TRichEdit* editor = nullptr,
                 const char* screenshot = nullptr) {
    editor = editor ? editor : editor_;
    QTextCursor c = editor->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
    menu->Popup(editor->mapToGlobal(QPoint(20, 20)), editor);
    if (screenshot) {
      QVERIFY(QTest::qWaitForWindowExposed(menu));
      test::Screenshot(&window_, ToQ(std::string(screenshot) + "_editor"));
      test::Screenshot(menu, ToQ(screenshot));
    }
    menu->close();
  }
  QStringList Usable(TNVRichPop* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
      if (a->isVisible() && a->isEnabled() && !a->isSeparator()) names << a->objectName();
    return names;
  }

 private slots:
  void init() {
    editor_ = new TRichEdit(&window_);
    editor_->setObjectName(QStringLiteral("DBRichEdit1"));
    editor_->resize(300, 200);
    fontDialog_ = new TFontDialog(&window_);
    editor_->LoadText(kText);
    editor_->show();
    window_.resize(320, 220);
    window_.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window_));
  }
  void cleanup() {
    const QObjectList children = window_.children();
    qDeleteAll(children);
  }

  void itemsStandInTheirOrderBehindTheOwnersInBothLanguages() {
    for (const TLanguage language : {TLanguage::roEnglish, TLanguage::roGerman}) {
      for (const bool withFont : {true, false}) {
        TNVRichPop* menu = Menu(language, withFont);
        const QList<QAction*> actions = menu->actions();
        QStringList names, expected;
        for (QAction* a : actions) names << a->objectName();
        for (const TItem& item : kLinkItems) expected << ToQ(item.name);
        expected << QStringLiteral("mnuOwner");
        for (const TItem& item : kLinkItems) {
          if (item.english[0] != '\0')
            QCOMPARE(Item(menu, item.name)->text(),
                     ToQ(language == TLanguage::roGerman ? item.german : item.english));
        }
        for (const TItem& item : kItems) {
          const bool fontItem = QByteArray(item.name) == "miFont" || QByteArray(item.name) == "miSeparator3";
          if (fontItem && !withFont) continue;
          expected << ToQ(item.name);
          if (item.english[0] == '\0') continue;
          QCOMPARE(Item(menu, item.name)->text(),
                   ToQ(language == TLanguage::roGerman ? item.german : item.english));
        }
        QCOMPARE(names, expected);
        menu->Loaded();  // once only
        QCOMPARE(menu->actions().size(), actions.size());
      }
    }
    TNVRichPop* menu = Menu();
    QCOMPARE(Item(menu, "miBold")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    QCOMPARE(Item(menu, "miDelete")->shortcut(), QKeySequence(Qt::Key_Delete));
    QVERIFY(Item(menu, "miCenter")->shortcut().isEmpty());
    TNVRichPop plain(&window_);
    plain.Loaded();
    QVERIFY(plain.findChild<QAction*>(QStringLiteral("miBold"))->shortcut().isEmpty());
  }

  void eachPopupSetsTheStatesAfterTheEditorAndItsSelection() {
    TNVRichPop* menu = Menu();
    QGuiApplication::clipboard()->clear();
    PopupWith(menu, 0, 0);
    QCOMPARE(Usable(menu),
             Names({"miInsertLink", "mnuOwner", "miSelectAll", "miFont", "miBold", "miUnderline", "miItalic",
                    "miAlignLeft", "miCenter", "miAlignRight", "miBullet"}));
    QVERIFY(!Item(menu, "miBold")->isChecked() && Item(menu, "miAlignLeft")->isChecked());
    QVERIFY(!Item(menu, "miBullet")->isChecked());

    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    PopupWith(menu, 0, 1);
    Item(menu, "miUnderline")->trigger();                 // something to undo
    PopupWith(menu, 7, 9, nullptr, "nvrichpop_english");  // inside "bold"
    for (const char* name : {"miUndo", "miCut", "miCopy", "miPaste", "miDelete", "miSelectAll"})
      QVERIFY2(Item(menu, name)->isEnabled(), name);
    QVERIFY(Item(menu, "miBold")->isChecked() && !Item(menu, "miItalic")->isChecked());

    PopupWith(menu, 12, 13);  // in the centred list paragraph
    QVERIFY(!Item(menu, "miBold")->isChecked() && Item(menu, "miCenter")->isChecked());
    QVERIFY(!Item(menu, "miAlignLeft")->isChecked() && Item(menu, "miBullet")->isChecked());

    PopupWith(menu, 0, editor_->TextLength());
    QVERIFY(!Item(menu, "miSelectAll")->isEnabled());
  }

  void aReadOnlyEditorShowsNoFormattingAndOnlyCopyAndSelectAll() {
    TNVRichPop* menu = Menu();
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    editor_->ToggleBold();
    editor_->SetReadOnly(true);
    PopupWith(menu, 0, 3);
    QCOMPARE(Usable(menu), Names({"mnuOwner", "miCopy", "miSelectAll"}));
    QStringList visible;
    for (QAction* a : menu->actions())
      if (a->isVisible()) visible << a->objectName();
    QCOMPARE(visible, Names({"mnuOwner", "miUndo", "miSeparator1", "miCut", "miCopy", "miPaste", "miDelete",
                             "miSelectAll"}));
  }

  void plainModeDisablesTheFormattingItems() {
    TNVRichPop* menu = Menu();
    QGuiApplication::clipboard()->clear();
    editor_->SetPlainText(true);
    editor_->LoadText("plain text");
    PopupWith(menu, 0, 5);
    QCOMPARE(Usable(menu), Names({"mnuOwner", "miCut", "miCopy", "miDelete", "miSelectAll"}));
    for (const char* name : {"miInsertLink", "miFont", "miBold", "miAlignRight", "miBullet", "miSeparator4"})
      QVERIFY2(Item(menu, name)->isVisible(), name);
  }

  void onPopupComesBeforeTheRefresh() {
    TNVRichPop* menu = Menu();
    QStringList calls;
    connect(menu, &TNVRichPop::OnPopup, this, [&](TNVRichPop* sender) {
      QCOMPARE(sender, menu);
      calls << QStringLiteral("OnPopup");
      editor_->SetReadOnly(true);  // the refresh must see this
    });
    PopupWith(menu, 0, 3);
    QCOMPARE(calls, Names({"OnPopup"}));
    QVERIFY(!Item(menu, "miBold")->isVisible());
    QCOMPARE(menu->Target(), static_cast<TRichEditTarget*>(editor_));
  }

  void itemsActOnTheEditorThatPoppedTheMenuUp() {
    TNVRichPop* menu = Menu(TLanguage::roGerman);
    TRichEdit other(&window_);
    other.LoadText(kText);
    menu->Attach(editor_);
    PopupWith(menu, 0, 5);
    Item(menu, "miBold")->trigger();
    Item(menu, "miItalic")->trigger();
    Item(menu, "miUnderline")->trigger();
    Item(menu, "miAlignRight")->trigger();
    Item(menu, "miBullet")->trigger();
    QCOMPARE(Describe(ReadRtf(editor_->StoredText())),
             std::string("[R*]<10 b i u>plain<10> <10 b>bold|[C*]<10>item"));
    QVERIFY(!other.Modified());

    // The context menu of an attached editor pops it up for that editor.
    other.SetReadOnly(true);
    menu->Popup(QPoint(), &other);
    menu->close();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            editor_->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(editor_->viewport(), &event);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->Target(), static_cast<TRichEditTarget*>(editor_));
    QVERIFY(Item(menu, "miBold")->isVisible());
    test::Screenshot(&window_, QStringLiteral("nvrichpop_german_editor"));
    test::Screenshot(menu, QStringLiteral("nvrichpop_german"));
    menu->close();

    PopupWith(menu, 0, 5);
    Item(menu, "miCut")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("plain"));
    QCOMPARE(editor_->document()->toPlainText(), QStringLiteral(" bold\nitem"));
    Item(menu, "miUndo")->trigger();
    QCOMPARE(editor_->document()->toPlainText(), QStringLiteral("plain bold\nitem"));
    PopupWith(menu, 0, 0);
    Item(menu, "miPaste")->trigger();
    QCOMPARE(editor_->document()->toPlainText(), QStringLiteral("plainplain bold\nitem"));
    Item(menu, "miSelectAll")->trigger();
    QCOMPARE(editor_->SelectionLength(), editor_->TextLength());
    PopupWith(menu, 0, editor_->TextLength());
    Item(menu, "miDelete")->trigger();
    QCOMPARE(editor_->TextLength(), 0);
  }

  // "Insert link..." asks for the address and refuses one a page cannot link to, keeping what
  // was typed; at a link it shows and changes that link's address; "Remove link" gives the
  // text back its plain look.
  void theLinkItemsMakeChangeAndRemoveLinks() {
    TNVRichPop* menu = Menu();
    PopupWith(menu, 0, 5);
    QVERIFY(!Item(menu, "miRemoveLink")->isEnabled());
    QString refused, kept;
    test::WhenModalNamed(QStringLiteral("dlgLink"), [&](QWidget* w) {
      auto* dialog = static_cast<QInputDialog*>(w);
      QVERIFY(dialog->textValue().isEmpty());
      test::WhenModalNamed(QStringLiteral("dlgLink"), [&](QWidget* again) {
        auto* second = static_cast<QInputDialog*>(again);
        refused = second->labelText();
        test::Screenshot(second, QStringLiteral("link_dialog_refused"));
        kept = second->textValue();
        second->setTextValue(QStringLiteral("https://example.com/a?b=1&c=2"));
        second->accept();
      });
      dialog->setTextValue(QStringLiteral("javascript:alert(1)"));
      dialog->accept();
    });
    Item(menu, "miInsertLink")->trigger();
    QVERIFY2(refused.startsWith(QStringLiteral("A page cannot link to \"javascript:alert(1)\".")),
             qPrintable(refused));
    QCOMPARE(kept, QStringLiteral("javascript:alert(1)"));
    QCOMPARE(
        Describe(ReadRtf(editor_->StoredText())),
        std::string("[L]<10 u #0000FF @https://example.com/a?b=1&c=2>plain<10> <10 b>bold|[C*]<10>item"));

    PopupWith(menu, 2, 2);  // the caret inside the link
    QVERIFY(Item(menu, "miRemoveLink")->isEnabled());
    QString shown;
    test::WhenModalNamed(QStringLiteral("dlgLink"), [&](QWidget* w) {
      auto* dialog = static_cast<QInputDialog*>(w);
      shown = dialog->textValue();
      dialog->setTextValue(QStringLiteral("mailto:sales@example.com"));
      dialog->accept();
    });
    Item(menu, "miInsertLink")->trigger();
    QCOMPARE(shown, QStringLiteral("https://example.com/a?b=1&c=2"));
    QCOMPARE(Describe(ReadRtf(editor_->StoredText())),
             std::string("[L]<10 u #0000FF @mailto:sales@example.com>plain<10> <10 b>bold|[C*]<10>item"));

    PopupWith(menu, 5, 5, nullptr, "nvrichpop_link");  // just behind the link
    Item(menu, "miRemoveLink")->trigger();
    QCOMPARE(Describe(ReadRtf(editor_->StoredText())), std::string("[L]<10>plain <10 b>bold|[C*]<10>item"));
  }

  void theFontItemAppliesTheDialogsFontAndColour() {
    TNVRichPop* menu = Menu();
    PopupWith(menu, 0, 5);
    QFont shown;
    std::optional<QColor> shownColor = QColor(Qt::white);
    test::WhenModal([](QWidget* w) { return qobject_cast<TFontDialog*>(w) != nullptr; },
                    [&](QWidget* w) {
                      auto* dialog = static_cast<TFontDialog*>(w);
                      shown = dialog->Font();
                      shownColor = dialog->Color();
                      test::Screenshot(dialog, QStringLiteral("fontdialog"));
                      QFont font = dialog->Font();
                      font.setPointSize(16);
                      font.setItalic(true);
                      dialog->SetFont(font);
                      dialog->SetColor(QColor(0x80, 0, 0));
                      dialog->accept();
                    });
    Item(menu, "miFont")->trigger();
    QCOMPARE(shown.pointSize(), 10);
    QVERIFY(!shownColor);
    QVERIFY(editor_->SelectionItalic());
    QCOMPARE(editor_->SelectionFont().pointSize(), 16);
    QCOMPARE(editor_->SelectionColor(), std::optional<QColor>(QColor(0x80, 0, 0)));
    const std::string described = Describe(ReadRtf(editor_->StoredText()));
    QVERIFY2(described.find(" 16 i #800000>plain<10> <10 b>bold") != std::string::npos, described.c_str());
  }

  void aRecordBrowsingIsPutIntoEditStateWithoutMovingTheSelectionUnlessReadOnly() {
    auto* record = new TRecordEdit;
    record->setParent(&window_);
    record->LoadText(kText);
    TNVRichPop* menu = Menu();
    PopupWith(menu, 7, 10, record);
    QVERIFY(record->editing);
    QCOMPARE(record->textCursor().selectionStart(), 7);
    QCOMPARE(record->textCursor().selectionEnd(), 10);
    QVERIFY(Item(menu, "miCopy")->isEnabled() && Item(menu, "miBold")->isChecked());

    auto* readOnly = new TRecordEdit;
    readOnly->setParent(&window_);
    readOnly->LoadText(kText);
    readOnly->SetReadOnly(true);
    PopupWith(menu, 7, 10, readOnly);
    QVERIFY(!readOnly->editing);
  }
};

QTEST_MAIN(NVRichPopTest)
#include "nvrichpop_test.moc"
