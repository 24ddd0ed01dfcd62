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

// The demo bus behind one simulated transport, on the virtual clock; t0 is when it starts.
struct Wire {
    test::VirtualClockScope scope;
    SimBus bus;
    SimTransport line;
    const qint64 t0 = scope.clock.nowMs();
    explicit Wire(Transport::Kind kind = Transport::Kind::Tcp) : line(bus, kind) { buildDemoBus(bus); }
};

}  // namespace

class WireTiming : public QObject {
    Q_OBJECT

private slots:
    void twentyByteFrameArrivesAfterTwentyPointEightMs()
    {
        Wire w;
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        w.scope.clock.advance(20);
        QVERIFY(w.bus.received().isEmpty());  // 20 × 1.0417 ms = 20.83 ms: not yet
        w.scope.clock.advance(1);
        QCOMPARE(w.bus.received().size(), 1);
        QCOMPARE(w.bus.received().first().atMs - w.t0, qint64(21));
        QCOMPARE(w.bus.received().first().payload, QByteArray("W20 1.0000000"));
    }

    void replyFollowsLatencyAndItsOwnWireTime()
    {
        Wire w;
        w.bus.setReplyLatencyMs(3);
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        // Frame ends at 20.83 ms, reply starts 3 ms later, its 8 bytes end at 32.17 ms.
        w.scope.clock.advance(24);
        QCOMPARE(w.line.bytesAvailable(), qint64(0));
        w.scope.clock.advance(32 - 24);
        QCOMPARE(w.line.bytesAvailable(), qint64(7));
        w.scope.clock.advance(1);
        QCOMPARE(w.line.readAll(), DoneReply);
        QCOMPARE(w.scope.clock.nowMs() - w.t0, qint64(33));
    }

    void transportLatencyAddsToTheSensors()
    {
        Wire w;
        w.bus.setReplyLatencyMs(3);
        w.line.setReplyLatencyMs(40);
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        w.scope.clock.advance(72);
        QCOMPARE(w.line.bytesAvailable(), qint64(7));  // 20.83 + 3 + 40 + 8 × 1.0417 = 72.2 ms
        w.scope.clock.advance(1);
        QCOMPARE(w.line.readAll(), DoneReply);
    }

    void serialLineCarriesPreambleAndPad()
    {
        Wire w(Transport::Kind::Serial);
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        w.scope.clock.advance(100);
        // Two 0xFF before the frame: its last byte is the 22nd on the line (22.9 ms).
        QCOMPARE(w.bus.received().first().atMs - w.t0, qint64(23));
        QCOMPARE(w.line.readAll(), DoneReply);
    }

    void higherBaudIsQuicker()
    {
        Wire w;
        w.line.setBaud(115200);
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        w.scope.clock.advance(10);
        QCOMPARE(w.bus.received().first().atMs - w.t0, qint64(2));  // 20 × 86.8 µs = 1.74 ms
    }

    void secondCommandWaitsForTheFirstOnTheLine()
    {
        Wire w;
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        QVERIFY(w.line.sendTextFrame(TwentyByteFrame));
        w.scope.clock.advance(100);
        QCOMPARE(w.bus.received().size(), 2);
        QCOMPARE(w.bus.received().at(1).atMs - w.t0, qint64(42));  // 40 × 1.0417 ms = 41.67 ms
    }
};

QTEST_MAIN(WireTiming)
#include "tst_WireTiming.moc"
