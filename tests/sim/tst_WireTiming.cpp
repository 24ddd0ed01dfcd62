// Bytes on the simulated wire take their time: 10 bit times a byte (8N1), in both directions,
// on the installed (virtual) clock; the serial form adds its preamble and pad to the line.
// Everything here runs on the virtual clock; the real-clock front ends are tested elsewhere.

#include "VirtualClockFixture.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QtTest>

using namespace dunmere;
using namespace dunmere::sim;

namespace {

// 20 bytes: STX, 'A', "@A", "W20 1.0000000", ETX, checksum "AJ".
const QByteArray TwentyByteFrame("\x02" "A@AW20 1.0000000\x03" "AJ");
const QByteArray DoneReply("\x02" "a@B!\x03" "DB");

}  // namespace

class WireTiming : public QObject {
    Q_OBJECT

private slots:
    void twentyByteFrameArrivesAfterTwentyPointEightMs()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        SimTransport tcp(bus, Transport::Kind::Tcp);
        const qint64 t0 = scope.clock.nowMs();
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        scope.clock.advance(20);
        QVERIFY(bus.received().isEmpty());  // 20 × 1.0417 ms = 20.83 ms: not yet
        scope.clock.advance(1);
        QCOMPARE(bus.received().size(), 1);
        QCOMPARE(bus.received().first().atMs - t0, qint64(21));
        QCOMPARE(bus.received().first().payload, QByteArray("W20 1.0000000"));
    }

    void replyFollowsLatencyAndItsOwnWireTime()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        bus.setReplyLatencyMs(3);
        SimTransport tcp(bus, Transport::Kind::Tcp);
        const qint64 t0 = scope.clock.nowMs();
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        // Frame ends at 20.83 ms, reply starts 3 ms later, its 8 bytes end at 32.17 ms.
        scope.clock.advance(24);
        QCOMPARE(tcp.bytesAvailable(), qint64(0));
        scope.clock.advance(32 - 24);
        QCOMPARE(tcp.bytesAvailable(), qint64(7));
        scope.clock.advance(1);
        QCOMPARE(tcp.readAll(), DoneReply);
        QCOMPARE(scope.clock.nowMs() - t0, qint64(33));
    }

    void transportLatencyAddsToTheSensors()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        bus.setReplyLatencyMs(3);
        SimTransport tcp(bus, Transport::Kind::Tcp);
        tcp.setReplyLatencyMs(40);
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        scope.clock.advance(72);
        QCOMPARE(tcp.bytesAvailable(), qint64(7));  // 20.83 + 3 + 40 + 8 × 1.0417 = 72.2 ms
        scope.clock.advance(1);
        QCOMPARE(tcp.readAll(), DoneReply);
    }

    void serialLineCarriesPreambleAndPad()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        SimTransport serial(bus, Transport::Kind::Serial);
        const qint64 t0 = scope.clock.nowMs();
        QVERIFY(serial.sendTextFrame(TwentyByteFrame));
        scope.clock.advance(100);
        // Two 0xFF before the frame: its last byte is the 22nd on the line (22.9 ms).
        QCOMPARE(bus.received().first().atMs - t0, qint64(23));
        QCOMPARE(serial.readAll(), DoneReply);
    }

    void higherBaudIsQuicker()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        SimTransport tcp(bus, Transport::Kind::Tcp);
        tcp.setBaud(115200);
        const qint64 t0 = scope.clock.nowMs();
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        scope.clock.advance(10);
        QCOMPARE(bus.received().first().atMs - t0, qint64(2));  // 20 × 86.8 µs = 1.74 ms
    }

    void secondCommandWaitsForTheFirstOnTheLine()
    {
        test::VirtualClockScope scope;
        SimBus bus;
        buildDemoBus(bus);
        SimTransport tcp(bus, Transport::Kind::Tcp);
        const qint64 t0 = scope.clock.nowMs();
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        QVERIFY(tcp.sendTextFrame(TwentyByteFrame));
        scope.clock.advance(100);
        QCOMPARE(bus.received().size(), 2);
        QCOMPARE(bus.received().at(1).atMs - t0, qint64(42));  // 40 × 1.0417 ms = 41.67 ms
    }
};

QTEST_MAIN(WireTiming)
#include "tst_WireTiming.moc"
