// The trend graph's geometry: the scale boxes and their limits, the grid, the time labels,
// which values give a point, and where the newest sample stands in normal and raw mode.
// Painting itself is the window's test.

#include "datalog/TrendGraph.h"
#include "datalog/TrendStore.h"

#include <QTest>

using namespace dunmere;

class TestTrendGraph : public QObject {
    Q_OBJECT
private slots:
    void scaleBoxes_data();
    void scaleBoxes();
    void gridOfFiftyToMinusFive();
    void gridInterval_data();
    void gridInterval();
    void timeLabels_data();
    void timeLabels();
    void valueAtTheBottomIsNotDrawn();
    void newestSampleStandsAtTheRightEdge_data();
    void newestSampleStandsAtTheRightEdge();
    void gapsAreBridged();
};

void TestTrendGraph::scaleBoxes_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<int>("expectedTop");
    QTest::addColumn<int>("expectedBottom");
    QTest::addColumn<QString>("shownTop");
    QTest::addColumn<QString>("shownBottom");
    QTest::newRow("design values") << "50" << "-5" << 50 << -5 << "50" << "-5";
    QTest::newRow("top limited") << "300" << "0" << 200 << 0 << "200" << "0";
    QTest::newRow("bottom limited") << "10" << "-80" << 10 << -50 << "10" << "-50";
    QTest::newRow("bottom equals top") << "7" << "7" << 8 << 7 << "8" << "7";
    QTest::newRow("bottom above top") << "5" << "9" << 10 << 9 << "10" << "9";
    QTest::newRow("top not a number keeps the scale") << "abc" << "0" << 30 << 2 << "abc" << "0";
    QTest::newRow("bottom not a number keeps the scale") << "40" << "x" << 30 << 2 << "40" << "x";
    QTest::newRow("an empty box keeps the scale") << "" << "0" << 30 << 2 << "" << "0";
    QTest::newRow("beyond 16 bits keeps the scale") << "70000" << "0" << 30 << 2 << "70000" << "0";
}

void TestTrendGraph::scaleBoxes()
{
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    const TrendScale s = GetScale(top, bottom, 30, 2);
    QTEST(s.top, "expectedTop");
    QTEST(s.bottom, "expectedBottom");
    QTEST(s.topText, "shownTop");
    QTEST(s.bottomText, "shownBottom");
}

void TestTrendGraph::gridOfFiftyToMinusFive()
{
    const TrendScale s = GetScale(QStringLiteral("50"), QStringLiteral("-5"), 0, 0);
    QCOMPARE(s.range(), 55);
    QCOMPARE(GridInterval(s.range()), 10);
    const QList<int> lines = GridLines(s.range(), 10);
    // nearest(5.5) = 6 lines; y = 3000 - 100k x 3000/550.
    QCOMPARE(lines, (QList<int>{2455, 1909, 1364, 818, 273, -273}));
}

void TestTrendGraph::gridInterval_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("interval");
    for (auto [range, interval] : {std::pair{1, 1}, {4, 1}, {5, 2}, {19, 2}, {20, 5}, {49, 5}, {50, 10}, {100, 10},
                                   {101, 20}, {250, 20}})
        QTest::addRow("%d", range) << range << interval;
}

void TestTrendGraph::gridInterval()
{
    QFETCH(int, range);
    QTEST(GridInterval(range), "interval");
}

void TestTrendGraph::timeLabels_data()
{
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("not full, 1 s") << 37 << 100 << 0 << 100;
    QTest::newRow("not full, 5 s") << 120 << 500 << 0 << 500;
    QTest::newRow("just full") << 100 << 100 << 0 << 100;
    QTest::newRow("running on") << 412 << 100 << 312 << 412;
    QTest::newRow("raw") << 25 << 20 << 5 << 25;
}

void TestTrendGraph::timeLabels()
{
    QFETCH(int, elapsed);
    QFETCH(int, window);
    const auto [left, right] = TimeLabels(elapsed, window);
    QTEST(left, "left");
    QTEST(right, "right");
}

void TestTrendGraph::valueAtTheBottomIsNotDrawn()
{
    const TrendScale s = GetScale(QStringLiteral("50"), QStringLiteral("-5"), 0, 0);
    QVERIFY(!ValueY(-5.0, s));   // y = 3000
    QVERIFY(!ValueY(-99.0, s));  // a failed poll
    QVERIFY(!ValueY(50.0, s));   // y = 0
    QCOMPARE(*ValueY(-4.9, s), 2995);
    QCOMPARE(*ValueY(22.5, s), 1500);
}

void TestTrendGraph::newestSampleStandsAtTheRightEdge_data()
{
    QTest::addColumn<bool>("raw");
    QTest::newRow("normal") << false;
    QTest::newRow("raw") << true;
}

void TestTrendGraph::newestSampleStandsAtTheRightEdge()
{
    QFETCH(bool, raw);
    const TrendScale s = GetScale(QStringLiteral("50"), QStringLiteral("-5"), 0, 0);
    QList<QLine> segments;
    int samples = 0;
    if (raw) {
        RawStore store;
        for (int i = 0; i < 730; ++i)  // wrapped once and more
            store.append(i == 729 ? 40.0 : 10.0);
        samples = RawStore::Samples;
        segments = CurveSegments([&](int i) { return store.at(i); }, samples, store.writePosition(), trendgraph::RawStep, s);
        QCOMPARE(segments.last().p2(), QPoint(4990, *ValueY(40.0, s)));
    } else {
        TrendStore store;
        for (int i = 0; i < 137; ++i) {
            store.set(0, 0, i == 136 ? QStringLiteral("40.00") : QStringLiteral("10.00"));
            store.advance();
        }
        samples = TrendStore::Samples;
        segments = CurveSegments([&](int i) { return TrendStore::valueOf(store.cell(0, 0, i)); }, samples,
                                 store.writePosition(), trendgraph::NormalStep, s);
        QCOMPARE(segments.last().p2(), QPoint(4950, *ValueY(40.0, s)));
    }
    QCOMPARE(segments.first().p1().x(), raw ? 10 : 50);
}

void TestTrendGraph::gapsAreBridged()
{
    const TrendScale s = GetScale(QStringLiteral("50"), QStringLiteral("-5"), 0, 0);
    TrendStore store;
    const QStringList cells = {QStringLiteral("10.0"), QStringLiteral("---"), NoTrendValue, QStringLiteral("20.0")};
    for (const QString& c : cells) {
        store.set(0, 7, c);
        store.advance();
    }
    const QList<QLine> segments = CurveSegments([&](int i) { return TrendStore::valueOf(store.cell(0, 7, i)); },
                                                TrendStore::Samples, store.writePosition(), trendgraph::NormalStep, s);
    QCOMPARE(segments.size(), 1);
    QCOMPARE(segments[0].p1().x(), 4800);
    QCOMPARE(segments[0].p2().x(), 4950);
}

QTEST_GUILESS_MAIN(TestTrendGraph)
#include "tst_trendgraph.moc"
