// The command exchange over a scripted transport on the virtual clock: time-outs and error
// codes, retries of ReadParameter and SendCommand, WriteParameter's invalid-value message,
// TCP round-trip statistics and connect time, split binary replies, lost and failed
// transports, and closing during a wait. Frame bytes themselves are covered in tst_frame.

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/NumberRules.h"

#include <QSignalSpy>
#include <QTest>

using namespace dunmere;
using dunmere::test::ScriptedTransport;

namespace {

class RecordingMessages : public Messages {
public:
    bool show(const QString& text, MessageButtons) override
    {
        shown << text;
        return true;
    }
    QStringList shown;
};

class KeyTexts : public TextSource {
public:
    QString text(const QString& key) const override { return QStringLiteral("<%1>").arg(key); }
};

QByteArray reply(int address, const QByteArray& text, int frameCode = 2)
{
    return frame::encodeReply(address, frameCode, text);
}

}  // namespace

class TestExchange : public QObject {
    Q_OBJECT

    struct Fixture {
        explicit Fixture(Transport::Kind kind = Transport::Kind::Serial) : transport(kind)
        {
            link.setTransport(&transport);
            link.setMessages(&messages);
            link.setTexts(&texts);
        }
        test::VirtualClockScope time;
        ScriptedTransport transport;
        Link link;
        RecordingMessages messages;
        KeyTexts texts;
    };

private slots:
    void cleanup() { SetDecimalComma(false); }

    void receiveOutcomes_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::addColumn<qint64>("elapsed");
        QTest::newRow("good reply returns on its last byte") << reply(3, "!") << "!" << 0 << qint64(5);
        QTest::newRow("silence times out") << QByteArray() << "-99" << 1 << qint64(1500);
        QTest::newRow("wrong checksum")
            << QByteArray("\x02" "c@B!\x03" "EE") << "-99" << 2 << qint64(5);
        QTest::newRow("second STX drops the frame")
            << QByteArray("\x02" "c@\x02" "c@B!\x03" "EA") << "-99" << 1 << qint64(1500);
        QTest::newRow("line noise STX ETX @@") << QByteArray("\x02\x03@@") << "-99" << 2 << qint64(5);
        // Found by the fault soak: another master's command "R64" to address 3 (address + 64)
        // is a whole frame, but no reply; the sensor's reply after it is.
        QTest::newRow("another master's command is passed over")
            << QByteArray("\x02" "C@AR64\x03" "AB" "\x02" "c@B!\x03" "D@") << "!" << 0 << qint64(5);
    }
    void receiveOutcomes()
    {
        QFETCH(QByteArray, wire);
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(qint64, elapsed);
        Fixture f;
        f.transport.queueReply(wire, 5);
        f.link.Net_Send(3, 1, QStringLiteral("A1"));
        const qint64 start = f.time.clock.nowMs();
        int address = 0, frameCode = 0;
        QString got;
        f.link.Net_Receive(1500, address, frameCode, got);
        QCOMPARE(got, text);
        QCOMPARE(int(f.link.state().CommsErrorCode), code);
        QCOMPARE(f.time.clock.nowMs() - start, elapsed);
        QCOMPARE(address, code == 0 ? 3 : -1);
        QVERIFY(!f.link.state().ReceiveBusy);
    }

    void noTransportGivesCodeThree()
    {
        test::VirtualClockScope time;
        Link link;
        int address = 0, frameCode = 0;
        QString text;
        link.Net_Receive(1500, address, frameCode, text);
        QCOMPARE(text, QStringLiteral("-99"));
        QCOMPARE(int(link.state().CommsErrorCode), 3);
        QCOMPARE(address, -1);
    }

    void decimalPointArrivesAsComma()
    {
        SetDecimalComma(true);
        Fixture f;
        f.transport.queueReply(reply(1, "12.5"));
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("R1")), QStringLiteral("12,5"));
    }

    void readParameterRetries_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("sends");
        QTest::addColumn<bool>("errorFlag");
        QTest::newRow("text parameter 50 at the first try") << 50 << QByteArray("QX0089 v1.12") << 1 << false;
        QTest::newRow("? to a numeric parameter three times") << 12 << QByteArray("?") << 3 << true;
        QTest::newRow("tolerated 75 keeps the flag clear") << 75 << QByteArray("?") << 3 << false;
        QTest::newRow("number accepted") << 64 << QByteArray("1234.5") << 1 << false;
    }
    void readParameterRetries()
    {
        QFETCH(int, number);
        QFETCH(QByteArray, answer);
        QFETCH(int, sends);
        QFETCH(bool, errorFlag);
        Fixture f;
        f.transport.setResponder([&](const QByteArray&) { return reply(2, answer); });
        QCOMPARE(f.link.ReadParameter(2, number), QString::fromLatin1(answer));
        QCOMPARE(f.transport.sent.size(), sends);
        QCOMPARE(f.transport.sent.first(), frame::encodeText(2, 1, "R" + QByteArray::number(number)));
        QCOMPARE(f.link.state().ReadErrorFlag, errorFlag);
    }

    void readParameterGivesUpAfterThreeSilentTries()
    {
        Fixture f;
        const qint64 start = f.time.clock.nowMs();
        QCOMPARE(f.link.ReadParameter(1, 61), QStringLiteral("-99"));
        QCOMPARE(f.transport.sent.size(), 3);
        QCOMPARE(f.time.clock.nowMs() - start, qint64(4500));
        QVERIFY(f.link.state().ReadErrorFlag);
    }

    void sendCommandStopsAtFirstReply()
    {
        Fixture f;
        f.transport.queueReply(QByteArray());
        f.transport.queueReply(reply(1, "?"));
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("A 4")), QStringLiteral("?"));
        QCOMPARE(f.transport.sent.size(), 2);
    }

    void writeParameterWithEmptyValueWarnsAndSendsNothing()
    {
        Fixture f;
        f.link.WriteParameter(1, QStringLiteral("W12"), QString(), QStringLiteral("Coefficient"));
        QVERIFY(f.transport.sent.isEmpty());
        QCOMPARE(f.messages.shown, QStringList{QStringLiteral("<LangInvalid> Coefficient")});

        f.transport.queueReply(reply(1, "!"));
        f.link.WriteParameter(1, QStringLiteral("W12"), QStringLiteral("1.5"), QStringLiteral("Coefficient"));
        QCOMPARE(f.transport.sent.last(), frame::encodeText(1, 1, "W12 1.5"));
    }

    void tcpReceiveAddsConnectTimeAndKeepsRoundTripStatistics()
    {
        Fixture f(Transport::Kind::Tcp);
        f.link.state().ConnectTime = 11000;
        // Arrives after the plain 1500 ms, well inside 1500 + ConnectTime.
        f.transport.queueReply(reply(1, "!"), 4000);
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("A1")), QStringLiteral("!"));
        QCOMPARE(f.link.state().LastRTT, qint64(4000));
        QCOMPARE(f.link.state().AverageRTT, qint64(4000));

        f.transport.queueReply(reply(1, "!"), 1500);
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("A1")), QStringLiteral("!"));
        // (24 * 4000 + 1500) / 25 = 3900
        QCOMPARE(f.link.state().AverageRTT, qint64(3900));
        QCOMPARE(f.link.state().MaxRTT, qint64(4000));
        QCOMPARE(f.link.state().NetTimeouts, 0u);
    }

    void tcpSilenceCountsATimeout()
    {
        Fixture f(Transport::Kind::Tcp);
        int a = 0, fc = 0;
        QString text;
        f.link.Net_Send(1, 1, QStringLiteral("R1"));
        f.link.Net_Receive(1500, a, fc, text);
        QCOMPARE(f.link.state().NetTimeouts, 1u);
        QCOMPARE(text, QStringLiteral("-99"));
    }

    void binaryReplySplitOverTwoSegmentsIsCollected()
    {
        Fixture f(Transport::Kind::Tcp);
        const QByteArray wire = frame::encodeReply(1, 2, QByteArray("\x2E\x40\x01\x02", 4));
        f.link.Net_Send(1, 1, QStringLiteral("R100"));
        f.transport.inject(wire.left(5), 10);
        f.transport.inject(wire.mid(5), 60);
        int a = 0, fc = 0;
        QByteArray bytes;
        f.link.Net_ReceiveBytes(1500, a, fc, bytes);
        QCOMPARE(bytes, QByteArray("\x2E\x40\x01\x02", 4));
        QCOMPARE(a, 1);
    }

    void lostTcpConnectionEndsInNoTransport()
    {
        Fixture f(Transport::Kind::Tcp);
        QSignalSpy lost(&f.link, &Link::connectionLost);
        f.transport.dropAfter(100);
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("R1")), QStringLiteral("-99"));
        QVERIFY(!f.link.state().IPMode);
        QCOMPARE(lost.first().first().toString(), QStringLiteral("Connection Lost to 127.0.0.1"));
        // Nothing more goes out once the transport is gone.
        const auto sent = f.transport.sent.size();
        (void)f.link.ReadParameter(1, 1);
        QCOMPARE(f.transport.sent.size(), sent);
    }

    void serialDeviceErrorClosesThePortAndTellsTheUser()
    {
        Fixture f;
        f.transport.failNextSend(QStringLiteral("Resource temporarily unavailable"));
        QCOMPARE(f.link.SendCommand(1, QStringLiteral("R1")), QStringLiteral("-99"));
        QVERIFY(!f.link.state().ComPortOpen);
        QVERIFY(!f.transport.isOpen());
        QCOMPARE(int(f.link.state().CommsErrorCode), 3);
        QCOMPARE(f.messages.shown,
                 QStringList{QStringLiteral("<LangFATALCOMMSERROR> Resource temporarily unavailable")});
    }

    void closingDuringAWaitReturnsAtOnceAndSendsNothingMore()
    {
        Fixture f;
        f.time.clock.schedule(f.time.clock.nowMs() + 200, [&] { f.link.blockForClosing(); });
        int a = 7, fc = 7;
        QString text = QStringLiteral("previous");
        f.link.Net_Send(1, 1, QStringLiteral("R1"));
        const qint64 start = f.time.clock.nowMs();
        f.link.Net_Receive(1500, a, fc, text);
        QCOMPARE(f.time.clock.nowMs() - start, qint64(200));
        QCOMPARE(text, QStringLiteral("previous"));
        QCOMPARE(a, 7);
        f.link.Net_Send(1, 1, QStringLiteral("R2"));
        QCOMPARE(f.transport.sent.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
