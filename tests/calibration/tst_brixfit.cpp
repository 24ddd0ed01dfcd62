// The Brix model, its squared error (with the laboratory value narrowed to a 32-bit float),
// the error figure, and the best-fit search: the documented walk from the default start with
// no points, the mended cases where no trial beats 10000 or the model overflows, a search that
// finds known coefficients' neighbourhood, its progress and an early stop. Not covered: the
// window's progress bar and graph, which only show what the callback and result carry.

#include "CalibrationFixture.h"
#include "calibration/BrixFit.h"
#include "link/NumberRules.h"

#include <QTest>
#include <cmath>

using namespace dunmere;
using namespace dunmere::test;

namespace {

bool near(double a, double b, double tolerance = 1e-9) { return std::abs(a - b) <= tolerance; }

// Rows whose lab values are the model's own at the given unscaled values.
CalibrationRows modelRows(const BrixCoefficients& k, const QList<double>& us)
{
    QStringList pairs;
    for (double u : us)
        pairs.append(QString::number(u) + u'/' + QString::number(BrixModel(u, k), 'f', 3));
    return Rows(pairs);
}

}  // namespace

class TestBrixFit : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalComma(false); }

    void modelFollowsItsFormula();
    void clampToRange_data();
    void clampToRange();
    void squaredErrorCountsTickedNumbersWithTheLabValueAsAFloat();
    void errorFigure_data();
    void errorFigure();
    void searchFromTheDefaultStartWithNoPointsMovesAOneStep();
    void searchThatNeverBeatsTenThousandReturnsTheStart();
    void overflowingModelIsNeverAnImprovement();
    void searchApproachesThePointsAndReportsProgress();
    void progressCallbackCanStopTheSearch();
};

void TestBrixFit::modelFollowsItsFormula()
{
    const BrixCoefficients k{101, 0.15, 0.17, -2.5};
    QVERIFY(near(BrixModel(0, k), 101 - 0.15 / 100000));
    QVERIFY(near(BrixModel(40, k), 101 - 0.15 * std::exp(0.17 * 40) / 100000 - 2.5 * 1600 / 1000));
    QCOMPARE(DefaultBrixStart(), k);
    const BrixLimits limits;
    QCOMPARE(limits.low, (BrixCoefficients{97, 0.1, 0.1, -10}));
    QCOMPARE(limits.high, (BrixCoefficients{105, 10, 0.5, 0}));
    QCOMPARE(limits.steps, 10000);
    QCOMPARE(limits.iterations, 100);
}

void TestBrixFit::clampToRange_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("below") << -1.0 << 0.0;
    QTest::newRow("low edge") << 0.0 << 0.0;
    QTest::newRow("inside") << 0.5 << 0.5;
    QTest::newRow("high edge") << 1.0 << 1.0;
    QTest::newRow("above") << 7.0 << 1.0;
}

void TestBrixFit::clampToRange()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(ClampToRange(value, 0, 1), expected);
}

void TestBrixFit::squaredErrorCountsTickedNumbersWithTheLabValueAsAFloat()
{
    const BrixCoefficients flat{0.1, 0, 0, 0};  // Brix 0.1 everywhere
    CalibrationRows rows = Rows({"10/0.1", "~10/50", "abc/3", "20/", "30/1.1"});
    const BrixError e = BrixSquaredError(rows, flat);
    QCOMPARE(e.count, 2);
    // 0.1 as a float is 0.100000001490116...; as a double the first row would add nothing.
    const double narrowed = double(float(0.1)) - 0.1;
    const double second = double(float(1.1)) - 0.1;
    QCOMPARE(e.sum, narrowed * narrowed + second * second);
    QVERIFY(narrowed != 0);
}

void TestBrixFit::errorFigure_data()
{
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<double>("sum");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("figure");
    QTest::newRow("sum 16 over 4") << false << 16.0 << 4 << "1.0000";
    QTest::newRow("root of the sum over the count") << false << 9.0 << 2 << "1.5000";
    QTest::newRow("no points") << false << 5.0 << 0 << "0";
    QTest::newRow("decimal comma") << true << 16.0 << 4 << "1,0000";
}

void TestBrixFit::errorFigure()
{
    QFETCH(bool, decimalComma);
    QFETCH(double, sum);
    QFETCH(int, count);
    QFETCH(QString, figure);
    SetDecimalComma(decimalComma);
    QCOMPARE(ShowBrixError({sum, count}), figure);
}

void TestBrixFit::searchFromTheDefaultStartWithNoPointsMovesAOneStep()
{
    // Every error is 0: only the first trial (A one step up) beats the initial 10000.
    const BrixFitResult r = BrixBestFit(CalibrationRows{}, DefaultBrixStart());
    QVERIFY(near(r.coefficients.A, 101.0008));
    QCOMPARE(r.coefficients.B, 0.15);
    QCOMPARE(r.coefficients.C, 0.17);
    QCOMPARE(r.coefficients.D, -2.5);
    QCOMPARE(ShowBrixError(r.error), QStringLiteral("0"));
    QVERIFY(!r.stopped);
}

void TestBrixFit::searchThatNeverBeatsTenThousandReturnsTheStart()
{
    // Two points of Brix 0 at unscaled 0: every A within 97...105 errs by more than 2 x 97^2.
    const CalibrationRows rows = Rows({"0/0", "0/0"});
    const BrixCoefficients start = DefaultBrixStart();
    const BrixFitResult r = BrixBestFit(rows, start);
    QCOMPARE(r.coefficients, start);  // not four zeros
    QCOMPARE(r.error.count, 2);
    QVERIFY(r.error.sum > 10000);
}

void TestBrixFit::overflowingModelIsNeverAnImprovement()
{
    // e^(0.17 x 1e6) is infinite: every error is infinite or NaN.
    const CalibrationRows rows = Rows({"1000000/50", "2000000/60"});
    const BrixFitResult r = BrixBestFit(rows, DefaultBrixStart());
    QCOMPARE(r.coefficients, DefaultBrixStart());
    QVERIFY(std::isfinite(r.coefficients.A) && std::isfinite(r.coefficients.D));
}

void TestBrixFit::searchApproachesThePointsAndReportsProgress()
{
    const BrixCoefficients truth{100, 0.5, 0.12, -3};
    const CalibrationRows rows = modelRows(truth, {20, 30, 40, 50, 60, 70});
    const BrixCoefficients start = DefaultBrixStart();
    QList<int> reported;
    const BrixFitResult r = BrixBestFit(rows, start, {}, [&](int percent) {
        reported.append(percent);
        return true;
    });
    QVERIFY(r.error.sum < BrixSquaredError(rows, start).sum / 10);
    QCOMPARE(r.error.count, 6);
    QCOMPARE(r.error.sum, BrixSquaredError(rows, r.coefficients).sum);
    const BrixLimits limits;
    QVERIFY(r.coefficients.A >= limits.low.A && r.coefficients.A <= limits.high.A);
    QVERIFY(r.coefficients.D >= limits.low.D && r.coefficients.D <= limits.high.D);
    // One report per evaluation, rising one turn at a time to 100 at the end.
    QCOMPARE(reported.size(), r.evaluations);
    QVERIFY(std::is_sorted(reported.begin(), reported.end()));
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 100);
    QCOMPARE(reported.count(100), 1);
}

void TestBrixFit::progressCallbackCanStopTheSearch()
{
    const CalibrationRows rows = modelRows({100, 0.5, 0.12, -3}, {20, 40, 60});
    int calls = 0;
    const BrixFitResult r = BrixBestFit(rows, DefaultBrixStart(), {}, [&](int) { return ++calls < 50; });
    QVERIFY(r.stopped);
    QCOMPARE(calls, 50);
    QCOMPARE(r.evaluations, 50);
    QVERIFY(r.error.sum <= BrixSquaredError(rows, DefaultBrixStart()).sum);
}

QTEST_GUILESS_MAIN(TestBrixFit)
#include "tst_brixfit.moc"
