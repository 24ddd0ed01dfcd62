// The Sensor page's rows as the model keeps them: ticking and unticking address boxes, the
// six-row limit, packing rows upwards with the selection following its sensor, and emptying
// everything before a search. No bus here; the search that ticks the boxes is in
// tst_SensorBus.

#include "sensor/SensorModel.h"

#include <QtTest>

using namespace dunmere;

namespace {

class RecordingReport final : public SensorPageReport {
public:
    void boxChanged(int box) override { boxes.append(box); }
    void rowsInUse(bool any) override { inUse.append(any); }
    void adaptPages() override { ++adapted; }
    QList<int> boxes;
    QList<bool> inUse;
    int adapted = 0;
};

// Sensors at the given addresses, identities "ID<address>", names "Name<address>".
void fillTable(SensorModel& model, const QList<int>& addresses)
{
    for (int a : addresses) {
        SensorRecord& r = model.SensorTable[a];
        r.FoundAddress = a;
        r.Identity = QStringLiteral("ID%1").arg(a, 6, 10, QLatin1Char('0'));
        r.Name = QStringLiteral("Name%1").arg(a);
    }
}

void tick(SensorModel& model, const QList<int>& addresses)
{
    for (int a : addresses)
        model.CheckBoxClicked(a - 1, true);
}

int rowsMarked(const SensorModel& model)
{
    int marked = 0;
    for (int r = 0; r < SensorModel::RowCount; ++r)
        marked += model.row(r).optionSet ? 1 : 0;
    return marked;
}

}  // namespace

class TestSensorRows : public QObject {
    Q_OBJECT
private slots:
    void tickedBoxFillsFirstFreeRow();
    void seventhBoxUnticksItself();
    void untickingKeepsSelectionOnItsSensor_data();
    void untickingKeepsSelectionOnItsSensor();
    void untickingLastRowHidesTheLists();
    void removeSensorInfoEmptiesEverything();
};

void TestSensorRows::tickedBoxFillsFirstFreeRow()
{
    SensorModel model;
    RecordingReport report;
    model.setReport(&report);
    fillTable(model, {3, 9});
    tick(model, {9, 3});
    QCOMPARE(model.SensorRowCount(), 2);
    QCOMPARE(model.SensorRows(0), 9);
    QCOMPARE(model.SensorRows(1), 3);
    QCOMPARE(model.SensorRows(6), -1);
    const auto& row = model.row(1);
    QCOMPARE(row.caption, QStringLiteral("ID000003"));
    QCOMPARE(row.name, QStringLiteral("Name3"));
    QCOMPARE(row.listItem, 2);
    QVERIFY(row.frameVisible && row.optionVisible && !row.optionSet);
    QCOMPARE(report.inUse, QList<bool>{true});
}

void TestSensorRows::seventhBoxUnticksItself()
{
    SensorModel model;
    RecordingReport report;
    model.setReport(&report);
    fillTable(model, {1, 2, 3, 4, 5, 6, 7});
    tick(model, {1, 2, 3, 4, 5, 6});
    report.boxes.clear();

    model.CheckBoxClicked(6, true);
    QVERIFY(!model.box(6).ticked);
    QCOMPARE(report.boxes, QList<int>{6});
    QCOMPARE(model.SensorRowCount(), 6);
    QCOMPARE(model.rowOf(7), -1);

    // Once a row is free the seventh sensor takes the last one.
    model.CheckBoxClicked(1, false);
    model.CheckBoxClicked(6, true);
    QVERIFY(model.box(6).ticked);
    QCOMPARE(model.SensorRows(5), 7);
    QCOMPARE(model.SensorRows(1), 3);
}

void TestSensorRows::untickingKeepsSelectionOnItsSensor_data()
{
    QTest::addColumn<int>("selected");        // row selected before
    QTest::addColumn<int>("untick");          // address unticked
    QTest::addColumn<int>("selectedAfter");   // SelectedRow after
    QTest::addColumn<int>("addressAfter");    // the sensor it shows
    QTest::addColumn<int>("adapted");
    // Rows hold addresses 1, 2, 3, 4.
    QTest::newRow("selected first row unticked") << 0 << 1 << 0 << 2 << 1;
    QTest::newRow("selected middle row unticked") << 2 << 3 << 0 << 1 << 1;
    QTest::newRow("row above the selected one unticked") << 2 << 1 << 1 << 3 << 1;
    QTest::newRow("row below the selected one unticked") << 1 << 4 << 1 << 2 << 0;
}

void TestSensorRows::untickingKeepsSelectionOnItsSensor()
{
    QFETCH(int, selected);
    QFETCH(int, untick);
    QFETCH(int, selectedAfter);
    QFETCH(int, addressAfter);
    QFETCH(int, adapted);
    SensorModel model;
    RecordingReport report;
    model.setReport(&report);
    fillTable(model, {1, 2, 3, 4});
    tick(model, {1, 2, 3, 4});
    model.drawSelection(selected);

    model.CheckBoxClicked(untick - 1, false);
    QCOMPARE(model.SensorRowCount(), 3);
    QCOMPARE(model.SelectedRow(), selectedAfter);
    QCOMPARE(model.selectedAddress(), addressAfter);
    QCOMPARE(rowsMarked(model), 1);
    QVERIFY(model.row(selectedAfter).optionSet);
    QCOMPARE(report.adapted, adapted);
    QVERIFY(!model.row(3).frameVisible);
    QCOMPARE(model.SensorRows(3), -1);
}

void TestSensorRows::untickingLastRowHidesTheLists()
{
    SensorModel model;
    RecordingReport report;
    model.setReport(&report);
    fillTable(model, {5});
    tick(model, {5});
    model.drawSelection(0);
    model.CheckBoxClicked(4, false);
    QCOMPARE(model.SensorRowCount(), 0);
    QCOMPARE(report.inUse, (QList<bool>{true, false}));
    QCOMPARE(report.adapted, 0);
    QCOMPARE(rowsMarked(model), 0);
}

void TestSensorRows::removeSensorInfoEmptiesEverything()
{
    SensorModel model;
    model.ShowDemonstrationRow();
    model.NoSensorFound = true;
    model.RemoveSensorInfo();
    QVERIFY(!model.row(0).frameVisible);
    QVERIFY(model.row(0).name.isEmpty());
    QCOMPARE(model.row(0).listItem, SensorModel::LastListItem);

    fillTable(model, {2, 4});
    tick(model, {2, 4});
    model.setBox(9, false, false);
    model.setReadings(1, QStringLiteral("1.00"), QStringLiteral("2.0"));
    model.RemoveSensorInfo();
    QCOMPARE(model.SensorRowCount(), 0);
    for (int r = 0; r < SensorModel::RowCount; ++r) {
        QCOMPARE(model.SensorRows(r), -1);
        QVERIFY(!model.row(r).frameVisible && !model.row(r).optionVisible);
        QVERIFY(model.row(r).reading.isEmpty());
    }
    for (int b = 0; b < SensorModel::BoxCount; ++b)
        QVERIFY(model.box(b).enabled && !model.box(b).ticked);
    QCOMPARE(model.SensorTable[4].FoundAddress, 0);
}

QTEST_GUILESS_MAIN(TestSensorRows)
#include "tst_SensorRows.moc"
