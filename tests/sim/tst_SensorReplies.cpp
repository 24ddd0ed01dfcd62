// The sensor side of the bus as the program meets it in process: hand-written command frames
// in, hand-written reply frames out; routing by address; writes that survive; "?" for what
// a type lacks; the address change, rename and factory reset by identity. Wire timing and
// faults are covered in their own files; the live values only for their layout.

#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QtTest>

using namespace dunmere;
using namespace dunmere::sim;

class SensorReplies : public QObject {
    Q_OBJECT

    struct Fixture {
        test::VirtualClockScope clock;
        SimBus bus;
        SimTransport transport{bus, Transport::Kind::Tcp};
        SimTransport raw{bus, Transport::Kind::Tcp};  // no link reads from it
        Link link;
        Fixture()
        {
            buildDemoBus(bus);
            link.setTransport(&transport);
        }
        // Sends raw bytes and collects what comes back within 200 ms.
        QByteArray exchange(const QByteArray& frameBytes)
        {
            if (!raw.sendTextFrame(frameBytes))
                return "send failed";
            clock.clock.advance(200);
            return raw.readAll();
        }
    };

private slots:
    void handWrittenFrames_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("identification") << QByteArray("\x02" "A@AP\x01\x03" "AA")
                                        << QByteArray("\x02" "a@BQ8904213 Mixer 1 inlet       \x03" "@G");
        QTest::newRow("missing parameter") << QByteArray("\x02" "A@AR99\x03" "AB") << QByteArray("\x02" "a@B?\x03" "EL");
        QTest::newRow("coefficient B") << QByteArray("\x02" "A@AR2\x03" "B@") << QByteArray("\x02" "a@B0.2857\x03" "GE");
        QTest::newRow("store action") << QByteArray("\x02" "A@AA1\x03" "C@") << QByteArray("\x02" "a@B!\x03" "DB");
        // 0x10 travels escaped both ways; the sensor hears one byte.
        QTest::newRow("escaped output test") << QByteArray("\x02" "E@AP\x10\x10\x03" "AD")
                                             << QByteArray("\x02" "e@B!\x03" "DF");
        QTest::newRow("nobody at 3") << QByteArray("\x02" "C@AR2\x03" "B@") << QByteArray();
        QTest::newRow("broken checksum ignored") << QByteArray("\x02" "A@AR2\x03" "BA") << QByteArray();
    }

    void handWrittenFrames()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        Fixture f;
        QCOMPARE(f.exchange(command), reply);
    }

    void serialPreambleAndPadAreNoise()
    {
        Fixture f;
        SimTransport serial(f.bus, Transport::Kind::Serial);
        QVERIFY(serial.sendTextFrame("\x02" "A@AR2\x03" "B@"));
        f.clock.clock.advance(200);
        QCOMPARE(serial.readAll(), QByteArray("\x02" "a@B0.2857\x03" "GE"));
        QCOMPARE(f.bus.received().size(), 1);
        QCOMPARE(f.bus.received().first().payload, QByteArray("R2"));
    }

    void writeThenRead_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("number keeps sensor decimals") << 1 << "W2" << "0.3" << "0.3000";
        QTest::newRow("restore form") << 1 << "W 12" << "0.02" << "0.0200";
        QTest::newRow("index") << 2 << "W5" << "2" << "2";
        QTest::newRow("smoothing any") << 1 << "W14" << "45" << "45";
        QTest::newRow("smoothing formatted") << 1 << "W14" << "12.00" << "12";
        QTest::newRow("arm type code") << 1 << "W79" << "34" << "34";
    }

    void writeThenRead()
    {
        QFETCH(int, address);
        QFETCH(QString, prefix);
        QFETCH(QString, value);
        QFETCH(QString, readBack);
        Fixture f;
        QCOMPARE(f.link.WriteParameter(address, prefix, value, QString()), QStringLiteral("!"));
        const int number = prefix.mid(1).trimmed().toInt();
        QCOMPARE(f.link.ReadParameter(address, number), readBack);
    }

    void refusedWritesLeaveTheValue_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("value");
        QTest::newRow("decimal comma") << "W2" << "0,3";
        QTest::newRow("index out of range") << "W5" << "3";
        QTest::newRow("not a number") << "W2" << "abc";
        QTest::newRow("arm type not a code") << "W79" << "20";
        QTest::newRow("read-only") << "W78" << "16";
        QTest::newRow("live value") << "W64" << "1";
        QTest::newRow("type lacks it") << "W25" << "1";
        QTest::newRow("output test not entered") << "W31" << "512";
    }

    void refusedWritesLeaveTheValue()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, value);
        Fixture f;
        const int number = prefix.mid(1).toInt();
        const QString before = f.link.ReadParameter(1, number);
        QCOMPARE(f.link.WriteParameter(1, prefix, value, QString()), QStringLiteral("?"));
        QCOMPARE(f.link.ReadParameter(1, number), before);
    }

    void parametersATypeLacksAnswerQuestionMark_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("present");
        QTest::newRow("89 has second channel") << 1 << 46 << true;
        QTest::newRow("45 has no second channel") << 5 << 46 << false;
        QTest::newRow("45 has no material temperature") << 5 << 75 << false;
        QTest::newRow("45 has no output 2") << 5 << 29 << false;
        QTest::newRow("89 has no Brix") << 1 << 25 << false;
        QTest::newRow("77 has arm type") << 2 << 79 << true;
        QTest::newRow("nobody has 15") << 1 << 15 << false;
    }

    void parametersATypeLacksAnswerQuestionMark()
    {
        QFETCH(int, address);
        QFETCH(int, number);
        QFETCH(bool, present);
        Fixture f;
        const QString reply = f.link.ReadParameter(address, number);
        QCOMPARE(reply == QStringLiteral("?"), !present);
        QVERIFY(reply != FailureText);
    }

    void storedValuesSurviveARestartUnstoredDoNot()
    {
        Fixture f;
        QCOMPARE(f.link.WriteParameter(1, "W2", "0.25", {}), QStringLiteral("!"));
        QCOMPARE(f.link.SendAction(1, "1"), QStringLiteral("!"));
        QCOMPARE(f.link.WriteParameter(1, "W3", "-2", {}), QStringLiteral("!"));
        f.bus.sensorAt(1)->restart();
        f.clock.clock.advance(VirtualSensor::RestartMs);
        QCOMPARE(f.link.ReadParameter(1, 2), QStringLiteral("0.2500"));
        QCOMPARE(f.link.ReadParameter(1, 3), QStringLiteral("-4.0000"));
    }

    void addressChangeMovesTheSensor()
    {
        Fixture f;
        const QString command = QStringLiteral("P\x11Q8904213 09    Silo feed");
        QCOMPARE(f.link.SendCommand(1, command), QStringLiteral("!"));
        QCOMPARE(f.link.SendAction(9, "1"), QStringLiteral("!"));
        QCOMPARE(f.link.SendCommand(9, QStringLiteral("P\x01")), QStringLiteral("Q8904213 Silo feed           "));
        int a = 0, fc = 0;
        QString text;
        f.link.Net_Send(1, 1, QStringLiteral("P\x01"));
        f.link.Net_Receive(400, a, fc, text);
        QCOMPARE(text, FailureText);
        QCOMPARE(f.link.state().CommsErrorCode, qint16(1));
    }

    void twoSensorsAtOneAddressCollide()
    {
        Fixture f;
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("P\x11Q8904213 02    Mixer 1 inlet")), QStringLiteral("!"));
        // Both answer the identification at once; their different replies garble each other.
        int a = 0, fc = 0;
        QString text;
        f.link.Net_Send(2, 1, QStringLiteral("P\x01"));
        f.link.Net_Receive(400, a, fc, text);
        QCOMPARE(text, FailureText);
    }

    void addressChangeNeedsTheIdentity_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("other identity") << QStringLiteral("P\x11Q7705226 09    X");
        QTest::newRow("address 17") << QStringLiteral("P\x11Q8904213 17    X");
        QTest::newRow("address 0") << QStringLiteral("P\x11Q8904213 00    X");
        QTest::newRow("three blanks") << QStringLiteral("P\x11Q8904213 09   X");
    }

    void addressChangeNeedsTheIdentity()
    {
        QFETCH(QString, command);
        Fixture f;
        QCOMPARE(f.link.SendCommand(1, command), QStringLiteral("?"));
        QVERIFY(f.bus.sensorAt(1));
        QCOMPARE(f.bus.sensorAt(1)->name(), QByteArray("Mixer 1 inlet"));
    }

    void renameKeepsTheAddress()
    {
        Fixture f;
        QCOMPARE(f.link.SendCommand(2, QStringLiteral("P\x11Q7705226 02    Bin 4")), QStringLiteral("!"));
        QCOMPARE(f.link.SendCommand(2, QStringLiteral("P\x01")), QStringLiteral("Q7705226 Bin 4               "));
    }

    void factoryResetByIdentity()
    {
        Fixture f;
        QCOMPARE(f.link.WriteParameter(1, "W2", "0.25", {}), QStringLiteral("!"));
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("P\x16Q7705226")), QStringLiteral("?"));
        QCOMPARE(f.link.ReadParameter(1, 2), QStringLiteral("0.2500"));
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("P\x16Q8904213")), QStringLiteral("!"));
        QCOMPARE(f.link.ReadParameter(1, 2), QStringLiteral("0.2857"));
        // Only type 89 has the reset.
        QCOMPARE(f.link.SendCommand(2, QStringLiteral("P\x16Q7705226")), QStringLiteral("?"));
    }

    void firmwareTextGivesTypeAndVersion()
    {
        Fixture f;
        QCOMPARE(f.link.ReadParameter(2, 50), QStringLiteral("QX0077 v2.10"));
        QCOMPARE(f.link.ReadParameter(5, 51), QStringLiteral("C40B"));
    }
};

QTEST_MAIN(SensorReplies)
#include "tst_SensorReplies.moc"
