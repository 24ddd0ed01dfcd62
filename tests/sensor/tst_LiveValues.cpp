// How a reading becomes the text of a row: DecodeFixedPoint on fixed-width fields and on
// formatted replies, the display patterns, the value-list index to parameter mapping with and
// without the second channel, and "---" for Brix and material temperature. Reading from a bus
// is in tst_SensorBus.

#include "sensor/FixedPoint.h"
#include "sensor/LiveReadings.h"

#include "link/NumberRules.h"

#include <QtTest>

using namespace dunmere;

class TestLiveValues : public QObject {
    Q_OBJECT
private slots:
    void decodeFixedPoint_data();
    void decodeFixedPoint();
    void decodeWithDecimalComma();
    void formatDecimals_data();
    void formatDecimals();
    void indexToParameter_data();
    void indexToParameter();
    void replyToRowText_data();
    void replyToRowText();
};

void TestLiveValues::decodeFixedPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("value");
    QTest::newRow("empty is the failure value") << "" << 2 << -99.0;
    QTest::newRow("no digits") << "abc" << 2 << 0.0;
    QTest::newRow("only blanks") << "     " << 1 << 0.0;
    QTest::newRow("formatted, two decimals") << "21.25" << 2 << 21.25;
    QTest::newRow("formatted, three decimals rounds") << "21.125" << 2 << 21.13;
    QTest::newRow("formatted, four decimals cut") << "21.1249" << 2 << 21.12;
    QTest::newRow("formatted, one decimal padded") << "21.5" << 2 << 21.5;
    QTest::newRow("formatted, no decimals") << "21" << 2 << 0.21;
    QTest::newRow("formatted negative") << "-4.005" << 2 << -4.01;
    QTest::newRow("carry into the whole part") << "9.996" << 2 << 10.0;
    QTest::newRow("failure reply formatted") << "-99.00" << 2 << -99.0;
    QTest::newRow("implied decimals") << "2112      " << 2 << 21.12;
    QTest::newRow("implied, one decimal") << "215" << 1 << 21.5;
    QTest::newRow("zero decimals, separator rounds") << "1234.5" << 0 << 1235.0;
    QTest::newRow("first blank stops the scan") << "12 34" << 0 << 12.0;
    QTest::newRow("leading blank stops at once") << " 1234" << 0 << 0.0;
    QTest::newRow("minus after digits") << "12-3" << 0 << -123.0;
    QTest::newRow("letters skipped") << "T21.50C" << 2 << 21.5;
}

void TestLiveValues::decodeFixedPoint()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(double, value);
    QCOMPARE(DecodeFixedPoint(text, decimals), value);
}

void TestLiveValues::decodeWithDecimalComma()
{
    QCOMPARE(DecodeFixedPoint(QStringLiteral("21,125"), 2), 21.13);
}

void TestLiveValues::formatDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QString>("text");
    QTest::newRow("two") << 21.13 << 2 << false << "21.13";
    QTest::newRow("one, half to even down") << 21.25 << 1 << false << "21.2";
    QTest::newRow("one, half to even up") << 21.35 << 1 << false << "21.4";
    QTest::newRow("failure value") << -99.0 << 2 << false << "-99.00";
    QTest::newRow("negative zero") << -0.04 << 1 << false << "0.0";
    QTest::newRow("none") << 1234.6 << 0 << false << "1235";
    QTest::newRow("comma") << 21.13 << 1 << true << "21,1";
}

void TestLiveValues::formatDecimals()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(bool, comma);
    QFETCH(QString, text);
    SetDecimalComma(comma);
    const QString formatted = FormatDecimals(value, decimals);
    SetDecimalComma(false);
    QCOMPARE(formatted, text);
}

void TestLiveValues::indexToParameter_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("secondChannel");
    QTest::addColumn<int>("parameter");  // 0: no item
    QTest::addColumn<int>("decimals");
    QTest::newRow("0") << 0 << false << 64 << 2;
    QTest::newRow("0, second") << 0 << true << 64 << 2;
    QTest::newRow("1") << 1 << true << 65 << 2;
    QTest::newRow("2") << 2 << false << 61 << 1;
    QTest::newRow("2, second") << 2 << true << 46 << 2;
    QTest::newRow("3, second") << 3 << true << 61 << 1;
    QTest::newRow("6") << 6 << false << 75 << 1;
    QTest::newRow("7") << 7 << false << 74 << 1;
    QTest::newRow("7, second") << 7 << true << 75 << 1;
    QTest::newRow("8, second") << 8 << true << 74 << 1;
    QTest::newRow("8 without second") << 8 << false << 0 << 0;
    QTest::newRow("9, second") << 9 << true << 0 << 0;
    QTest::newRow("nothing chosen") << -1 << false << 0 << 0;
}

void TestLiveValues::indexToParameter()
{
    QFETCH(int, index);
    QFETCH(bool, secondChannel);
    QFETCH(int, parameter);
    QFETCH(int, decimals);
    const auto value = LiveValueFor(index, secondChannel);
    QCOMPARE(value.has_value(), parameter != 0);
    if (value) {
        QCOMPARE(value->parameter, parameter);
        QCOMPARE(value->decimals, decimals);
    }
}

void TestLiveValues::replyToRowText_data()
{
    QTest::addColumn<int>("parameter");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("unscaled") << 64 << "45.125" << "45.13";
    QTest::newRow("moisture") << 61 << "12.5" << "12.5";
    QTest::newRow("temperature three decimals") << 66 << "21.125" << "21.1";
    QTest::newRow("unscaled missing") << 64 << "-99" << "-99.00";
    QTest::newRow("moisture not a number") << 61 << "?" << "-99.0";
    QTest::newRow("material missing") << 75 << "-99" << "---";
    QTest::newRow("Brix not offered") << 74 << "?" << "---";
    QTest::newRow("material value") << 75 << "18.04" << "18.0";
}

void TestLiveValues::replyToRowText()
{
    QFETCH(int, parameter);
    QFETCH(QString, reply);
    QFETCH(QString, text);
    std::optional<LiveValue> value;
    for (int index = 0; index < 9 && !value; ++index) {
        const auto candidate = LiveValueFor(index, true);
        if (candidate && candidate->parameter == parameter)
            value = candidate;
    }
    QVERIFY(value);
    QCOMPARE(LiveValueText(*value, reply), text);
}

QTEST_GUILESS_MAIN(TestLiveValues)
#include "tst_LiveValues.moc"
