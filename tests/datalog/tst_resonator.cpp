// The resonator readings: the sweep's points (flat at the bottom and near the top, a short
// reply leaving the curve), the values block (a short reply, commas and points), and one
// refresh against a scripted sensor.

#include "DatalogFixture.h"

#include "datalog/Resonator.h"
#include "link/NumberRules.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TestResonator : public QObject {
    Q_OBJECT
private slots:
    void init() { SetDecimalComma(false); }
    void sweepPoints_data();
    void sweepPoints();
    void sweepCommandIsFiveDigits();
    void valuesBlock_data();
    void valuesBlock();
    void refreshReadsAllThree();
};

void TestResonator::sweepPoints_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("read");
    QTest::newRow("all 0") << QByteArray(50, '\0') << 1024 << 1024 << true;
    QTest::newRow("all 255") << QByteArray(50, '\xFF') << 4 << 4 << true;
    QTest::newRow("longer reply") << QByteArray(50, '\x10') + QByteArray(9, '\xFF') << 960 << 960 << true;
    QTest::newRow("49 bytes keep the curve") << QByteArray(49, '\xFF') << 500 << 500 << false;
    QTest::newRow("failure value") << QByteArray("-99") << 500 << 500 << false;
}

void TestResonator::sweepPoints()
{
    QFETCH(QByteArray, reply);
    SweepPoints points;
    points.fill(500);
    QTEST(DecodeSweep(reply, points), "read");
    QTEST(points.front(), "first");
    QTEST(points.back(), "last");
}

void TestResonator::sweepCommandIsFiveDigits()
{
    QCOMPARE(SweepCommand(), QByteArray("P\x0A" "00000", 7));
    QCOMPARE(ResonatorValuesCommand(), QStringLiteral("P\x0B"));
}

void TestResonator::valuesBlock_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("texts");
    const QString points = QStringLiteral("812.34    6.5       2201      2048      25.25     26.75     800.126   2100");
    QTest::newRow("points") << points << QStringList{"812.34", "6.50", "2201", "2048", "25.2", "26.8", "800.13"};
    QString commas = points;
    commas.replace(u'.', u',');
    QTest::newRow("commas") << commas << QStringList{"812.34", "6.50", "2201", "2048", "25.2", "26.8", "800.13"};
    QString stray;
    for (const char* field : {"  -1.5x9", " ?", "12 3", "1.2.3", "", "", ""})
        stray += QString::fromLatin1(field).leftJustified(10, u' ');
    QTest::newRow("stray characters") << stray << QStringList{"-1.50", "0.00", "123", "1", "0.0", "0.0", "0.00"};
    QTest::newRow("61 characters") << points.left(61) << QStringList();
    QTest::newRow("failure value") << QStringLiteral("-99") << QStringList();
}

void TestResonator::valuesBlock()
{
    QFETCH(QString, reply);
    QFETCH(QStringList, texts);
    const auto values = DecodeResonatorValues(reply);
    QCOMPARE(values.has_value(), !texts.isEmpty());
    if (values) {
        const auto shown = ResonatorValueTexts(*values);
        QCOMPARE(QStringList(shown.begin(), shown.end()), texts);
    }
}

void TestResonator::refreshReadsAllThree()
{
    DatalogFixture f;
    f.replies[6] = {{SweepCommand(), QByteArray(50, '\x80')},
                    {"P\x0B", "812.34    6.5       2201      2048      25.25     26.75     800.126   2100"},
                    {"R75", "23.50"}};
    ResonatorReading r;
    ReadResonator(f.link, 6, r);
    QVERIFY(r.sweepRead);
    QCOMPARE(r.points[17], 512);
    QVERIFY(r.values);
    QCOMPARE(r.materialTemperature, QStringLiteral("23.50"));

    // Silence: the curve stays, the values go, the material temperature reads -99.
    f.replies[6].clear();
    ReadResonator(f.link, 6, r);
    QVERIFY(!r.sweepRead);
    QCOMPARE(r.points[17], 512);
    QVERIFY(!r.values);
    QCOMPARE(r.materialTemperature, QStringLiteral("-99"));
}

QTEST_GUILESS_MAIN(TestResonator)
#include "tst_resonator.moc"
