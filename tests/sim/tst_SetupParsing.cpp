// Setting the simulator up from text: the sensor list of the command line, loopback-only
// endpoints, scenario files and the console's commands. Refusals must name the problem; the
// running behaviour of what they set up is tested in the other files.

#include "VirtualClockFixture.h"
#include "sim/LoopbackAddress.h"
#include "sim/Scenario.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimConsole.h"

#include <QtTest>

using namespace dunmere;
using namespace dunmere::sim;

class SetupParsing : public QObject {
    Q_OBJECT

private slots:
    void sensorLists()
    {
        const SensorListResult r = parseSensorList(QStringLiteral("1:89,2:77:Q7700001,16:45:Q4500002:Belt 2 head end"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.sensors.size(), 3);
        QCOMPARE(r.sensors[0].typeCode, 89);
        QCOMPARE(r.sensors[1].identity, QByteArray("Q7700001"));
        QCOMPARE(r.sensors[2].address, 16);
        QCOMPARE(r.sensors[2].name, QByteArray("Belt 2 head end"));
        SimBus bus;
        QVERIFY(populate(bus, r.sensors));
        QCOMPARE(bus.sensorAt(1)->firmwareText(), QByteArray("QX0089 v1.12"));
        QCOMPARE(bus.sensorAt(1)->identity().size(), 8);
    }

    void badSensorLists_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("empty") << "" << "empty";
        QTest::newRow("address 0") << "0:89" << "1 to 16";
        QTest::newRow("address 17") << "17:89" << "1 to 16";
        QTest::newRow("twice") << "3:89,3:77" << "twice";
        QTest::newRow("type 100") << "1:100" << "type";
        QTest::newRow("short identity") << "1:89:ABC" << "identity";
        QTest::newRow("long name") << "1:89:Q8900001:A name far too long here" << "name";
        QTest::newRow("no type") << "1" << "address:type";
        QTest::newRow("seventeen sensors") << "1:1,2:1,3:1,4:1,5:1,6:1,7:1,8:1,9:1,10:1,11:1,12:1,13:1,14:1,15:1,16:1,1:2" << "16";
    }

    void badSensorLists()
    {
        QFETCH(QString, spec);
        QFETCH(QString, mentions);
        const SensorListResult r = parseSensorList(spec);
        QVERIFY(!r.ok());
        QVERIFY2(r.error.contains(mentions), qPrintable(r.error));
        QVERIFY(r.sensors.isEmpty());
    }

    void demoBusHasThreeTypes()
    {
        SimBus bus;
        buildDemoBus(bus);
        QSet<int> types;
        for (VirtualSensor* s : bus.sensors())
            types.insert(s->typeCode());
        QCOMPARE(types.size(), 3);
    }

    void endpoints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("defaultPort");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("port");
        QTest::newRow("tcp") << "127.0.0.1:10001" << 0 << true << 10001;
        QTest::newRow("other loopback, default port") << "127.0.0.2" << 30718 << true << 30718;
        QTest::newRow("any free port") << "127.0.0.1:0" << 0 << true << 0;
        QTest::newRow("port missing") << "127.0.0.1" << 0 << false << 0;
        QTest::newRow("real interface") << "192.168.1.20:10001" << 0 << false << 0;
        QTest::newRow("all interfaces") << "0.0.0.0:10001" << 0 << false << 0;
        QTest::newRow("broadcast") << "255.255.255.255" << 30718 << false << 0;
        QTest::newRow("host name") << "localhost:10001" << 0 << false << 0;
        QTest::newRow("IPv6 loopback") << "::1" << 30718 << false << 0;
        QTest::newRow("port too big") << "127.0.0.1:70000" << 0 << false << 0;
    }

    void endpoints()
    {
        QFETCH(QString, text);
        QFETCH(int, defaultPort);
        QFETCH(bool, ok);
        QFETCH(int, port);
        Endpoint e;
        QString error;
        QCOMPARE(parseLoopbackEndpoint(text, quint16(defaultPort), e, error), ok);
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(int(e.port), port);
    }

    void scenarioSetsUpSensorsAndOptions()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        ScenarioOptions options;
        QString error;
        const QByteArray json = R"({
            "baud": 19200, "latencyMs": 7, "faults": "latency=20", "pty": true, "tcp": "127.0.0.1:0",
            "adapter": {"automatic": true, "tcpPort": 10200, "hardwareAddress": "0:20:4A:1:C:D"},
            "sensors": [{"address": 4, "type": 70, "identity": "Q7000044", "name": "Juice line",
                         "parameters": {"2": "0.2000", "25": null, "90": "7"}, "statusFlags": "0000001",
                         "faults": "checksum", "blocks": [{"block": 3, "answer": "10"}],
                         "materialSteps": [{"atMs": 1000, "material": 66}]}]})";
        QVERIFY2(loadScenario(json, bus, options, error), qPrintable(error));
        QCOMPARE(*options.baud, 19200);
        QCOMPARE(*options.latencyMs, qint64(7));
        QVERIFY(options.pty);
        QCOMPARE(options.adapter->tcpPort, quint16(10200));
        QCOMPARE(options.adapter->hardwareAddress[5], quint8(0x0D));
        VirtualSensor* s = bus.sensorAt(4);
        QVERIFY(s);
        QCOMPARE(s->readParameter(2), QByteArray("0.2000"));
        QCOMPARE(s->readParameter(25), QByteArray("?"));
        QCOMPARE(s->readParameter(90), QByteArray("7"));
        QCOMPARE(s->readParameter(69), QByteArray("0000001"));
        QVERIFY(bus.sensorFaults(4).wrongChecksum);
        QCOMPARE(bus.busFaults().latencyMs, qint64(20));
        scope.clock.advance(1000);
        QCOMPARE(s->live().material(), 66.0);
    }

    void badScenarios_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not JSON") << QByteArray("{sensors: [");
        QTest::newRow("address twice") << QByteArray(R"({"sensors": [{"address": 1}, {"address": 1}]})");
        QTest::newRow("address 20") << QByteArray(R"({"sensors": [{"address": 20}]})");
        QTest::newRow("unknown fault") << QByteArray(R"({"faults": "gremlins"})");
        QTest::newRow("bad block") << QByteArray(R"({"sensors": [{"address": 1, "blocks": [{"block": 600, "answer": "1"}]}]})");
        QTest::newRow("short identity") << QByteArray(R"({"sensors": [{"address": 1, "identity": "ABC"}]})");
        QTest::newRow("bad gateway") << QByteArray(R"({"adapter": {"gateway": "1.2.3"}})");
    }

    void badScenarios()
    {
        QFETCH(QByteArray, json);
        test::VirtualClockScope scope;
        SimBus bus;
        ScenarioOptions options;
        QString error;
        QVERIFY(!loadScenario(json, bus, options, error));
        QVERIFY(!error.isEmpty());
    }

    void consoleSteersTheRunningBus()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        SimConsole console(bus);
        QVERIFY(console.execute(QStringLiteral("fault 2:silence")).contains(QStringLiteral("2: type 77")));
        QVERIFY(bus.sensorFaults(2).silence);
        QVERIFY(console.execute(QStringLiteral("fault 2:none")).contains(QStringLiteral("faults: none")));
        QVERIFY(!bus.sensorFaults(2).silence);
        QVERIFY(console.execute(QStringLiteral("material 5 61.5")).contains(QStringLiteral("61.5")));
        QCOMPARE(bus.sensorAt(5)->live().material(), 61.5);
        QVERIFY(console.execute(QStringLiteral("block 1 9 11 2")).contains(QStringLiteral("block 9")));
        QVERIFY(console.execute(QStringLiteral("flags 1 01x")).contains(QStringLiteral("0 and 1")));
        QVERIFY(console.execute(QStringLiteral("material 9 10")).contains(QStringLiteral("no sensor")));
        QVERIFY(console.execute(QStringLiteral("frobnicate")).contains(QStringLiteral("unknown")));
    }
};

QTEST_MAIN(SetupParsing)
#include "tst_SetupParsing.moc"
