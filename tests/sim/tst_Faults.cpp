// Each fault of the simulated bus does what it says, seen through the program's own exchange
// (Link) on the virtual clock: what the receiver returns, the error code it leaves, and for
// the timing faults when the bytes come. Also that a sensor's fault stays with that sensor
// and that faults switch off again. The TCP bridge's own close is in the front-end test.

#include "SimBench.h"
#include "sim/SimConsole.h"

#include <QSignalSpy>
#include <QtTest>

using namespace dunmere;
using namespace dunmere::sim;

namespace {

struct Bench : test::SimBench {
    using SimBench::SimBench;
    QString receive(int address, const QString& command, int timeoutMs = 1500)
    {
        link.Net_Send(address, 1, command);
        int a = 0, fc = 0;
        QString text;
        link.Net_Receive(timeoutMs, a, fc, text);
        return text;
    }
};

}  // namespace

class Faults : public QObject {
    Q_OBJECT

private slots:
    void faultTable_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("errorCode");
        QTest::newRow("none") << "none" << "0.2857" << 0;
        QTest::newRow("silence") << "1:silence" << "-99" << 1;
        QTest::newRow("latency within time-out") << "1:latency=300" << "0.2857" << 0;
        QTest::newRow("noise before STX is skipped") << "1:noise" << "0.2857" << 0;
        QTest::newRow("wrong checksum") << "1:checksum" << "-99" << 2;
        QTest::newRow("flipped bit") << "1:flip" << "-99" << 2;
        QTest::newRow("dropped byte") << "1:drop" << "-99" << 2;
        // The 8-bit XOR checksum cannot see the same bit changed in two bytes.
        QTest::newRow("two flipped bits pass the checksum") << "1:flip2" << "1/2857" << 0;
        QTest::newRow("second STX abandons the frame") << "1:stx" << "-99" << 1;
        QTest::newRow("reply after the time-out") << "1:late" << "-99" << 1;
        QTest::newRow("line-wide checksum") << "checksum" << "-99" << 2;
        QTest::newRow("other sensor's fault") << "2:silence" << "0.2857" << 0;
    }

    void faultTable()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reply);
        QFETCH(int, errorCode);
        Bench b;
        QString error;
        QVERIFY2(applyFaultSpec(b.bus, fault, error), qPrintable(error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), reply);
        QCOMPARE(int(b.link.state().CommsErrorCode), errorCode);
    }

    void latencyDelaysTheReply()
    {
        Bench b;
        const qint64 t0 = b.clock.clock.nowMs();
        QCOMPARE(b.receive(1, QStringLiteral("R2")), QStringLiteral("0.2857"));
        const qint64 normal = b.clock.clock.nowMs() - t0;
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:latency=250"), error));
        const qint64 t1 = b.clock.clock.nowMs();
        QCOMPARE(b.receive(1, QStringLiteral("R2")), QStringLiteral("0.2857"));
        QCOMPARE(b.clock.clock.nowMs() - t1, normal + 250);
    }

    void lateReplyArrivesAfterTheTimeout()
    {
        Bench b;
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:late"), error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), FailureText);
        b.clock.clock.advance(1000);
        QVERIFY(b.link.state().NetReceiveBuffer.contains("0.2857"));
    }

    void faultsSwitchOffWhileRunning()
    {
        Bench b;
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:silence,1:checksum"), error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), FailureText);
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:none"), error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), QStringLiteral("0.2857"));
    }

    void secondMasterChattersUnasked()
    {
        Bench b(Transport::Kind::Serial);
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("master"), error));
        // What the port check sees: bytes within a second though nothing was sent.
        b.clock.clock.advance(1000);
        QVERIFY(b.transport.readAll().contains(QByteArray("\x02" "Q@AR64\x03" "@@")));
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("none"), error));
        b.clock.clock.advance(1000);
        QCOMPARE(b.transport.bytesAvailable(), qint64(0));
    }

    void secondMasterAnswersIdentificationWithFrameCodeOne()
    {
        Bench b;
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("master"), error));
        b.link.Net_Send(3, 1, QStringLiteral("P\x01"));
        int a = 0, fc = 0;
        QString text;
        b.link.Net_Receive(400, a, fc, text);
        QCOMPARE(a, 3);
        QCOMPARE(fc, 1);
        // A real sensor still answers with its own FrameCode.
        b.link.Net_Send(1, 1, QStringLiteral("P\x01"));
        b.link.Net_Receive(400, a, fc, text);
        QCOMPARE(fc, 2);
    }

    void closeDropsTheConnectionInsideTheReply()
    {
        Bench b(Transport::Kind::Tcp);
        QSignalSpy lost(&b.link, &Link::connectionLost);
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:close"), error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), FailureText);
        QVERIFY(!b.transport.isOpen());
        QCOMPARE(lost.count(), 1);
        QCOMPARE(b.link.state().CommsErrorCode, qint16(3));
    }

    void closeMeansNothingOnASerialLine()
    {
        Bench b(Transport::Kind::Serial);
        QString error;
        QVERIFY(applyFaultSpec(b.bus, QStringLiteral("1:close"), error));
        QCOMPARE(b.receive(1, QStringLiteral("R2")), QStringLiteral("0.2857"));
        QVERIFY(b.transport.isOpen());
    }

    void badFaultSpecsAreRefused_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::newRow("unknown name") << "wobble";
        QTest::newRow("no sensor there") << "9:silence";
        QTest::newRow("address 17") << "17:silence";
        QTest::newRow("latency not a number") << "latency=soon";
        QTest::newRow("master on one sensor") << "1:master";
    }

    void badFaultSpecsAreRefused()
    {
        QFETCH(QString, spec);
        Bench b;
        QString error;
        QVERIFY(!applyFaultSpec(b.bus, spec, error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(Faults)
#include "tst_Faults.moc"
