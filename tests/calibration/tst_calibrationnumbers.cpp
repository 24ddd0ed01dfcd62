// The numbers of the calibration grid on a point and on a comma system: reading, the fixed
// formats "#0.0000" and "0.00", numbers printed into texts, and the wrong separator replaced.
// Not covered: the number formatter "##0.00##" (tested with the link helpers).

#include "calibration/CalibrationNumbers.h"
#include "link/NumberRules.h"

#include <QTest>
#include <limits>

using namespace dunmere;

class TestCalibrationNumbers : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalComma(false); }
    void numbers_data();
    void numbers();
    void nonFiniteValuesHaveNoText();
};

void TestCalibrationNumbers::numbers_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<QString>("repaired");
    QTest::addColumn<double>("repairedValue");
    QTest::newRow("point system") << false << "45.5" << true << "45.5" << 45.5;
    QTest::newRow("comma on a point system") << false << "45,5" << false << "45.5" << 45.5;
    QTest::newRow("comma system") << true << "45,5" << true << "45,5" << 45.5;
    QTest::newRow("point on a comma system") << true << "80.5" << false << "80,5" << 80.5;
    QTest::newRow("beyond a double") << false << "1e999" << false << "1e999" << 0.0;
    QTest::newRow("blank") << false << " " << false << " " << 0.0;
}

void TestCalibrationNumbers::numbers()
{
    QFETCH(bool, comma);
    QFETCH(QString, typed);
    QFETCH(bool, converts);
    QFETCH(QString, repaired);
    QFETCH(double, repairedValue);
    SetDecimalComma(comma);
    bool ok = !converts;
    (void)CalibrationValue(typed, &ok);
    QCOMPARE(ok, converts);
    QCOMPARE(WithSystemSeparator(typed), repaired);
    QCOMPARE(CalibrationValue(repaired), repairedValue);
    const QString decimal = comma ? QStringLiteral(",") : QStringLiteral(".");
    QCOMPARE(FormatFixed(101.00076, 4), "101" + decimal + "0008");
    QCOMPARE(FormatFixed(-0.00001, 4), "0" + decimal + "0000");
    QCOMPARE(FormatFixed(97.5, 2), "97" + decimal + "50");
    QCOMPARE(NumberText(0.15), "0" + decimal + "15");
    QCOMPARE(NumberText(-2.5), "-2" + decimal + "5");
    QCOMPARE(NumberText(101), QStringLiteral("101"));
}

void TestCalibrationNumbers::nonFiniteValuesHaveNoText()
{
    QCOMPARE(FormatFixed(std::numeric_limits<double>::infinity(), 4), QString());
    QCOMPARE(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), QString());
    QCOMPARE(NumberText(std::numeric_limits<double>::quiet_NaN()), QString());
}

QTEST_GUILESS_MAIN(TestCalibrationNumbers)
#include "tst_calibrationnumbers.moc"
