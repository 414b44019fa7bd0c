#include <QtTest>

#include "gui/components/qtext.h"

using namespace pagolin;

class QTextTest : public QObject {
  Q_OBJECT
 private slots:
  void everyByteSurvivesTheRoundTripThroughQString() {
    for (int b = 0; b < 256; ++b) {
      const std::string ansi(1, static_cast<char>(b));
      QCOMPARE(FromQ(ToQ(ansi)), ansi);
    }
    QCOMPARE(ToQ("\x80"), QString(QChar(0x20AC)));
    QCOMPARE(FromQ(QString(QChar(0x4E2D))), std::string("?"));
  }
};

QTEST_GUILESS_MAIN(QTextTest)
#include "qtext_test.moc"
