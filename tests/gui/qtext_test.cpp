#include <QtTest>

#include "gui/components/qtext.h"

using namespace pagolin;

class QTextTest : public QObject {
  Q_OBJECT
 private slots:
  void textsCrossAsUtf8AndBrokenPiecesBecomeReplacementCharacters() {
    const std::string text = "a \u00E9 \u20AC \u0141 \u4E2D \U0001F600";
    QCOMPARE(ToQ(text), QString::fromUtf8(text.c_str()));
    QCOMPARE(FromQ(ToQ(text)), text);
    QCOMPARE(ToQ("\x80\xC0\xAF"), QString(3, QChar(0xFFFD)));
    QCOMPARE(FromQ(QString(QChar(0xD800))), std::string("\uFFFD"));
  }
};

QTEST_GUILESS_MAIN(QTextTest)
#include "qtext_test.moc"
