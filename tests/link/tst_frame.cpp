// Frame layouts on the wire: text and binary command frames, reply decoding, checksums and
// DLE escapes, against byte vectors worked out by hand from the documented layouts. The
// receive loop and retries are covered in tst_exchange.

#include "link/Frame.h"

#include <QTest>

using namespace dunmere;

namespace {
QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out += char(b);
    return out;
}
}  // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void textCommandsMatchHandWrittenFrames_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("R74 to address 1")
            << 1 << QByteArray("R74") << bytes({0x02, 0x41, 0x40, 0x41, 0x52, 0x37, 0x34, 0x03, 0x41, 0x41});
        QTest::newRow("R1 to address 16")
            << 16 << QByteArray("R1") << bytes({0x02, 0x50, 0x40, 0x41, 0x52, 0x31, 0x03, 0x43, 0x42});
        // The 0x10 travels as DLE 0x10 and both bytes enter the checksum.
        QTest::newRow("P + 0x10 escaped")
            << 1 << bytes({'P', 0x10}) << bytes({0x02, 0x41, 0x40, 0x41, 0x50, 0x10, 0x10, 0x03, 0x41, 0x40});
    }
    void textCommandsMatchHandWrittenFrames()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(frame::encodeText(address, 1, text), expected);
    }

    void binaryBlockEscapesControlBytesAfterPreamble()
    {
        const QByteArray expected = bytes(
            {0xFF, 0xFF, 0x02, 0x41, 0x40, 0x41, 0x10, 0x02, 0x10, 0x03, 0x10, 0x10, 0x03, 0x44, 0x41});
        QCOMPARE(frame::encodeBinary(1, 1, bytes({0x02, 0x03, 0x10})), expected);
    }

    void frameCodeZeroIsTwoAtSigns()
    {
        QCOMPARE(frame::encodeText(0, 0, "R75").mid(1, 3), QByteArray("@@@"));
    }

    void receiverDecodesReplies_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<bool>("decimalComma");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("frameCode");
        QTest::addColumn<QByteArray>("payload");
        const QByteArray reply125 = bytes({0x02, 0x61, 0x40, 0x42, '1', '2', '.', '5', 0x03, 0x47, 0x4B});
        QTest::newRow("plain reply") << reply125 << false << true << 1 << 2 << QByteArray("12.5");
        QTest::newRow("noise before STX") << bytes({0xFF, 0x00, 0x55}) + reply125 << false << true << 1 << 2
                                          << QByteArray("12.5");
        QTest::newRow("decimal comma keeps checksum")
            << reply125 << true << true << 1 << 2 << QByteArray("12,5");
        QTest::newRow("address 16 is p")
            << bytes({0x02, 0x70, 0x40, 0x42, '!', 0x03, 0x45, 0x43}) << false << true << 16 << 2 << QByteArray("!");
        QTest::newRow("wrong checksum")
            << bytes({0x02, 0x70, 0x40, 0x42, '!', 0x03, 0x45, 0x44}) << false << false << -1 << -1 << QByteArray();
        // STX ETX "@@" is line noise: too short for address and FrameCode.
        QTest::newRow("too short") << bytes({0x02, 0x03, 0x40, 0x40}) << false << false << -1 << -1 << QByteArray();
    }
    void receiverDecodesReplies()
    {
        QFETCH(QByteArray, wire);
        QFETCH(bool, decimalComma);
        QFETCH(bool, valid);
        QFETCH(int, address);
        QFETCH(int, frameCode);
        QFETCH(QByteArray, payload);
        frame::FrameReceiver rx(frame::FrameReceiver::Mode::Text, decimalComma);
        bool complete = false;
        for (char b : wire)
            complete = rx.feed(b);
        QVERIFY(complete);
        QCOMPARE(rx.valid(), valid);
        QCOMPARE(rx.address(), address);
        QCOMPARE(rx.frameCode(), frameCode);
        QCOMPARE(rx.payload(), payload);
    }

    void abandonedFramesNeverComplete_data()
    {
        QTest::addColumn<QByteArray>("wire");
        // The second STX drops the frame and does not open a new one.
        QTest::newRow("second STX inside")
            << bytes({0x02, 0x61, 0x40, 0x02, 0x61, 0x40, 0x42, '!', 0x03, 0x46, 0x43});
        QTest::newRow("DLE before an ordinary byte") << bytes({0x02, 0x61, 0x40, 0x42, 0x10, 'A', 0x03, 0x40, 0x40});
    }
    void abandonedFramesNeverComplete()
    {
        QFETCH(QByteArray, wire);
        frame::FrameReceiver rx;
        for (char b : wire)
            QVERIFY(!rx.feed(b));
        QVERIFY(!rx.complete());
    }

    void escapedReplyBytesDecodeToSingleBytes()
    {
        // Binary reply: STX, 'a', "@B", payload 10 02 10 10 2E, ETX, checksum of 61 40 42 10 02 10 10 2E.
        const QByteArray wire = bytes({0x02, 0x61, 0x40, 0x42, 0x10, 0x02, 0x10, 0x10, 0x2E, 0x03, 0x45, 0x4F});
        frame::FrameReceiver rx(frame::FrameReceiver::Mode::Binary, true);
        for (char b : wire)
            rx.feed(b);
        QVERIFY(rx.valid());
        // A 0x2E byte in a binary payload is data, not a decimal point.
        QCOMPARE(rx.payload(), bytes({0x02, 0x10, 0x2E}));
    }
};

QTEST_GUILESS_MAIN(TestFrame)
#include "tst_frame.moc"
