// The sensor record's rules without a bus: type code and firmware version from the firmware
// text, identity and name from the identification reply, the hardware kind table and the
// parameter register lookups. The search that fills the record is in tst_SensorSearch.

#include "sensor/ParameterRegister.h"
#include "sensor/SensorRecord.h"

#include "link/NumberRules.h"

#include <QtTest>

using namespace dunmere;

class TestSensorRecord : public QObject {
    Q_OBJECT
private slots:
    void firmwareTextGivesTypeAndVersion_data();
    void firmwareTextGivesTypeAndVersion();
    void firmwareTextWithDecimalComma();
    void failedConversionLeavesEarlierValues();
    void identificationColumns();
    void hardwareKind_data();
    void hardwareKind();
    void firstReadingKnowsOnlyTheLowKinds();
    void registerLookups();
    void clearLeavesEntryZeroAlone();
};

void TestSensorRecord::firmwareTextGivesTypeAndVersion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<double>("version");
    QTest::newRow("documented example") << "QX0077 v2.10" << 77 << 2.10;
    QTest::newRow("type 89") << "QX0089 v1.12" << 89 << 1.12;
    QTest::newRow("longer text") << "QX0045 v1.56 beta" << 45 << 1.56;
    QTest::newRow("eleven characters") << "QX0077 v2.1" << 0 << 0.0;
    QTest::newRow("empty") << "" << 0 << 0.0;
    QTest::newRow("failure value") << "-99" << 0 << 0.0;
    QTest::newRow("letters in columns 5-6") << "QX00AB v2.10" << 0 << 0.0;
    QTest::newRow("one letter in columns 5-6") << "QX007B v2.10" << 0 << 0.0;
    QTest::newRow("blank in columns 5-6") << "QX00 7 v2.10" << 0 << 0.0;
    QTest::newRow("type but no version") << "QX0063 vX.YZ" << 63 << 0.0;
}

void TestSensorRecord::firmwareTextGivesTypeAndVersion()
{
    QFETCH(QString, text);
    QFETCH(int, typeCode);
    QFETCH(double, version);
    SensorRecord record;
    record.FirmwareText = text;
    ParseFirmwareText(record);
    QCOMPARE(record.TypeCode, typeCode);
    QCOMPARE(record.FirmwareVersion, version);
}

void TestSensorRecord::firmwareTextWithDecimalComma()
{
    // The receiver has already turned the reply's point into a comma.
    SetDecimalComma(true);
    SensorRecord record;
    record.FirmwareText = QStringLiteral("QX0077 v2,10");
    ParseFirmwareText(record);
    SetDecimalComma(false);
    QCOMPARE(record.TypeCode, 77);
    QCOMPARE(record.FirmwareVersion, 2.10);
}

void TestSensorRecord::failedConversionLeavesEarlierValues()
{
    SensorRecord record;
    record.TypeCode = 45;
    record.FirmwareVersion = 1.5;
    record.FirmwareText = QStringLiteral("QX00AB v1.60");
    ParseFirmwareText(record);
    QCOMPARE(record.TypeCode, 45);
    QCOMPARE(record.FirmwareVersion, 1.5);
}

void TestSensorRecord::identificationColumns()
{
    const QString reply = QStringLiteral("Q8900017 Mixer 2             ");
    QCOMPARE(IdentityOf(reply), QStringLiteral("Q8900017"));
    QCOMPARE(NameOf(reply), QStringLiteral("Mixer 2"));
    // A name of full length stops at column 29.
    QCOMPARE(NameOf(QStringLiteral("Q8900017 ABCDEFGHIJKLMNOPQRSTUVWXYZ")), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(IdentityOf(QStringLiteral("-99")), QStringLiteral("-99"));
    QCOMPARE(NameOf(QStringLiteral("-99")), QString());
}

void TestSensorRecord::hardwareKind_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("brixEdition");
    QTest::addColumn<QString>("text");  // empty: no kind
    QTest::addColumn<bool>("brixSelected");
    QTest::newRow("0") << 0 << false << "None" << false;
    QTest::newRow("16") << 16 << false << "Ostrem Corrane" << false;
    QTest::newRow("32 standard") << 32 << false << "Ostrem SE" << false;
    QTest::newRow("32 Brix edition") << 32 << true << "Fayline" << true;
    QTest::newRow("64") << 64 << false << "Dentho" << false;
    QTest::newRow("128") << 128 << false << "Grelmo" << false;
    QTest::newRow("256") << 256 << true << "Ostrem" << false;
    QTest::newRow("low bits ignored") << 256 + 7 << false << "Ostrem" << false;
    QTest::newRow("low bits on 32") << 32 + 15 << true << "Fayline" << true;
    QTest::newRow("two kinds at once") << 48 << false << "" << false;
    QTest::newRow("above the mask") << 4096 + 64 << false << "Dentho" << false;
}

void TestSensorRecord::hardwareKind()
{
    QFETCH(int, value);
    QFETCH(bool, brixEdition);
    QFETCH(QString, text);
    QFETCH(bool, brixSelected);
    const auto kind = HardwareKindOf(value, brixEdition);
    QCOMPARE(kind.has_value(), !text.isEmpty());
    if (kind) {
        QCOMPARE(kind->text, text);
        QCOMPARE(kind->brixSelected, brixSelected);
    }
}

void TestSensorRecord::firstReadingKnowsOnlyTheLowKinds()
{
    QCOMPARE(HardwareKindOfFirstReading(64 + 3, false)->text, QStringLiteral("Dentho"));
    QVERIFY(!HardwareKindOfFirstReading(128, false));
    // 256 has no bits under 0xF0: the first reading sees "None".
    QCOMPARE(HardwareKindOfFirstReading(256, false)->text, QStringLiteral("None"));
}

void TestSensorRecord::registerLookups()
{
    const ParameterInfo* outputType = FindParameter(5);
    QVERIFY(outputType);
    QCOMPARE(outputType->kind, ParameterKind::Index);
    QCOMPARE(outputType->count, 3);
    QCOMPARE(QString::fromLatin1(outputType->writeCommand), QStringLiteral("W5"));
    QCOMPARE(FindParameter(14)->readLimit, 101);
    QCOMPARE(FindParameter(50)->kind, ParameterKind::Text);
    QVERIFY(!FindParameter(50)->writeCommand);
    QCOMPARE(FindParameter(117)->kind, ParameterKind::Bytes);
    QVERIFY(!FindParameter(15));
    QVERIFY(!FindParameter(0));
    QVERIFY(!FindParameter(118));
    for (const ParameterInfo& p : ParameterRegister()) {
        if (p.writeCommand)
            QCOMPARE(QString::fromLatin1(p.writeCommand), QStringLiteral("W%1").arg(p.number));
    }
}

void TestSensorRecord::clearLeavesEntryZeroAlone()
{
    SensorRecords table;
    table[0].Name = QStringLiteral("unused");
    table[16] = SensorRecord{16, QStringLiteral("ID"), QStringLiteral("N"), QStringLiteral("F"), 89, 1.1};
    ClearSensorTable(table);
    QCOMPARE(table[16].FoundAddress, 0);
    QVERIFY(table[16].Identity.isEmpty());
    QCOMPARE(table[16].TypeCode, 0);
    QCOMPARE(table[0].Name, QStringLiteral("unused"));
}

QTEST_GUILESS_MAIN(TestSensorRecord)
#include "tst_SensorRecord.moc"
