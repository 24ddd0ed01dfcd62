// What the simulated sensors measure and how they tell it: the fixed-column blocks, the raw
// sample blocks and the sweep, the material the reading follows, moisture from the written
// coefficients, averaging, the automatic calibration and a firmware upgrade with its errors.
// Runs on the virtual clock through the program's Link. Exact values of the drift and noise
// are left out: only their bounds and the layouts matter to the program.

#include "SimBench.h"
#include "sim/SensorCommands.h"

#include <QtTest>

using namespace dunmere;
using namespace dunmere::sim;

namespace {

struct Bench : test::SimBench {
    using SimBench::SimBench;
    QString command(int address, const QByteArray& text) { return link.SendCommand(address, QString::fromLatin1(text)); }
    QByteArray binary(int address, int frameCode, const QByteArray& text, int& replyAddress)
    {
        link.Net_Send(address, frameCode, QString::fromLatin1(text));
        int fc = 0;
        QByteArray bytes;
        link.Net_ReceiveBytes(1500, replyAddress, fc, bytes);
        return bytes;
    }
    double number(int address, int parameter) { return link.ReadParameter(address, parameter).toDouble(); }
};

QByteArray p(char code, const QByteArray& rest = {}) { return QByteArray(1, 'P') + code + rest; }

// Fields separated by runs of blanks.
QStringList fields(const QString& text) { return text.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

QByteArray firmwareBlock(int number, const QByteArray& data)
{
    return p(SensorCommands::FirmwareBlock, QByteArray::number(number).rightJustified(5, '0') + ',' + data);
}

}  // namespace

class SensorMeasurement : public QObject {
    Q_OBJECT

private slots:
    void liveBlockHasTenCharacterColumns()
    {
        Bench b;
        const QString block = b.command(1, p(SensorCommands::LiveBlock));
        QCOMPARE(block.size(), 80);
        const QStringList f = fields(block);
        QCOMPARE(f.size(), 8);
        for (int i = 0; i < 8; ++i)
            QVERIFY2(block.mid(i * 10, 10).startsWith(f[i]), qPrintable(block));  // left-aligned in its column
        // Amplitude columns are whole numbers, so a decoding with 0 decimals reads them right.
        QVERIFY(!f[2].contains(QLatin1Char('.')));
        QVERIFY(!f[7].contains(QLatin1Char('.')));
        // Compensated frequency between the water and air references for a reading of about 38.
        QVERIFY(f[6].toDouble() > 720 && f[6].toDouble() < 880);
    }

    void extremesAndTrendColumns()
    {
        Bench b;
        const QString extremes = b.command(1, p(SensorCommands::Extremes));
        QCOMPARE(extremes.size(), 20);
        QVERIFY(extremes.left(9).trimmed().toDouble() < extremes.mid(10, 9).trimmed().toDouble());
        QVERIFY(extremes.left(9).contains(QLatin1Char('.')));
        const QString trend = b.command(2, p(SensorCommands::TrendBlock));
        QCOMPARE(trend.size(), 80);
        // Electronics and resonator temperatures carry one decimal; the others two.
        QCOMPARE(fields(trend.mid(60, 10)).first().section(QLatin1Char('.'), 1).size(), 1);
        QCOMPARE(fields(trend.mid(40, 10)).first().section(QLatin1Char('.'), 1).size(), 2);
        QVERIFY(qAbs(trend.mid(40, 10).toDouble() - 52.0) < 2.0);
    }

    void rawBlocksHoldOneSecondOfSamples_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::newRow("tcp") << false;
        QTest::newRow("serial") << true;
    }

    void rawBlocksHoldOneSecondOfSamples()
    {
        QFETCH(bool, serial);
        Bench b(serial ? Transport::Kind::Serial : Transport::Kind::Tcp);
        int address = 0;
        const QByteArray raw = b.binary(1, 1, "R100", address);
        QCOMPARE(address, 1);
        QCOMPARE(raw.size(), 50);
        for (int i = 0; i < 50; i += 2) {
            const int sample = quint8(raw[i]) * 256 + quint8(raw[i + 1]);  // high byte first
            QVERIFY2(qAbs(sample / 100.0 - 38.0) < 2.0, qPrintable(QString::number(sample)));
        }
        QCOMPARE(b.binary(1, 1, "R117", address).size(), 50);
        // Only the second-channel types have the second raw channel.
        QCOMPARE(b.binary(5, 1, "R117", address), QByteArray("?"));
    }

    void sweepAndMaterialTemperatureAtAddressZero()
    {
        Bench b;
        QCOMPARE(b.link.ReadParameter(2, 64).isEmpty(), false);  // sensor 2 is now under test
        int address = 0;
        const QByteArray sweep = b.binary(0, 0, p(SensorCommands::Sweep, "00000"), address);
        QCOMPARE(sweep.size(), 50);
        QCOMPARE(address, 2);
        // The peak stands where the reading (about 52) puts it: point 5 + 0.4 × 52 ≈ 26.
        const auto peak = std::max_element(sweep.begin(), sweep.end(), [](char x, char y) { return quint8(x) < quint8(y); });
        QVERIFY(qAbs(int(peak - sweep.begin()) + 1 - 26) <= 2);
        b.link.Net_Send(0, 1, QStringLiteral("R75"));
        int fc = 0;
        QString text;
        b.link.Net_Receive(1000, address, fc, text);
        QCOMPARE(address, 2);
        QVERIFY(qAbs(text.toDouble() - 21.0) < 2.0);
    }

    void readingFollowsTheMaterial()
    {
        Bench b;
        QVERIFY(qAbs(b.number(1, 64) - 38.0) < 1.5);
        b.bus.sensorAt(1)->setMaterial(70.0);
        b.clock.clock.advance(30'000);
        QVERIFY(qAbs(b.number(1, 64) - 70.0) < 1.5);
    }

    void moistureComesFromTheCoefficients()
    {
        Bench b;
        for (auto [w, v] : {std::pair{"W1", "0"}, {"W2", "0.5"}, {"W3", "1"}, {"W4", "0.5"}})
            QCOMPARE(b.link.WriteParameter(1, QString::fromLatin1(w), QString::fromLatin1(v), {}), QStringLiteral("!"));
        const double unscaled = b.number(1, 64);
        QVERIFY(qAbs(b.number(1, 61) - (0.5 * unscaled + 1 - 0.5)) < 0.02);
    }

    void averagingStartsAndStops()
    {
        Bench b;
        QCOMPARE(b.link.ReadParameter(1, 69).at(0), QLatin1Char('0'));
        QCOMPARE(b.link.SendAction(1, "3"), QStringLiteral("!"));
        b.clock.clock.advance(5000);
        QCOMPARE(b.link.ReadParameter(1, 69).at(0), QLatin1Char('1'));
        QCOMPARE(b.link.SendAction(1, "2"), QStringLiteral("!"));
        const QString held = b.link.ReadParameter(1, 65);
        b.bus.sensorAt(1)->setMaterial(80.0);
        b.clock.clock.advance(20'000);
        QCOMPARE(b.link.ReadParameter(1, 65), held);
        QCOMPARE(b.link.ReadParameter(1, 69).at(0), QLatin1Char('0'));
    }

    void averagingInputWhenWiredForIt()
    {
        Bench b;
        VirtualSensor* s = b.bus.sensorAt(1);
        s->setAveragingInput(true);  // parameter 9 is 0: the input is unused
        QCOMPARE(b.link.ReadParameter(1, 69).at(0), QLatin1Char('0'));
        s->setAveragingInput(false);
        QCOMPARE(b.link.WriteParameter(1, "W9", "1", {}), QStringLiteral("!"));
        s->setAveragingInput(true);
        QCOMPARE(b.link.ReadParameter(1, 69).at(0), QLatin1Char('1'));
    }

    void automaticCalibration_data()
    {
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("result");
        QTest::newRow("done") << true << "1";
        QTest::newRow("failed") << false << "2";
    }

    void automaticCalibration()
    {
        QFETCH(bool, succeeds);
        QFETCH(QString, result);
        Bench b;
        b.bus.sensorAt(1)->autoCalibration().setSucceeds(succeeds);
        b.bus.sensorAt(1)->autoCalibration().setDurationMs(8000);
        QCOMPARE(b.command(1, "A 4"), QStringLiteral("0"));
        QCOMPARE(b.command(1, "A 5"), QStringLiteral("!"));
        QCOMPARE(b.command(1, "A 4"), QStringLiteral("3"));
        QCOMPARE(b.command(1, "A 5"), QStringLiteral("?"));  // already running
        b.clock.clock.advance(8000);
        QCOMPARE(b.command(1, "A 4"), result);
        b.clock.clock.advance(AutoCalibration::ResultShownMs);
        QCOMPARE(b.command(1, "A 4"), QStringLiteral("0"));
        // Types without it do not know the command.
        QCOMPARE(b.command(5, "A 4"), QStringLiteral("?"));
    }

    void outputTestTakesTheRawValues()
    {
        Bench b;
        QCOMPARE(b.command(2, p(SensorCommands::OutputTest)), QStringLiteral("!"));
        QCOMPARE(b.command(2, "W31 2560"), QStringLiteral("!"));
        QCOMPARE(b.command(2, "W37 512"), QStringLiteral("!"));
        QCOMPARE(b.command(2, "W31 4096"), QStringLiteral("?"));
        QCOMPARE(b.bus.sensorAt(2)->parameters().value(31), QByteArray("2560"));
        QCOMPARE(b.bus.sensorAt(2)->parameters().value(37), QByteArray("512"));
        // One output only on type 45.
        QCOMPARE(b.command(5, p(SensorCommands::OutputTest)), QStringLiteral("!"));
        QCOMPARE(b.command(5, "W37 512"), QStringLiteral("?"));
    }

    void firmwareUpgradeBringsTheNewText()
    {
        Bench b;
        QByteArray image(FirmwareReceiver::BlockCount * FirmwareReceiver::BlockSize, '\x10');  // DLE everywhere: all escaped
        image.replace(300, 12, "QX0089 v1.13");
        for (int i = 0; i < FirmwareReceiver::BlockCount; ++i) {
            b.link.Net_SendBytes(1, 1, firmwareBlock(i, image.mid(i * 128, 128)));
            int a = 0, fc = 0;
            QString reply;
            b.link.Net_Receive(4000, a, fc, reply);
            QCOMPARE(reply, QStringLiteral("0"));
        }
        b.link.Net_Send(1, 1, QStringLiteral("P\x13HANG ON EVERYBODY"));
        int a = 0, fc = 0;
        QString reply;
        b.link.Net_Receive(1000, a, fc, reply);
        QCOMPARE(reply, FailureText);  // no answer to the restart
        b.clock.clock.advance(5000);
        QCOMPARE(b.link.ReadParameter(1, 50), QStringLiteral("QX0089 v1.13"));
    }

    void restartWithoutAWholeImageKeepsTheFirmware()
    {
        Bench b;
        QCOMPARE(b.command(1, firmwareBlock(0, QByteArray(128, 'x'))), QStringLiteral("0"));
        b.link.Net_Send(1, 1, QStringLiteral("P\x13HANG ON EVERYBODY"));
        b.clock.clock.advance(5000);
        QCOMPARE(b.link.ReadParameter(1, 50), QStringLiteral("QX0089 v1.12"));
    }

    void firmwareBlockAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("reply");
        QTest::newRow("write error") << int(FirmwareReceiver::BlockAnswer::WriteError) << "1";
        QTest::newRow("verify error") << int(FirmwareReceiver::BlockAnswer::VerifyError) << "10";
        QTest::newRow("both") << int(FirmwareReceiver::BlockAnswer::WriteVerifyError) << "11";
        QTest::newRow("silence") << int(FirmwareReceiver::BlockAnswer::Silence) << "-99";
    }

    void firmwareBlockAnswers()
    {
        QFETCH(int, answer);
        QFETCH(QString, reply);
        Bench b;
        b.bus.sensorAt(1)->firmware().setBlockAnswer(7, FirmwareReceiver::BlockAnswer(answer), 1);
        auto send = [&](int block) {
            b.link.Net_SendBytes(1, 1, firmwareBlock(block, QByteArray(128, 'y')));
            int a = 0, fc = 0;
            QString text;
            b.link.Net_Receive(4000, a, fc, text);
            return text;
        };
        QCOMPARE(send(6), QStringLiteral("0"));
        QCOMPARE(send(7), reply);
        QCOMPARE(send(7), QStringLiteral("0"));  // only once
    }

    void malformedFirmwareBlocksAreNotAccepted_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("short") << QByteArray("00001,abc");
        QTest::newRow("block 512") << QByteArray("00512,") + QByteArray(128, 'z');
        QTest::newRow("no comma") << QByteArray("00001;") + QByteArray(128, 'z');
        QTest::newRow("letters") << QByteArray("0a001,") + QByteArray(128, 'z');
    }

    void malformedFirmwareBlocksAreNotAccepted()
    {
        QFETCH(QByteArray, data);
        Bench b;
        QCOMPARE(b.command(1, p(SensorCommands::FirmwareBlock, data)), QStringLiteral("?"));
        QCOMPARE(b.bus.sensorAt(1)->firmware().blocksReceived(), 0);
    }
};

QTEST_MAIN(SensorMeasurement)
#include "tst_SensorMeasurement.moc"
