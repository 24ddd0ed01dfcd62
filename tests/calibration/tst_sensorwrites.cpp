// Writing calibrations to a scripted sensor on the virtual clock: the Brix coefficients into
// parameters 25 to 28 with "A1", always with a decimal point on the wire, nothing sent when a
// value is not a number, and "written" only when the read-back agrees; the moisture write's
// decimal point on a comma system. The windows' use of these is tested with the windows.

#include "CalibrationFixture.h"
#include "PagesFixture.h"
#include "calibration/BrixSensorProcedures.h"
#include "link/NumberRules.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TestSensorWrites : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalComma(false); }
    void brixWrite_data();
    void brixWrite();
    void moistureWriteSendsAPointOnACommaSystem();
};

void TestSensorWrites::brixWrite_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("readBackC");  // empty: what was written
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    const QStringList all{"W25 101.00", "W26 0.15", "W27 0.17", "W28 -2.50", "A1"};
    const int written = int(CalibrationWriteOutcome::Written), notSent = int(CalibrationWriteOutcome::NotSent),
              comms = int(CalibrationWriteOutcome::CommsError);
    QTest::newRow("written") << false << QStringList{"101", "0.15", "0.17", "-2.5"} << "" << all << written
                             << "LangSensor LangConfiguration LangWritten";
    QTest::newRow("comma system, point on the wire") << true << QStringList{"101", "0,15", "0,17", "-2,5"} << "" << all << written
                                                     << "LangSensor LangConfiguration LangWritten";
    QTest::newRow("C not a number: nothing sent") << false << QStringList{"101", "0.15", "", "-2.5"} << "" << QStringList{}
                                                  << notSent << "LangInvalid C Value";
    QTest::newRow("read-back differs") << false << QStringList{"101", "0.15", "0.17", "-2.5"} << "0.2" << all << comms
                                       << "LangCommsError";
}

void TestSensorWrites::brixWrite()
{
    QFETCH(bool, comma);
    QFETCH(QStringList, values);
    QFETCH(QString, readBackC);
    QFETCH(QStringList, sent);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    VirtualClockScope clock;
    FakeSensor sensor;
    Link link;
    link.setTransport(&sensor.transport);
    KeyTexts texts;
    SetDecimalComma(comma);
    if (!readBackC.isEmpty())
        sensor.replies[QStringLiteral("R27")] = {readBackC};
    const BrixCalibrationWrite w = WriteBrixCalibration(link, 1, {values[0], values[1], values[2], values[3]}, texts);
    QCOMPARE(sensor.writesAndActions(), sent);
    QCOMPARE(int(w.outcome), outcome);
    QCOMPARE(w.message, message);
    if (w.outcome == CalibrationWriteOutcome::Written)
        QCOMPARE(w.readBack[1], comma ? QStringLiteral("0,15") : QStringLiteral("0.15"));
}

void TestSensorWrites::moistureWriteSendsAPointOnACommaSystem()
{
    VirtualClockScope clock;
    FakeSensor sensor;
    Link link;
    link.setTransport(&sensor.transport);
    KeyTexts texts;
    SetDecimalComma(true);
    const CalibrationWrite w = WriteMoistureCalibration(link, 1, QStringLiteral("0,2186"), QStringLiteral("-3,744"),
                                                        QStringLiteral("1,5"), texts);
    QCOMPARE(sensor.writesAndActions(), (QStringList{"W1 0.0000", "W2 0.2186", "W3 -3.744", "W4 1.50", "A1"}));
    QCOMPARE(w.outcome, CalibrationWriteOutcome::Written);
    QCOMPARE(w.readBack.B, QStringLiteral("0,2186"));
}

QTEST_GUILESS_MAIN(TestSensorWrites)
#include "tst_sensorwrites.moc"
