// The configuration snapshot: the order and kinds of its 34 entries, the switch to the Brix
// coefficients by the hardware kind bits, and the comparison of two readings. A scripted
// sensor answers from a table, so each case sets exactly the replies it is about.

#include "sensor/ConfigSnapshot.h"

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/Transport.h"

#include <QtTest>

using namespace dunmere;

namespace {

constexpr int Address = 7;

// A sensor answering "R<n>" from a table of replies, "?" for anything it lacks.
struct TableSensor {
    test::VirtualClockScope clock;
    test::ScriptedTransport transport;
    Link link;
    QMap<int, QByteArray> replies;
    QList<int> asked;
    bool silent = false;

    TableSensor()
    {
        transport.setResponder([this](const QByteArray& frame) -> QByteArray {
            const QByteArray command = frame.mid(4, frame.size() - 7);
            if (silent || !command.startsWith('R'))
                return {};
            const int number = command.mid(1).toInt();
            asked.append(number);
            return frame::encodeReply(Address, 2, replies.value(number, "?"));
        });
        link.setTransport(&transport);
    }
};

const QList<int> MoistureOrder{78, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 16, 17, 20,
                               21, 22, 23, 29, 42, 43, 47, 49, 50, 51, 12, 55, 56, 57, 58, 59, 77};

}  // namespace

class TestConfigSnapshot : public QObject {
    Q_OBJECT
private slots:
    void readsEntriesInOrder();
    void hardwareKindChoosesCoefficients_data();
    void hardwareKindChoosesCoefficients();
    void valuesAreStoredByKind();
    void formattedNumbersCompareEqual();
    void changedFirmwareTextDiffers();
    void sensorSilentAtSecondReadingDiffers();
};

void TestConfigSnapshot::readsEntriesInOrder()
{
    TableSensor sensor;
    for (int n : MoistureOrder)
        sensor.replies[n] = "1";
    sensor.replies[78] = "256";
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    QCOMPARE(sensor.asked, MoistureOrder);
    QCOMPARE(snapshot.parameters(ConfigSnapshot::Before), MoistureOrder);
    QCOMPARE(snapshot.values(ConfigSnapshot::Before).size(), 34);
}

void TestConfigSnapshot::hardwareKindChoosesCoefficients_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("brix");
    QTest::newRow("0x20") << QByteArray("32") << true;
    QTest::newRow("0x2F, low bits ignored") << QByteArray("47") << true;
    QTest::newRow("0x30") << QByteArray("48") << false;
    QTest::newRow("0x10") << QByteArray("16") << false;
    // Beyond the limit of 255 the entry reads 0.
    QTest::newRow("0x120") << QByteArray("288") << false;
    QTest::newRow("no reply") << QByteArray("?") << false;
}

void TestConfigSnapshot::hardwareKindChoosesCoefficients()
{
    QFETCH(QByteArray, kind);
    QFETCH(bool, brix);
    TableSensor sensor;
    sensor.replies[78] = kind;
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    const QList<int> coefficients = snapshot.parameters(ConfigSnapshot::Before).mid(1, 4);
    QCOMPARE(coefficients, brix ? (QList<int>{25, 26, 27, 28}) : (QList<int>{1, 2, 3, 4}));
    QCOMPARE(snapshot.parameters(ConfigSnapshot::Before).mid(5), MoistureOrder.mid(5));
}

void TestConfigSnapshot::valuesAreStoredByKind()
{
    TableSensor sensor;
    sensor.replies[78] = "64";
    sensor.replies[1] = "0.28571";
    sensor.replies[6] = "12";        // index, limit 12: out of range
    sensor.replies[9] = "4";         // limit 5
    sensor.replies[13] = "3";        // read as a number
    sensor.replies[14] = "100";      // limit 101
    sensor.replies[49] = "?";
    sensor.replies[50] = "QX0089 v1.12";
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    const QStringList& v = snapshot.values(ConfigSnapshot::Before);
    QCOMPARE(v.at(0), QStringLiteral("64"));
    QCOMPARE(v.at(1), QStringLiteral("0.2857"));
    QCOMPARE(v.at(2), QString());                 // "?" is no number
    QCOMPARE(v.at(6), QStringLiteral("0"));
    QCOMPARE(v.at(9), QStringLiteral("4"));
    QCOMPARE(v.at(12), QStringLiteral("3.00"));
    QCOMPARE(v.at(13), QStringLiteral("100"));
    QCOMPARE(v.at(24), QStringLiteral("0"));
    QCOMPARE(v.at(25), QStringLiteral("QX0089 v1.12"));
    QCOMPARE(v.at(26), QStringLiteral("?"));
}

void TestConfigSnapshot::formattedNumbersCompareEqual()
{
    TableSensor sensor;
    sensor.replies[7] = "12.50";
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    sensor.replies[7] = "12.5";
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::After);
    QCOMPARE(snapshot.values(ConfigSnapshot::After).at(7), QStringLiteral("12.50"));
    QVERIFY(snapshot.SnapshotsEqual());
}

void TestConfigSnapshot::changedFirmwareTextDiffers()
{
    TableSensor sensor;
    sensor.replies[50] = "QX0089 v1.12";
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    sensor.replies[50] = "QX0089 v1.13";
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::After);
    QVERIFY(!snapshot.SnapshotsEqual());
    // Texts compare with case.
    sensor.replies[50] = "qx0089 v1.12";
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    QVERIFY(!snapshot.SnapshotsEqual());
}

void TestConfigSnapshot::sensorSilentAtSecondReadingDiffers()
{
    TableSensor sensor;
    sensor.replies[1] = "2.5";
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    sensor.silent = true;
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::After);
    QVERIFY(!snapshot.SnapshotsEqual());
    QCOMPARE(snapshot.values(ConfigSnapshot::After).at(25), QStringLiteral("-99"));
    // Silent both times: equal, as the caller's other exchanges are what notice it.
    snapshot.ReadConfigSnapshot(sensor.link, Address, ConfigSnapshot::Before);
    QVERIFY(snapshot.SnapshotsEqual());
}

QTEST_GUILESS_MAIN(TestConfigSnapshot)
#include "tst_ConfigSnapshot.moc"
