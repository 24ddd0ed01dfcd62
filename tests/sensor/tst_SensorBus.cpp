// The bus search, the address and name change and the live readings against the in-process
// simulated bus on the virtual clock (plus one scripted transport where a sensor must fail in
// a way the simulator does not offer). What the page does with the reports is left to the
// page's own tests.

#include "sensor/LiveReadings.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/Transport.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QtTest>

using namespace dunmere;

namespace {

class RecordingMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons) override
    {
        shown.append(text);
        return true;
    }
    QStringList shown;
};

// Texts are their keys, so a test sees which key a message used.
class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

class CountingReport final : public SensorPageReport {
public:
    void adaptPages() override { ++adapted; }
    void demonstrationMode() override { ++demonstration; }
    void sensorsFound() override { ++found; }
    int adapted = 0;
    int demonstration = 0;
    int found = 0;
};

struct BusFixture {
    test::VirtualClockScope clock;
    sim::SimBus bus;
    sim::SimTransport transport{bus, Transport::Kind::Serial};
    Link link;
    SensorModel model;
    RecordingMessages messages;
    KeyTexts texts;
    CountingReport report;
    SensorBus sensors{link, model, &messages, &texts};

    BusFixture()
    {
        link.setTransport(&transport);
        model.setReport(&report);
        sensors.setProbeTimeout(400);
    }

    sim::VirtualSensor* add(int address, int typeCode, const QByteArray& name = "Belt")
    {
        sim::SensorSetup setup;
        setup.address = address;
        setup.typeCode = typeCode;
        setup.name = name;
        return bus.addSensor(setup);
    }

    // The commands the sensors heard for one address, in order.
    QList<QByteArray> heard(int address) const
    {
        QList<QByteArray> out;
        for (const auto& f : bus.received())
            if (f.address == address)
                out.append(f.payload);
        return out;
    }
};

const QByteArray Identify = QByteArray("P\x01", 2);

}  // namespace

class TestSensorBus : public QObject {
    Q_OBJECT
private slots:
    void searchFillsTableAndRowsInAddressOrder();
    void autoCalAskedOfSensorSelectedBefore_data();
    void autoCalAskedOfSensorSelectedBefore();
    void frameCodeOneIsNotASensor();
    void identificationFailingTwiceGivesFailureRow();
    void probeWithoutSpeedSettingWaitsOneSecond();
    void transportSwitchOvertakesSearch();
    void nameOnlyChangeCarriesOldAddress();
    void occupiedAddressRefusesAndRestores();
    void moveTakesRecordAndBoxesAlong();
    void moveThatNobodyAnswersIsReported();
    void indexTwoFollowsSecondChannel();
    void silentSensorShowsFailureInEachPattern();
};

void TestSensorBus::searchFillsTableAndRowsInAddressOrder()
{
    BusFixture f;
    f.add(9, 45, "Mixer");
    f.add(2, 77, "Silo 1");
    f.add(5, 89);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);

    QCOMPARE(f.model.SensorRowCount(), 3);
    QCOMPARE(f.model.SensorRows(0), 2);
    QCOMPARE(f.model.SensorRows(1), 5);
    QCOMPARE(f.model.SensorRows(2), 9);
    const SensorRecord& silo = f.model.SensorTable[2];
    QCOMPARE(silo.FoundAddress, 2);
    QCOMPARE(silo.Identity.size(), 8);
    QCOMPARE(silo.Identity, QString::fromLatin1(f.bus.sensorAt(2)->identity()));
    QCOMPARE(silo.Name, QStringLiteral("Silo 1"));
    QCOMPARE(silo.TypeCode, 77);
    QCOMPARE(f.model.row(0).caption, silo.Identity);
    QCOMPARE(f.model.SensorTable[9].TypeCode, 45);
    for (int b = 0; b < SensorModel::BoxCount; ++b) {
        const bool sensor = b == 1 || b == 4 || b == 8;
        QCOMPARE(f.model.box(b).ticked, sensor);
        QCOMPARE(f.model.box(b).enabled, sensor);
    }
    QCOMPARE(f.model.SelectedRow(), 0);
    QVERIFY(f.model.row(0).optionSet);
    QCOMPARE(f.report.adapted, 1);
    QCOMPARE(f.report.found, 1);
    QVERIFY(f.model.SearchComplete);
    QVERIFY(!f.model.NoSensorFound);
    QVERIFY(f.messages.shown.isEmpty());
    // Probe, identification, firmware text.
    QCOMPARE(f.heard(9), (QList<QByteArray>{Identify, Identify, "R50"}));
}

void TestSensorBus::autoCalAskedOfSensorSelectedBefore_data()
{
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<bool>("seen");
    QTest::newRow("sensor with automatic calibration") << 2 << true;
    QTest::newRow("sensor without") << 5 << false;
}

void TestSensorBus::autoCalAskedOfSensorSelectedBefore()
{
    QFETCH(int, selectedBefore);
    QFETCH(bool, seen);
    BusFixture f;
    f.add(2, 89);
    f.add(5, 45);
    f.model.CurrentAddress = selectedBefore;
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    QCOMPARE(f.model.AutoCalSeen, seen);
    // Once for each sensor found, all to the one selected before.
    QCOMPARE(f.heard(selectedBefore).count("A 4"), 2);
    QCOMPARE(f.heard(selectedBefore == 2 ? 5 : 2).count("A 4"), 0);
}

void TestSensorBus::frameCodeOneIsNotASensor()
{
    BusFixture f;
    f.add(3, 89)->setFrameCode(1);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::NoneFound);
    QCOMPARE(f.model.SensorTable[3].FoundAddress, 0);
    QVERIFY(!f.model.box(2).enabled);
    QCOMPARE(f.heard(3), QList<QByteArray>{Identify});
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangCommsError")});
    QVERIFY(f.model.NoSensorFound);
    QCOMPARE(f.report.demonstration, 1);
    QCOMPARE(f.model.row(0).caption, QStringLiteral("DEMO"));
    QVERIFY(f.model.SearchComplete);
}

void TestSensorBus::identificationFailingTwiceGivesFailureRow()
{
    test::VirtualClockScope clock;
    test::ScriptedTransport transport;
    int identifications = 0;
    transport.setResponder([&](const QByteArray& frame) -> QByteArray {
        const int address = frame.at(1) - 64;
        const QByteArray command = frame.mid(4, frame.size() - 7);
        if (address != 4)
            return {};
        if (command == Identify)
            return ++identifications == 1 ? frame::encodeReply(4, 2, "ID000004 Hopper") : QByteArray();
        if (command == "R50")
            return frame::encodeReply(4, 2, "QX0089 v1.12");
        return frame::encodeReply(4, 2, "0");
    });
    Link link;
    link.setTransport(&transport);
    SensorModel model;
    SensorBus sensors(link, model);
    sensors.setProbeTimeout(400);
    QCOMPARE(sensors.SensorSearch(), SensorBus::SearchOutcome::Found);

    QCOMPARE(identifications, 3);
    const SensorRecord& record = model.SensorTable[4];
    QCOMPARE(record.FoundAddress, -1);
    QCOMPARE(record.Identity, QStringLiteral("-99"));
    QVERIFY(record.Name.isEmpty());
    QCOMPARE(record.TypeCode, 89);
    QVERIFY(model.box(3).ticked);
    QCOMPARE(model.SensorRows(0), 4);
    QCOMPARE(model.row(0).caption, QStringLiteral("-99"));
}

void TestSensorBus::probeWithoutSpeedSettingWaitsOneSecond()
{
    BusFixture f;
    f.sensors.setProbeTimeout(0);
    QCOMPARE(f.sensors.probeTimeout(), 1000);
    f.sensors.setProbeTimeout(-400);
    QCOMPARE(f.sensors.probeTimeout(), 1000);
    f.sensors.setProbeTimeout(0);
    f.add(16, 89);
    const qint64 start = f.clock.clock.nowMs();
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    const qint64 elapsed = f.clock.clock.nowMs() - start;
    // Fifteen silent addresses at 1000 ms each, the auto-calibration question to the silent
    // address 1 selected before the search, then the sensor's own exchanges.
    QVERIFY2(elapsed >= 15 * 1000 + 1500 && elapsed < 15 * 1000 + 1500 + 500, qPrintable(QString::number(elapsed)));
}

void TestSensorBus::transportSwitchOvertakesSearch()
{
    BusFixture f;
    f.add(1, 89);
    f.add(12, 77);
    // A transport switch and the search it started, both finished inside one of our waits.
    f.clock.clock.schedule(f.clock.clock.nowMs() + 2000, [&] {
        f.model.TransportChanged = true;
        f.model.SearchComplete = true;
    });
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Overtaken);
    QVERIFY(!f.model.TransportChanged);
    QVERIFY(!f.model.SearchComplete);
    QCOMPARE(f.model.SensorRowCount(), 0);
    QCOMPARE(f.model.SensorTable[1].FoundAddress, 1);
    QVERIFY(f.heard(12).isEmpty());
    QVERIFY(f.messages.shown.isEmpty());
}

void TestSensorBus::nameOnlyChangeCarriesOldAddress()
{
    BusFixture f;
    sim::VirtualSensor* sensor = f.add(3, 89);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    f.bus.clearReceived();
    f.model.setRowName(0, QStringLiteral("Silo 4"));
    const auto result = f.sensors.UpdateSensorAddr(0);

    QCOMPARE(result.outcome, SensorBus::AddressChange::Renamed);
    QVERIFY(!result.failureReply);
    const QByteArray command = QByteArray("P\x11", 2) + sensor->identity() + " 03    Silo 4";
    QCOMPARE(f.heard(3), (QList<QByteArray>{command, "A1"}));
    QCOMPARE(f.model.SensorTable[3].Name, QStringLiteral("Silo 4"));
    QCOMPARE(f.model.SensorTable[3].FoundAddress, 3);
    QCOMPARE(f.model.SensorRows(0), 3);
    QCOMPARE(sensor->name(), QByteArray("Silo 4"));
}

void TestSensorBus::occupiedAddressRefusesAndRestores()
{
    BusFixture f;
    f.add(3, 89);
    f.add(7, 45);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    f.bus.clearReceived();
    f.model.setRowListItem(0, 6);  // the user picks "7"
    const auto result = f.sensors.UpdateSensorAddr(0);

    QCOMPARE(result.outcome, SensorBus::AddressChange::Occupied);
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangAddress 7 LangOccupied")});
    QCOMPARE(f.model.row(0).listItem, 2);
    QVERIFY(f.bus.received().isEmpty());
    QCOMPARE(f.model.SensorRows(0), 3);
}

void TestSensorBus::moveTakesRecordAndBoxesAlong()
{
    BusFixture f;
    sim::VirtualSensor* sensor = f.add(3, 77);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    const SensorRecord before = f.model.SensorTable[3];
    f.bus.clearReceived();
    f.model.setRowListItem(0, 11);
    f.model.setRowName(0, QStringLiteral("Belt 12"));
    const auto result = f.sensors.UpdateSensorAddr(0);

    QCOMPARE(result.outcome, SensorBus::AddressChange::Moved);
    QVERIFY(!result.failureReply);
    QCOMPARE(f.heard(3), QList<QByteArray>{QByteArray("P\x11", 2) + sensor->identity() + " 12    Belt 12"});
    QCOMPARE(f.heard(12).first(), QByteArray("A1"));
    QCOMPARE(sensor->address(), 12);
    QCOMPARE(f.model.SensorRows(0), 12);
    const SensorRecord& moved = f.model.SensorTable[12];
    QCOMPARE(moved.FoundAddress, 12);
    QCOMPARE(moved.Identity, before.Identity);
    QCOMPARE(moved.Name, QStringLiteral("Belt 12"));
    QCOMPARE(moved.FirmwareText, before.FirmwareText);
    QCOMPARE(moved.TypeCode, 77);
    QCOMPARE(f.model.SensorTable[3].FoundAddress, 0);
    QVERIFY(!f.model.box(2).ticked && !f.model.box(2).enabled);
    QVERIFY(f.model.box(11).ticked && f.model.box(11).enabled);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestSensorBus::moveThatNobodyAnswersIsReported()
{
    BusFixture f;
    sim::VirtualSensor* sensor = f.add(3, 89);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    // The sensor refuses a command for another identity and stays where it is.
    f.model.SensorTable[3].Identity = QStringLiteral("XX000000");
    f.model.setRowListItem(0, 4);
    const auto result = f.sensors.UpdateSensorAddr(0);

    QCOMPARE(result.outcome, SensorBus::AddressChange::MovedNoAnswer);
    QVERIFY(result.failureReply);
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangCommsError")});
    QCOMPARE(sensor->address(), 3);
    // The table shows where the program now expects the sensor.
    QCOMPARE(f.model.SensorRows(0), 5);
    QCOMPARE(f.model.SensorTable[5].FoundAddress, 5);
}

void TestSensorBus::indexTwoFollowsSecondChannel()
{
    BusFixture f;
    f.add(2, 77);
    f.add(5, 45);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    f.bus.clearReceived();
    ReadSensors(f.link, f.model, 2, 5, true);
    QCOMPARE(f.heard(2), (QList<QByteArray>{"R46", "R66"}));
    // The mapping follows the selected sensor: the type-45 sensor is asked too, answers "?"
    // and is asked three times.
    QCOMPARE(f.heard(5), (QList<QByteArray>{"R46", "R46", "R46", "R66"}));
    QCOMPARE(f.model.row(1).reading, QStringLiteral("-99.00"));
    f.bus.clearReceived();
    ReadSensors(f.link, f.model, 2, 5, false);
    QCOMPARE(f.heard(2), (QList<QByteArray>{"R61", "R67"}));
    QCOMPARE(f.heard(5), (QList<QByteArray>{"R61", "R67"}));
    // "0.0" for moisture and temperature.
    const QString reading = f.model.row(0).reading;
    QVERIFY2(QRegularExpression(QStringLiteral("^-?\\d+\\.\\d$")).match(reading).hasMatch(), qPrintable(reading));
    QVERIFY(QRegularExpression(QStringLiteral("^-?\\d+\\.\\d$")).match(f.model.row(1).temp).hasMatch());
}

void TestSensorBus::silentSensorShowsFailureInEachPattern()
{
    BusFixture f;
    f.add(6, 89);
    QCOMPARE(f.sensors.SensorSearch(), SensorBus::SearchOutcome::Found);
    sim::FaultSet silent;
    silent.silence = true;
    QVERIFY(f.bus.setSensorFaults(6, silent));
    ReadSensors(f.link, f.model, 0, 7, true);
    QCOMPARE(f.model.row(0).reading, QStringLiteral("-99.00"));
    QCOMPARE(f.model.row(0).temp, QStringLiteral("---"));
    ReadSensors(f.link, f.model, 3, 5, true);
    QCOMPARE(f.model.row(0).reading, QStringLiteral("-99.0"));
    QCOMPARE(f.model.row(0).temp, QStringLiteral("-99.0"));
}

QTEST_GUILESS_MAIN(TestSensorBus)
#include "tst_SensorBus.moc"
