// The acquisition turns on a scripted bus and the virtual clock: the trend block decoded into
// its readings, which parameters are read with and without logging, an unanswered parameter
// and a failed poll, the log line of a turn, the raw blocks (odd lengths included) and the
// raw log lines. The graph and the file are tested on their own.

#include "DatalogFixture.h"

#include "datalog/TrendAcquisition.h"
#include "datalog/TrendReplies.h"
#include "link/NumberRules.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

const QByteArray P0C = QByteArray("P\x0C");

QByteArray block()
{
    return DatalogFixture::trendBlock({"12.34", "13.46", "14.56", "40.00", "41.25", "42.50", "25.5", "26.5"});
}

}  // namespace

class TestTrendAcquisition : public QObject {
    Q_OBJECT
private slots:
    void init() { SetDecimalComma(false); }
    void trendBlockColumns_data();
    void trendBlockColumns();
    void normalTurnFillsTheStoreAndTheLabels();
    void loggingReadsOnlyTheTickedParameters();
    void unansweredMaterialTemperatureLogsDashes();
    void rawBlocks_data();
    void rawBlocks();
    void rawTurnLogsOneLinePerSample();
};

void TestTrendAcquisition::trendBlockColumns_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("readings");  // 0, 1, 3, 4, 5, 6
    QTest::newRow("good block") << QString::fromLatin1(block())
                                << QStringList{"41.25", "42.50", "13.5", "14.6", "25.5", "26.5"};
    QTest::newRow("failed poll") << QStringLiteral("-99")
                                 << QStringList{"-99.00", "-99.00", "-99.0", "-99.0", "-99.0", "-99.0"};
    QTest::newRow("short block") << QString::fromLatin1(block().left(45))
                                 << QStringList{"41.25", "-99.00", "13.5", "14.6", "-99.0", "-99.0"};
    QTest::newRow("field without digits") << QString::fromLatin1(DatalogFixture::trendBlock({"x", "x", "x", "x", "?", "x", "x", "x"}))
                                          << QStringList{"0.00", "0.00", "0.0", "0.0", "0.0", "0.0"};
    QTest::newRow("implied decimals") << QString::fromLatin1(DatalogFixture::trendBlock({"0", "1346", "0", "0", "4125", "0", "255", "0"}))
                                      << QStringList{"41.25", "0.00", "13.5", "0.0", "25.5", "0.0"};
}

void TestTrendAcquisition::trendBlockColumns()
{
    QFETCH(QString, reply);
    QFETCH(QStringList, readings);
    const auto values = DecodeTrendBlock(reply);
    const int indices[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(values[indices[i]], readings[i]);
    QVERIFY(values[2].isEmpty() && values[7].isEmpty() && values[9].isEmpty());
}

void TestTrendAcquisition::normalTurnFillsTheStoreAndTheLabels()
{
    DatalogFixture f;
    f.replies[4] = {{P0C, block()}, {"R75", "21.37"}, {"R46", "39.5"}};
    DataLog log(f.texts, &f.messages);
    TrendAcquisition a(f.link, log);
    a.setRows({4}, 0);
    a.graphedReading = 7;
    a.IntervalSeconds = 2;
    const qint64 start = f.clock.clock.nowMs();
    QVERIFY(a.runDueTurn());
    QCOMPARE(*a.TimeOrigin, start - 2000);
    QCOMPARE(a.NextDue, start + 1999);
    QCOMPARE(a.trend().writePosition(), 1);
    QCOMPARE(a.trend().cell(0, 0, 0), QStringLiteral("41.25"));
    QCOMPARE(a.trend().cell(0, 2, 0), QStringLiteral("39.50"));
    QCOMPARE(a.trend().cell(0, 7, 0), QStringLiteral("21.4"));
    QCOMPARE(a.trend().cell(0, BrixReading, 0), QStringLiteral("---"));  // not offered, not asked
    QCOMPARE(a.trend().cell(0, RawReading1, 0), NoTrendValue);
    QCOMPARE(a.label(0).value, QStringLiteral("21.4"));
    QVERIFY(a.label(0).valueVisible);
    QCOMPARE(f.count(4, "R74"), 0);
    // Not due again until the interval has passed.
    QVERIFY(!a.runDueTurn());
    QVERIFY(f.clock.clock.runUntil([&] { return f.clock.clock.nowMs() > a.NextDue; }, 5000));
    QVERIFY(a.runDueTurn());
    QCOMPARE(a.trend().writePosition(), 2);
    QVERIFY(!log.Logging);
}

void TestTrendAcquisition::loggingReadsOnlyTheTickedParameters()
{
    DatalogFixture f;
    f.replies[1] = {{P0C, block()}, {"R75", "21.37"}, {"R46", "39.5"}};
    f.replies[2] = {{P0C, block()}, {"R75", "19.00"}, {"R46", "1"}};
    DataLog log(f.texts, &f.messages);
    TrendAcquisition a(f.link, log);
    a.setRows({1, 2}, 0);
    a.ticked[0] = a.ticked[3] = true;
    log.LogStartPending = true;
    a.NormalTurn();
    QVERIFY(log.Logging);
    QVERIFY(log.LogStart);
    QCOMPARE(f.count(1, "R75") + f.count(1, "R46") + f.count(2, "R75"), 0);
    QCOMPARE(a.trend().cell(1, 7, 0), QStringLiteral("---"));
    QVERIFY(log.buffer().endsWith(QStringLiteral("\t\t\r\n")));
    const QStringList cells = log.buffer().chopped(2).split(u'\t');
    // Two groups of time, seconds, readings 0 and 3, and an empty cell (then the line's end).
    QCOMPARE(cells.size(), 11);
    QCOMPARE(cells[1], QStringLiteral("0.000"));
    QCOMPARE(cells.mid(2, 3), (QStringList{"41.25", "13.5", ""}));
    QCOMPARE(cells.mid(7, 2), (QStringList{"41.25", "13.5"}));
    QVERIFY(!a.logTimeText().isEmpty());
}

void TestTrendAcquisition::unansweredMaterialTemperatureLogsDashes()
{
    DatalogFixture f;
    f.replies[5] = {{P0C, block()}};  // parameter 75 gets no reply
    DataLog log(f.texts, &f.messages);
    TrendAcquisition a(f.link, log);
    a.setRows({5}, 0);
    a.ticked[0] = a.ticked[7] = true;
    a.graphedReading = 7;
    log.LogStartPending = true;
    a.NormalTurn();
    QCOMPARE(f.count(5, "R75"), 3);
    QCOMPARE(log.buffer().split(u'\t').mid(2, 2), (QStringList{"41.25", "---"}));
    QCOMPARE(a.label(0).value, QStringLiteral("---"));
}

void TestTrendAcquisition::rawBlocks_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QList<double>>("samples");
    QTest::newRow("two samples") << QByteArray("\x0F\xA0\x00\x64", 4) << QList<double>{40.0, 1.0};
    QTest::newRow("odd length") << QByteArray("\xFF\xFF\x12", 3) << QList<double>{655.35};
    QTest::newRow("one byte") << QByteArray("\x12", 1) << QList<double>{};
    QTest::newRow("empty") << QByteArray() << QList<double>{};
}

void TestTrendAcquisition::rawBlocks()
{
    QFETCH(QByteArray, payload);
    QTEST(DecodeRawBlock(payload), "samples");
}

void TestTrendAcquisition::rawTurnLogsOneLinePerSample()
{
    DatalogFixture f;
    f.replies[2] = {{"R100", QByteArray("\x0F\xA0\x00\x64\x01", 5)}};
    DataLog log(f.texts, &f.messages);
    TrendAcquisition a(f.link, log);
    a.setRows({1, 2}, 1);
    a.graphedReading = RawReading1;
    a.ticked[RawReading1] = true;
    log.LogStartPending = true;
    QVERIFY(a.rawMode());
    a.RawTurn();
    QVERIFY(log.Logging);
    QCOMPARE(a.raw(1).writePosition(), 2);
    QCOMPARE(*a.raw(1).at(1), 1.0);
    QCOMPARE(*a.RawLatest(1), 1.0);
    QCOMPARE(a.label(1).value, QStringLiteral("1.00"));
    QVERIFY(!a.label(0).nameVisible);
    const QStringList lines = log.buffer().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    // The first sensor's group stays empty; the selected one's holds time, sample time, value.
    QCOMPARE(lines[0].split(u'\t').mid(4, 3).mid(1), (QStringList{"0.00", "40.00"}));
    QCOMPARE(lines[1].split(u'\t').mid(4, 3).mid(1), (QStringList{"0.04", "1.00"}));
    QCOMPARE(log.RawSampleTime, 0.08);
    // Within the second nothing more is asked; a failed block leaves the store as it was.
    a.RawTurn();
    QCOMPARE(f.count(2, "R100"), 1);
    f.replies[2].clear();
    QVERIFY(f.clock.clock.runUntil([&] { return f.clock.clock.nowMs() > a.NextDue; }, 5000));
    a.RawTurn();
    QCOMPARE(a.raw(1).writePosition(), 2);
    QCOMPARE(log.buffer().count(QStringLiteral("\r\n")), 2);
}

QTEST_GUILESS_MAIN(TestTrendAcquisition)
#include "tst_trendacquisition.moc"
