// The moisture fit with and without its rules: the three spread cases, the clamp to the sand
// and fine slopes, the pivot onto the 5...50 crossing limits, the validity rule and the
// status each case leaves, what becomes of each row and text (unticked, black, red), the
// graph's full scale, and the two divisions by zero that must end as an invalid calibration
// instead of a NaN. Not covered: drawing, which the window does from these results.

#include "CalibrationFixture.h"
#include "calibration/MoistureFit.h"
#include "link/NumberRules.h"

#include <QTest>
#include <cmath>

using namespace dunmere;
using namespace dunmere::test;

class TestMoistureFit : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalComma(false); }

    void rulesOn_data();
    void rulesOn();
    void rulesOff_data();
    void rulesOff();
    void rowVerdicts_data();
    void rowVerdicts();
    void pointSetHasMeansExtremesFullScaleAndHighlight();
    void pivotMovesTheCrossingOntoTheLimit();
    void statusMessages_data();
    void statusMessages();
};

void TestMoistureFit::rulesOn_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");

    QTest::newRow("one point: average slope, no pivot") << QStringList{"40/5"} << "Using Average Slope" << "0.2186" << "-3.744";
    QTest::newRow("no ticked row") << QStringList{"~40/5"} << "Invalid Calibration" << "" << "";
    QTest::newRow("empty grid") << QStringList{} << "Invalid Calibration" << "" << "";
    // Least squares 0.35 over a 4-unscaled range: clamped to 0.2857, C = 4.2 - 0.2857 x 12 =
    // 0.7716 crosses at -2.7, so the line pivots through (5, 0) and the mean (12, 4.2):
    // C = 4.2 / (1 - 12/5) = -3, B = (4.2 + 3) / 12 = 0.6.
    QTest::newRow("medium spread, steep: sand slope, pivoted")
        << QStringList{"10/3.5", "12/4.2", "14/4.9"} << "Sand Slope" << "0.60" << "-3.00";
    // Least squares 0.0333 over a range of 6: clamped to 0.1515, C = 4.55 - 0.1515 x 13 =
    // 2.5805 crosses at -17: the line through (5, 0) and (13, 4.55): C = -2.84375, B = 0.56875.
    QTest::newRow("medium spread, flat: fine slope, pivoted")
        << QStringList{"10/3.9", "10/5", "16/4.1", "16/5.2"} << "Fine Slope" << "0.5688" << "-2.8438";
    QTest::newRow("medium spread inside the limits keeps its line")
        << QStringList{"10/0.5", "12/1", "14/1.5", "16/2"} << "" << "0.25" << "-2.00";
    QTest::newRow("wide spread, slope 3: warns, stays valid") << QStringList{"10/6", "20/36"} << "Warning Slope" << "3.00" << "-24.00";
    QTest::newRow("wide spread, slope 3 crossing at 2") << QStringList{"10/24", "20/54"} << "Warning XAxis" << "3.00" << "-6.00";
    QTest::newRow("wide spread, plain") << QStringList{"10/0", "30/6", "20/3"} << "" << "0.30" << "-3.00";
    QTest::newRow("negative slope with a positive intercept is valid") << QStringList{"10/-1", "30/-7"} << "Warning Slope" << "-0.30" << "2.00";
    // Average slope at (6, 5): crossing at -16.9, pivot gives 5, outside 0.06...2.
    QTest::newRow("pivoted slope outside the limits") << QStringList{"6/5"} << "Invalid Calibration" << "" << "";
    QTest::newRow("negative slope and intercept") << QStringList{"10/-4", "30/-10"} << "Invalid Calibration" << "" << "";
    // Mended: the mean unscaled value is 0 and the crossing at 91.5 > 50; the pivot through
    // (50, 0) would divide by it and leave B = NaN.
    QTest::newRow("pivot to 50 with a mean unscaled of 0") << QStringList{"-1/-20", "1/-20"} << "Invalid Calibration" << "" << "";
    // Mended: wide spread with a least-squares slope of exactly 0 has no crossing.
    QTest::newRow("wide spread with slope 0") << QStringList{"0/0", "10/10", "20/0"} << "Invalid Calibration" << "" << "";
    QTest::newRow("values that overflow the sums") << QStringList{"-1e300/5", "1e300/90", "0/1"} << "Invalid Calibration" << "" << "";
}

void TestMoistureFit::rulesOn()
{
    QFETCH(QStringList, points);
    QFETCH(QString, status);
    QFETCH(QString, b);
    QFETCH(QString, c);
    const MoistureFit fit = FitMoistureCalibration(Rows(points), -1, true);
    QCOMPARE(fit.result.status, status);
    QCOMPARE(fit.bText(), b);
    QCOMPARE(fit.cText(), c);
    QVERIFY(fit.ruleLines);
    QCOMPARE(fit.writeEnabled, std::optional<bool>(status != MoistureStatus::InvalidCalibration));
    QCOMPARE(fit.result.hasLine, !b.isEmpty());
    if (fit.result.hasLine)
        QVERIFY(std::isfinite(fit.result.B) && std::isfinite(fit.result.C));
}

void TestMoistureFit::rulesOff_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");

    QTest::newRow("equal unscaled values") << QStringList{"40/5", "40/7"} << "0.00" << "0.00";
    // 40.1 three times leaves rounding noise in the least-squares denominator.
    QTest::newRow("equal unscaled values with decimals") << QStringList{"40.1/5", "40.1/7", "40.1/6"} << "0.00" << "0.00";
    QTest::newRow("one point: no result") << QStringList{"40/5"} << "" << "";
    QTest::newRow("slope 3 kept, no rules") << QStringList{"10/24", "20/54"} << "3.00" << "-6.00";
    QTest::newRow("negative line kept") << QStringList{"10/-1", "30/-7"} << "-0.30" << "2.00";
}

void TestMoistureFit::rulesOff()
{
    QFETCH(QStringList, points);
    QFETCH(QString, b);
    QFETCH(QString, c);
    const MoistureFit fit = FitMoistureCalibration(Rows(points), -1, false);
    QCOMPARE(fit.bText(), b);
    QCOMPARE(fit.cText(), c);
    QCOMPARE(fit.result.status, QString());
    QVERIFY(!fit.ruleLines);
    QVERIFY(!fit.writeEnabled.has_value());
}

void TestMoistureFit::rowVerdicts_data()
{
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<QString>("row");  // unscaled/lab, "~" unticked
    QTest::addColumn<bool>("unticked");
    QTest::addColumn<int>("unscaledMark");
    QTest::addColumn<int>("labMark");
    QTest::addColumn<int>("points");

    const int same = int(TextMark::Unchanged), black = int(TextMark::Accepted), red = int(TextMark::Invalid);
    QTest::newRow("100 accepted") << false << "100/5" << false << black << black << 1;
    QTest::newRow("101 unscaled refused") << false << "101/5" << true << red << same << 0;
    QTest::newRow("101 lab refused after a good unscaled") << false << "40/101" << true << black << red << 0;
    QTest::newRow("negative accepted") << false << "-3/5" << false << black << black << 1;
    QTest::newRow("not a number") << false << "abc/5" << true << red << same << 0;
    QTest::newRow("empty unscaled: unticked, not red") << false << "/5" << true << same << same << 0;
    QTest::newRow("blank is not empty") << false << " /5" << true << red << same << 0;
    QTest::newRow("unticked row is only checked") << false << "~abc/200" << false << red << red << 0;
    QTest::newRow("unticked good row untouched") << false << "~40/5" << false << same << same << 0;
    QTest::newRow("decimal comma read") << true << "40,5/5,25" << false << black << black << 1;
    QTest::newRow("point on a comma system refused") << true << "40.5/5" << true << red << same << 0;
    QTest::newRow("comma on a point system refused") << false << "40/5,5" << true << black << red << 0;
}

void TestMoistureFit::rowVerdicts()
{
    QFETCH(bool, decimalComma);
    QFETCH(QString, row);
    QFETCH(bool, unticked);
    QFETCH(int, unscaledMark);
    QFETCH(int, labMark);
    QFETCH(int, points);
    SetDecimalComma(decimalComma);
    const CalibrationRows rows = Rows({QStringLiteral("20/3"), row});
    const MoistureFit fit = FitMoistureCalibration(rows, -1, true);
    const MoistureRowVerdict& v = fit.verdicts[1];
    QCOMPARE(v.unticked, unticked);
    QCOMPARE(int(v.unscaled), unscaledMark);
    QCOMPARE(int(v.lab), labMark);
    QCOMPARE(fit.points.count(), 1 + points);
    const CalibrationRows after = ApplyVerdicts(rows, fit);
    QCOMPARE(after[1].include, rows[1].include && !unticked);
    QVERIFY(after[0].include);
}

void TestMoistureFit::pointSetHasMeansExtremesFullScaleAndHighlight()
{
    const MoistureFit fit = FitMoistureCalibration(Rows({"10/2", "~50/50", "30/12", "abc/1", "20/10"}), 2, true);
    const MoisturePointSet& p = fit.points;
    QCOMPARE(p.X, (QList<double>{10, 30, 20}));
    QCOMPARE(p.Y, (QList<double>{2, 12, 10}));
    QCOMPARE(p.rows, (QList<int>{0, 2, 4}));
    QCOMPARE(p.highlighted, (QList<bool>{false, true, false}));
    QCOMPARE(p.minX, 10.0);
    QCOMPARE(p.maxX, 30.0);
    QCOMPARE(p.minY, 2.0);
    QCOMPARE(p.maxY, 12.0);
    QCOMPARE(p.meanX, 20.0);
    QCOMPARE(p.meanY, 8.0);
    QCOMPARE(p.fullScale, 15);  // 5 x (floor(12 / 5) + 1)

    QCOMPARE(FitMoistureCalibration(Rows({"10/3"}), -1, true).points.fullScale, 10);  // at least 10
    QCOMPARE(FitMoistureCalibration(Rows({"10/10"}), -1, true).points.fullScale, 15);
    QCOMPARE(FitMoistureCalibration(Rows({}), -1, true).points.fullScale, 10);
}

void TestMoistureFit::pivotMovesTheCrossingOntoTheLimit()
{
    // Crossing at 60 > 50: the line through (50, 0) and the mean (70, 10): B = 0.5, C = -25.
    auto [b, c] = PivotLineToAxisLimit(0.25, -15, 70, 10);
    QCOMPARE(b, 0.5);
    QCOMPARE(c, -25.0);
    // Crossing inside the limits: untouched.
    std::tie(b, c) = PivotLineToAxisLimit(0.25, -5, 40, 5);
    QCOMPARE(b, 0.25);
    QCOMPARE(c, -5.0);
    // Mean unscaled at the limit itself: no line through two equal points.
    std::tie(b, c) = PivotLineToAxisLimit(0.25, 5, 5, 3);
    QCOMPARE(b, 0.0);
    // A level line stays level and is refused by the slope limits.
    std::tie(b, c) = PivotLineToAxisLimit(0, 5, 10, 5);
    QCOMPARE(b, 0.0);
}

void TestMoistureFit::statusMessages_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << "" << "";
    QTest::newRow("slope") << "Warning Slope" << "LangWarningSlope";
    QTest::newRow("axis") << "Warning XAxis" << "LangWarningAxis";
    QTest::newRow("sand") << "Sand Slope" << "LangWarningSand";
    QTest::newRow("fine") << "Fine Slope" << "LangWarningFine";
    QTest::newRow("average") << "Using Average Slope" << "LangWarningAvg";
    QTest::newRow("invalid") << "Invalid Calibration" << "Invalid Calibration";
}

void TestMoistureFit::statusMessages()
{
    QFETCH(QString, status);
    QFETCH(QString, message);
    QCOMPARE(MoistureStatusMessage(status, CalibrationTexts()), message);
}

QTEST_GUILESS_MAIN(TestMoistureFit)
#include "tst_moisturefit.moc"
