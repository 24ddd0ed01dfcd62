// The configuration protocol's datagrams, byte for byte from their documented layout, and the
// readers' bounds: a datagram shorter than the bytes read from it is no record.

#include "ethernet/AdapterDatagrams.h"

#include <QTest>

using namespace dunmere;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A 0xF9 record: address 192.168.0.20, netmask bytes, gateway 192.168.0.1, port 10001 (0x2711),
// a name further on, 124 bytes in all.
QByteArray handMadeRecord()
{
    QByteArray r(124, '\0');
    r[3] = char(0xF9);
    r[4] = char(192), r[5] = char(168), r[6] = 0, r[7] = 20;
    r[8] = char(255), r[9] = char(255), r[10] = char(255);
    r[16] = char(192), r[17] = char(168), r[18] = 0, r[19] = 1;
    r[24] = 0x11, r[25] = 0x27;
    r.replace(40, 4, "XPRT");
    return r;
}

}  // namespace

class TestAdapterDatagrams : public QObject {
    Q_OBJECT
private slots:
    void queriesAreEighteenBytes()
    {
        QCOMPARE(ConfigurationQuery(), bytes({0, 0, 0, 0xF8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(HardwareAddressQuery(), bytes({0, 0, 0, 0xF6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    }

    void resetCarriesTheLastTwoHardwareBytes_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<int>("fifth");
        QTest::addColumn<int>("sixth");
        QTest::newRow("one digit") << "0:20:4A:6E:C:D" << 0x0C << 0x0D;
        QTest::newRow("two digits") << "00:20:4A:6E:0C:0D" << 0x0C << 0x0D;
        QTest::newRow("lower case") << "0:20:4a:6e:ab:ff" << 0xAB << 0xFF;
    }
    void resetCarriesTheLastTwoHardwareBytes()
    {
        QFETCH(QString, mac);
        QFETCH(int, fifth);
        QFETCH(int, sixth);
        const auto reset = ResetBytesOf(mac);
        QVERIFY(reset);
        QCOMPARE(AddressResetDatagram(reset->first, reset->second),
                 bytes({0, 0, 0, 0xFC, 0x49, 0x50, 0x2D, 0x53, 0x45, 0x54, 0x55, 0x50, 0, 0, fifth, sixth, 0, 0, 0, 0, 0}));
    }

    void malformedHardwareTextGivesNoReset_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::newRow("empty") << "";
        QTest::newRow("one colon") << "C:D";
        QTest::newRow("not hex") << "0:20:4A:6E:G:D";
        QTest::newRow("above a byte") << "0:20:4A:6E:C:100";
        QTest::newRow("empty group") << "0:20:4A:6E:C:";
    }
    void malformedHardwareTextGivesNoReset()
    {
        QFETCH(QString, mac);
        QVERIFY(!ResetBytesOf(mac));
    }

    void recordIsRead()
    {
        const auto record = ReadConfigurationRecord(handMadeRecord());
        QVERIFY(record);
        QCOMPARE(record->address, (Ipv4Parts{192, 168, 0, 20}));
        QCOMPARE(DottedText(record->gateway), QStringLiteral("192.168.0.1"));
        QCOMPARE(record->tcpPort, quint16(10001));
        QVERIFY(!record->automatic());
        QByteArray automatic = handMadeRecord();
        automatic.replace(4, 4, QByteArray(4, '\0'));
        QVERIFY(ReadConfigurationRecord(automatic)->automatic());
        automatic[6] = 1;
        QVERIFY(!ReadConfigurationRecord(automatic)->automatic());
    }

    void shortOrOtherDatagramsAreNoRecord_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("three bytes") << bytes({0, 0, 0});
        QTest::newRow("10-byte 0xF9") << handMadeRecord().left(10);
        QTest::newRow("25-byte 0xF9") << handMadeRecord().left(25);
        QByteArray f7 = handMadeRecord();
        f7[3] = char(0xF7);
        QTest::newRow("0xF7") << f7;
    }
    void shortOrOtherDatagramsAreNoRecord()
    {
        QFETCH(QByteArray, datagram);
        QVERIFY(!ReadConfigurationRecord(datagram));
    }

    void shortestRecordIsTwentySixBytes()
    {
        const auto record = ReadConfigurationRecord(handMadeRecord().left(26));
        QVERIFY(record);
        QCOMPARE(record->tcpPort, quint16(10001));
    }

    void hardwareReplyIsRead()
    {
        QByteArray reply(30, '\0');
        reply[3] = char(0xF7);
        reply.replace(24, 6, bytes({0x00, 0x20, 0x4A, 0x6E, 0x0C, 0x0D}));
        const auto mac = ReadHardwareReply(reply);
        QVERIFY(mac);
        QCOMPARE(HardwareAddressText(*mac), QStringLiteral("0:20:4A:6E:C:D"));
        QVERIFY(!ReadHardwareReply(reply.left(29)));
        reply[3] = char(0xF9);
        QVERIFY(!ReadHardwareReply(reply));
    }

    void newRecordReplacesOnlyItsFields()
    {
        const auto read = ReadConfigurationRecord(handMadeRecord());
        const QByteArray written = NewConfigurationRecord(*read, {10, 1, 2, 3}, {10, 1, 2, 254}, 10200);
        QByteArray expected = handMadeRecord();
        expected[3] = char(0xFD);
        expected.replace(4, 4, bytes({10, 1, 2, 3}));
        expected.replace(16, 4, bytes({10, 1, 2, 254}));
        expected[24] = char(0xD8);
        expected[25] = 0x27;
        QCOMPARE(written, expected);
        const QByteArray automatic = NewConfigurationRecord(*read, {0, 0, 0, 0}, {10, 1, 2, 254}, 10001);
        QCOMPARE(automatic.mid(4, 4), QByteArray(4, '\0'));
        QCOMPARE(automatic.size(), 124);
    }
};

QTEST_GUILESS_MAIN(TestAdapterDatagrams)
#include "tst_adapterdatagrams.moc"
