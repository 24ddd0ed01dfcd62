// FormatNumber and ParseIndex on tables of sensor replies with a decimal point and with a
// decimal comma (the -99 failure value, non-numbers, rounding at the fourth decimal and of
// halves to the integer), Pause on the virtual clock, and the six display colours against
// their packed 24-bit values. Not covered: the locale probe that sets the decimal comma at
// start-up (tested with the number rules).

#include "VirtualClockFixture.h"
#include "link/NumberRules.h"
#include "link/ValueFormat.h"

#include <QTest>

using namespace dunmere;

class TestValueFormat : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalComma(false); }

    void formatNumber_data();
    void formatNumber();
    void parseIndex_data();
    void parseIndex();
    void pauseSleepsWithoutRunningTimers();
    void colourTableHoldsTheSixDisplayColours();
};

void TestValueFormat::formatNumber_data()
{
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1.5") << false << "1.5" << "1.50";
    QTest::newRow("0.1") << false << "0.1" << "0.10";
    QTest::newRow("rounded to four decimals") << false << "12.34567" << "12.3457";
    QTest::newRow("three decimals kept") << false << "2.125" << "2.125";
    QTest::newRow("100") << false << "100" << "100.00";
    QTest::newRow("no thousands separator") << false << "123456.7" << "123456.70";
    QTest::newRow("0") << false << "0" << "0.00";
    QTest::newRow("leading point") << false << ".5" << "0.50";
    QTest::newRow("negative keeps sign") << false << "-3.25" << "-3.25";
    QTest::newRow("half at fifth decimal away from zero") << false << "12.34565" << "12.3457";
    QTest::newRow("negative half away from zero") << false << "-0.00005" << "-0.0001";
    QTest::newRow("rounds to zero without sign") << false << "-0.00004" << "0.00";
    QTest::newRow("carry into integer") << false << "9.99999" << "10.00";
    QTest::newRow("exponent") << false << "1.5E2" << "150.00";
    QTest::newRow("blanks around") << false << " 7 " << "7.00";
    QTest::newRow("-99") << false << "-99" << "";
    QTest::newRow("-99.0") << false << "-99.0" << "";
    QTest::newRow("near -99 is a value") << false << "-99.01" << "-99.01";
    QTest::newRow("abc") << false << "abc" << "";
    QTest::newRow("empty") << false << "" << "";
    QTest::newRow("sensor does not know") << false << "?" << "";
    QTest::newRow("overflow") << false << "1e999" << "";
    QTest::newRow("comma on a point system") << false << "1,5" << "";
    QTest::newRow("comma 1,5") << true << "1,5" << "1,50";
    QTest::newRow("comma rounded") << true << "12,34567" << "12,3457";
    QTest::newRow("comma 100") << true << "100" << "100,00";
    QTest::newRow("comma -99,0") << true << "-99,0" << "";
    QTest::newRow("point on a comma system") << true << "1.5" << "";
}

void TestValueFormat::formatNumber()
{
    QFETCH(bool, decimalComma);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    SetDecimalComma(decimalComma);
    QCOMPARE(FormatNumber(text), expected);
}

void TestValueFormat::parseIndex_data()
{
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("expected");

    QTest::newRow("limit itself") << false << "3" << 3 << 0;
    QTest::newRow("last entry") << false << "2" << 3 << 2;
    QTest::newRow("first entry") << false << "0" << 3 << 0;
    QTest::newRow("negative") << false << "-1" << 5 << 0;
    QTest::newRow("half to even down") << false << "2.5" << 5 << 2;
    QTest::newRow("half to even up") << false << "3.5" << 5 << 4;
    QTest::newRow("fraction to nearest") << false << "1.6" << 5 << 2;
    QTest::newRow("just below zero rounds to 0") << false << "-0.4" << 5 << 0;
    QTest::newRow("rounds up onto limit") << false << "2.6" << 3 << 0;
    QTest::newRow("sensor does not know") << false << "?" << 5 << 0;
    QTest::newRow("failure value") << false << "-99" << 5 << 0;
    QTest::newRow("empty") << false << "" << 5 << 0;
    QTest::newRow("beyond 16 bits") << false << "40000" << 32767 << 0;
    QTest::newRow("largest 16-bit") << false << "32766" << 32767 << 32766;
    QTest::newRow("no list") << false << "0" << 0 << 0;
    QTest::newRow("comma fraction") << true << "3,5" << 5 << 4;
    QTest::newRow("point on a comma system") << true << "3.5" << 5 << 0;
}

void TestValueFormat::parseIndex()
{
    QFETCH(bool, decimalComma);
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(int, expected);
    SetDecimalComma(decimalComma);
    QCOMPARE(ParseIndex(text, limit), expected);
}

void TestValueFormat::pauseSleepsWithoutRunningTimers()
{
    test::VirtualClockScope scope;
    bool timerRan = false;
    const qint64 start = scope.clock.nowMs();
    scope.clock.schedule(start + 100, [&timerRan] { timerRan = true; });
    Pause(250);
    QCOMPARE(scope.clock.nowMs(), start + 250);
    QVERIFY(!timerRan);
}

void TestValueFormat::colourTableHoldsTheSixDisplayColours()
{
    FillColourTable();
    const std::array<quint32, 6> packed{255, 16711680, 32768, 16744576, 16711935, 0};
    for (int entry = 0; entry < 6; ++entry)
        QCOMPARE(PackedColour(ColourTable()[entry]), packed[entry]);
    QCOMPARE(ColourTable()[3], QColor(128, 128, 255));
}

QTEST_GUILESS_MAIN(TestValueFormat)
#include "tst_valueformat.moc"
