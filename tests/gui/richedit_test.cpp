// The rich editor offscreen: stored texts keep their bytes until an edit, the bridge carries
// every document of the corpus both ways, and formatting made with the keyboard and the
// editor's commands reaches the built page as the converter's tags.
#include <QtTest>

#include <QClipboard>
#include <QGuiApplication>
#include <QTextDocument>

#include "core/platform/hooks.h"
#include "core/richtext/rtfreader.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richedit.h"
#include "gui/widgets/richtextbridge.h"
#include "support/describedoc.h"
#include "support/modalhelper.h"
#include "support/pagehtml.h"
#include "support/richtextcorpus.h"

using namespace pagolin;
using pagolin::test::Describe;
using pagolin::test::PageHtml;

namespace {

// Types text as a person would; letters beyond ASCII come as key events with their text.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }
}

// Selects the characters [from, to) as a person would, with the caret keys.
void SelectWithKeys(TRichEdit& editor, int from, int to) {
  QTest::keyClick(&editor, Qt::Key_Home, Qt::ControlModifier);
  for (int i = 0; i < from; ++i) QTest::keyClick(&editor, Qt::Key_Right);
  for (int i = from; i < to; ++i) QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
}

// An editor bound to a record: entering the edit state loads the field anew, which puts the
// caret at the start.
class TRecordEdit : public TRichEdit {
 public:
  bool editing = false;
  int enters = 0;

 protected:
  bool InEditState() const override { return editing; }
  void EnterEditState() override {
    editing = true;
    ++enters;
    LoadText(StoredText());
  }
};

}  // namespace

class RichEditTest : public QObject {
  Q_OBJECT

  std::vector<test::TCorpusText> corpus_ = test::RichTextCorpus();

 private slots:
  void initTestCase() {
    TMessageHooks hooks;
    hooks.showMessage = [](const std::string& text) { QFAIL(text.c_str()); };
    SetMessageHooks(hooks);
  }

  void unchangedTextsKeepTheirBytesAndAnUndoneEditGivesThemBack() {
    std::vector<std::string> texts = {"", "plain\r\ntext", "{starts with a brace", "x\n\xE9\r"};
    for (const auto& item : corpus_) texts.push_back(item.rtf);
    for (const bool plain : {false, true}) {
      TRichEdit editor;
      editor.SetPlainText(plain);
      for (const std::string& text : texts) {
        editor.LoadText(text);
        QVERIFY(!editor.Modified());
        QVERIFY(!editor.CanUndo());
        QCOMPARE(editor.StoredText(), text);
        QTest::keyClicks(&editor, QStringLiteral("x"));
        QVERIFY(editor.Modified());
        QVERIFY(editor.StoredText() != text);
        editor.Undo();
        QCOMPARE(editor.StoredText(), text);
      }
    }
  }

  void theBridgeCarriesEveryCorpusDocumentBothWays() {
    QTextDocument document;
    for (const auto& item : corpus_) {
      const TRichDoc doc = ReadRtf(item.rtf);
      LoadRichDoc(document, doc);
      QVERIFY(!document.isModified());
      QCOMPARE(Describe(SaveRichDoc(document)), Describe(doc));
    }
    LoadRichDoc(document, TRichDoc{});
    QCOMPARE(Describe(SaveRichDoc(document)), std::string("[L]"));
  }

  // What the model cannot hold becomes the nearest thing it can: line breaks start paragraphs,
  // objects are dropped, headings and HTML sizes keep the size shown, numbered items their
  // numbers, table cells are separated by tabs and rows by paragraphs; links keep their address.
  void theBridgeReadsHtmlAsTheModelKeepsIt() {
    const std::pair<const char*, std::string> cases[] = {
        {"<p align=justify>a<br>b<img src=x.png>c</p>", "[L]<10>a|[L]<10>bc"},
        {"<ol><li>one</li><li>two</li></ol><ul><li>u</li></ul>", "[L]<10>1. one|[L]<10>2. two|[L*]<10>u"},
        {"<ol type=a><li>x</li></ol>", "[L]<10>a. x"},
        {"<h1>Big</h1><h3>Less</h3><p><font size=5>x</font></p>", "[L]<20 b>Big|[L]<12 b>Less|[L]<15>x"},
        {"<table><tr><td>a1</td><td><b>b1</b></td></tr><tr><td>a2</td><td></td></tr></table><p>after</p>",
         "[L]<10>a1\t<10 b>b1|[L]<10>a2\t|[L]<10>after"},
        {"<p>x <a href=\"https://e.com/?a=1&amp;b=2\">link</a> <a name=n>place</a></p>",
         "[L]<10>x <10 u #0000FF @https://e.com/?a=1&b=2>link<10> place"},
    };
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    for (const auto& [html, expected] : cases) {
      document.setHtml(QString::fromUtf8(html));
      QCOMPARE(ToQ(Describe(SaveRichDoc(document))), ToQ(expected));
    }
  }

  // A link is shown as a link and kept with its address; one made where nothing is selected
  // is its address, and what is typed after it is no part of it.
  void linksAreKeptAndTypingAfterOneIsNoPartOfIt() {
    const std::string rtf =
        "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"https://a.example/\"}{\\fldrslt here}}\\par}";
    TRichEdit editor;
    editor.LoadText(rtf);
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&editor, QStringLiteral(" or "));
    editor.SetLink(QStringLiteral("mailto:a@example.com"));
    QTest::keyClicks(&editor, QStringLiteral(" x"));
    QCOMPARE(ToQ(Describe(ReadRtf(editor.StoredText()))),
             ToQ("[L]<12>see <12 @https://a.example/>here<12> or <12 u #0000FF "
                 "@mailto:a@example.com>mailto:a@example.com<12> x"));
  }

  void formattingMadeInTheEditorReachesThePageAsTags() {
    TRichEdit editor;
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.LoadText("");
    Type(&editor, QString::fromUtf8("Bold plain caf\u00E9"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("Red big"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("centre"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("one"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("two"));

    SelectWithKeys(editor, 0, 4);
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    SelectWithKeys(editor, 16, 23);
    editor.SetSelectionColor(QColor(255, 0, 0));
    QFont big = editor.SelectionFont();
    big.setPointSize(14);
    editor.SetSelectionFont(big);
    SelectWithKeys(editor, 25, 25);
    editor.SetParagraphAlignment(TParaAlignment::Center);
    SelectWithKeys(editor, 31, 36);
    editor.ToggleBullet();
    test::Screenshot(&editor, QStringLiteral("richedit"));

    QCOMPARE(Describe(ReadRtf(editor.StoredText())),
             std::string("[L]<10 b>Bold<10> plain caf\xC3\xA9|[L]<14 #FF0000>Red big|[C]<10>centre|"
                         "[L*]<10>one|[L*]<10>two"));
    QCOMPARE(PageHtml(editor.StoredText()),
             std::string("<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2><B>Bold</B>"
                         "<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2> plain caf&eacute;<BR>\r\n"
                         "<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=4><FONT COLOR=#FF0000>Red big<BR>\r\n"
                         "<CENTER></FONT><FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>centre<BR>\r\n"
                         "</CENTER><UL><LI>\t<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>one</LI>"
                         "<LI>\t<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>two"));
  }

  void plainModeStoresPlainTextWithCrLfAndTakesNoFormatting() {
    TRichEdit editor;
    editor.SetPlainText(true);
    editor.LoadText("{\\rtf1 shown as it is}");
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Return);
    Type(&editor, QString::fromUtf8("\u00FC \u20AC \u4E2D"));
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    editor.ToggleBullet();
    QCOMPARE(editor.StoredText(), std::string("{\\rtf1 shown as it is}\r\nü € 中"));
    QVERIFY(!editor.SelectionBold());
    QVERIFY(!editor.ParagraphBullet());
  }

  void aReadOnlyEditorRefusesEveryChange() {
    TRichEdit editor;
    editor.LoadText(corpus_.front().rtf);
    editor.SetReadOnly(true);
    editor.SelectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    editor.ToggleBold();
    editor.SetParagraphAlignment(TParaAlignment::Right);
    editor.ToggleBullet();
    editor.SetSelectionColor(QColor(Qt::red));
    editor.Cut();
    editor.Paste();
    editor.ClearSelection();
    editor.InsertText(QStringLiteral("%NAME%"));
    QTest::keyClicks(&editor, QStringLiteral("typed"));
    QVERIFY(!editor.Modified());
    QCOMPARE(editor.StoredText(), corpus_.front().rtf);
  }

  void aRecordEditEntersItsEditStateOnceWithoutMovingTheSelection() {
    TRecordEdit editor;
    editor.LoadText(corpus_.front().rtf);
    int changes = 0;
    connect(&editor, &TRichEdit::OnChange, this, [&] { ++changes; });
    QTextCursor selection = editor.textCursor();
    selection.setPosition(5);
    selection.setPosition(9, QTextCursor::KeepAnchor);
    editor.setTextCursor(selection);
    editor.ToggleBold();
    editor.ToggleItalic();
    QCOMPARE(editor.enters, 1);
    QCOMPARE(editor.textCursor().selectionStart(), 5);
    QCOMPARE(editor.textCursor().selectionEnd(), 9);
    QVERIFY(editor.SelectionItalic());
    QVERIFY(changes > 0);
    // An insertion replaces the selection, and the record stays in its edit state.
    const QString before = editor.toPlainText();
    editor.InsertText(QStringLiteral("%URL%"));
    QCOMPARE(editor.toPlainText(), before.left(5) + QStringLiteral("%URL%") + before.mid(9));
    QCOMPARE(editor.enters, 1);
    changes = 0;
    editor.LoadText("{\\rtf1 new}");
    QCOMPARE(changes, 0);
  }

  void colourBackToAutomaticRemovesItFromEverySelectedRun() {
    TRichEdit editor;
    editor.LoadText("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 red\\b bold\\b0  red\\par}");
    editor.SelectAll();
    editor.SetSelectionColor(std::nullopt);
    QCOMPARE(Describe(ReadRtf(editor.StoredText())), std::string("[L]<12>red<12 b>bold<12> red"));
  }
};

QTEST_MAIN(RichEditTest)
#include "richedit_test.moc"
