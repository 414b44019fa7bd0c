#include <QtTest>

#include "gui/components/localeformats.h"
#include "gui/components/qtext.h"

using namespace pagolin;

class LocaleFormatsTest : public QObject {
  Q_OBJECT
 private slots:
  void qtPatternsBecomeOurPatternLetters() {
    QCOMPARE(PatternFromQt(QStringLiteral("M/d/yy")), std::string("m/d/yy"));
    QCOMPARE(PatternFromQt(QStringLiteral("dd.MM.yyyy")), std::string("dd.mm.yyyy"));
    QCOMPARE(PatternFromQt(QStringLiteral("h:mm AP")), std::string("h:nn ampm"));
    QCOMPARE(PatternFromQt(QStringLiteral("HH:mm:ss t")), std::string("hh:nn:ss"));
    QCOMPARE(PatternFromQt(QStringLiteral("dddd, d. MMMM yyyy")), std::string("dddd, d. mmmm yyyy"));
    QCOMPARE(PatternFromQt(QStringLiteral("d 'de' MMMM")), std::string("d \"de\" mmmm"));
    QCOMPARE(PatternFromQt(QStringLiteral("H 'h' mm")), std::string("h \"h\" nn"));
    QCOMPARE(PatternFromQt(QStringLiteral("yyyy\u5e74")), std::string("yyyy\"年\""));
  }

  // A date box given the pattern shows what FormatDateTime shows, in every locale's short form.
  void theDatePatternForQtShowsDatesAsFormatDateTimeDoes() {
    for (const QLocale& locale :
         {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Japanese, QLocale::Japan),
          QLocale(QLocale::Hungarian, QLocale::Hungary), QLocale(QLocale::Finnish, QLocale::Finland)}) {
      const TFormatSettings fs = FormatSettingsFromLocale(locale);
      const QString pattern = QtDatePattern(fs.ShortDateFormat, fs.DateSeparator);
      for (const QDate& date : {QDate(1997, 8, 27), QDate(2026, 1, 5), QDate(2000, 12, 31)})
        QCOMPARE(FromQ(locale.toString(date, pattern)),
                 FormatDateTime(fs.ShortDateFormat, EncodeDate(date.year(), date.month(), date.day()), fs));
    }
  }

  void germanAndAmericanLocalesFormatAsTheirUsersExpect() {
    const TDateTime d = EncodeDate(1997, 8, 27) + EncodeTime(14, 5, 0, 0);
    const TFormatSettings de = FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(FormatDateTime("ddddd t", d, de), std::string("27.08.97 14:05"));
    QCOMPARE(FormatDateTime("dddddd", d, de), std::string("Mittwoch, 27. August 1997"));
    const TFormatSettings us = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(FormatDateTime("ddddd t", d, us), std::string("8/27/97 2:05 PM"));
    QCOMPARE(FormatDateTime("dddddd", d, us), std::string("Wednesday, August 27, 1997"));
    // Text typed in the short date form reads back.
    TDateTime back = 0;
    QVERIFY(TryStrToDateTime("27.08.1997 14:05", back, de));
    QCOMPARE(back, d);
  }
};

QTEST_GUILESS_MAIN(LocaleFormatsTest)
#include "localeformats_test.moc"
