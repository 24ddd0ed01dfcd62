// The calibration notebook: fitted values and residuals of the points a fit used, in grid-row
// order, and the point that stands out (largest residual beyond twice the residual standard
// deviation) for both fits; no flag for points on the line, for too few points, or without a
// line. Not covered: how the windows mark the flagged row.

#include "CalibrationFixture.h"
#include "calibration/CalibrationNotebook.h"
#include "calibration/MoistureFit.h"

#include <QTest>
#include <cmath>

using namespace dunmere;
using namespace dunmere::test;

class TestCalibrationNotebook : public QObject {
    Q_OBJECT

private slots:
    void moistureResidualsAndTheOutlier();
    void noFlag_data();
    void noFlag();
    void brixResidualsFollowTheModel();
};

void TestCalibrationNotebook::moistureResidualsAndTheOutlier()
{
    // On the line 0.25 x - 2 except row 6, 3 above it; row 2 is unticked and not a point.
    const QStringList pairs{"10/0.5", "14/1.5", "~18/9", "22/3.5", "26/4.5", "30/5.5", "34/9.5", "38/7.5", "42/8.5", "46/9.5"};
    const MoistureFit fit = FitMoistureCalibration(Rows(pairs), -1, false);
    const CalibrationNotebook book = MoistureNotebook(fit);
    QCOMPARE(book.entries.size(), 9);
    QVERIFY(!book.entryForRow(2));
    for (qsizetype k = 0; k < book.entries.size(); ++k) {
        const NotebookEntry& e = book.entries[k];
        QCOMPARE(e.row, fit.points.rows[k]);
        QVERIFY(std::abs(e.fitted - (fit.result.B * fit.points.X[k] + fit.result.C)) < 1e-12);
        QCOMPARE(e.residual, e.lab - e.fitted);
    }
    const auto outlier = book.entryForRow(6);
    QVERIFY(outlier);
    QCOMPARE(outlier->lab, 9.5);
    QCOMPARE(book.worstRow, 6);
    QVERIFY(std::abs(outlier->residual) > 2 * book.residualDeviation);
    QCOMPARE(CalibrationNotebook::valueText(-0.004), QStringLiteral("0.00"));
    QCOMPARE(CalibrationNotebook::valueText(2.346), QStringLiteral("2.35"));
}

void TestCalibrationNotebook::noFlag_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<bool>("rules");
    QTest::addColumn<int>("entries");
    QTest::newRow("points on the line") << QStringList{"10/0.5", "14/1.5", "22/3.5", "26/4.5", "30/5.5", "34/6.5", "38/7.5"} << false << 7;
    QTest::newRow("two points") << QStringList{"10/1", "20/9"} << false << 2;
    QTest::newRow("spread evenly") << QStringList{"10/1", "20/3", "30/4", "40/7"} << false << 4;
    QTest::newRow("invalid calibration has no line") << QStringList{"6/5"} << true << 0;
}

void TestCalibrationNotebook::noFlag()
{
    QFETCH(QStringList, pairs);
    QFETCH(bool, rules);
    QFETCH(int, entries);
    const CalibrationNotebook book = MoistureNotebook(FitMoistureCalibration(Rows(pairs), -1, rules));
    QCOMPARE(book.entries.size(), entries);
    QCOMPARE(book.worstRow, -1);
}

void TestCalibrationNotebook::brixResidualsFollowTheModel()
{
    const BrixCoefficients k{100, 0, 0, -1};  // 100 - u^2 / 1000
    const CalibrationRows rows = Rows({"10/99.9", "20/99.6", "30/99.1", "40/98.4", "50/90", "60/96.4", "~70/1"});
    const CalibrationNotebook book = BrixNotebook(rows, k);
    QCOMPARE(book.entries.size(), 6);
    QCOMPARE(book.entries[4].row, 4);
    QCOMPARE(book.entries[4].fitted, 97.5);
    QCOMPARE(book.entries[4].residual, -7.5);
    QCOMPARE(book.worstRow, 4);
}

QTEST_GUILESS_MAIN(TestCalibrationNotebook)
#include "tst_calibrationnotebook.moc"
