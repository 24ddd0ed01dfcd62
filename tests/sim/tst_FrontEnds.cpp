// The ways into the bus from outside, on the real clock and real sockets, all on loopback:
// the TCP bridge (an exchange, and the close fault dropping the connection), the
// pseudo-terminal opened with QSerialPort, and the adapter configuration datagrams. Kept few
// and short; the protocol itself is tested on the virtual clock.

#include "sim/AdapterConfigServer.h"
#include "sim/PseudoTerminal.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimConsole.h"
#include "sim/TcpBridge.h"

#include <QNetworkDatagram>
#include <QSerialPort>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

using namespace dunmere::sim;

namespace {

const QByteArray ReadB("\x02" "A@AR2\x03" "B@");
const QByteArray ReplyB("\x02" "a@B0.2857\x03" "GE");
const QHostAddress Loopback(QStringLiteral("127.0.0.1"));

QByteArray datagram(char type, int length)
{
    QByteArray d(length, '\0');
    d[3] = type;
    return d;
}

}  // namespace

class FrontEnds : public QObject {
    Q_OBJECT

private slots:
    void tcpBridgeAnswersFrames()
    {
        SimBus bus;
        buildDemoBus(bus);
        TcpBridge bridge(bus);
        QString error;
        QVERIFY2(bridge.listen(Loopback, 0, error), qPrintable(error));
        QTcpSocket socket;
        socket.connectToHost(Loopback, bridge.port());
        QVERIFY(socket.waitForConnected(3000));
        socket.write(ReadB);
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += socket.readAll()).size() >= ReplyB.size(), 3000);
        QCOMPARE(got, ReplyB);
    }

    void tcpBridgeRefusesRealInterfaces()
    {
        SimBus bus;
        TcpBridge bridge(bus);
        QString error;
        QVERIFY(!bridge.listen(QHostAddress::Any, 0, error));
        QVERIFY(!error.isEmpty());
    }

    void closeFaultDropsTheTcpConnectionInsideTheReply()
    {
        SimBus bus;
        buildDemoBus(bus);
        TcpBridge bridge(bus);
        QString error;
        QVERIFY(bridge.listen(Loopback, 0, error));
        QVERIFY(applyFaultSpec(bus, QStringLiteral("1:close"), error));
        QTcpSocket socket;
        socket.connectToHost(Loopback, bridge.port());
        QVERIFY(socket.waitForConnected(3000));
        socket.write(ReadB);
        QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 3000);
        const QByteArray got = socket.readAll();
        QVERIFY(!got.isEmpty());
        QVERIFY(got.size() < ReplyB.size());
        QVERIFY(ReplyB.startsWith(got));
    }

    void pseudoTerminalWorksAsASerialPort()
    {
        SimBus bus;
        buildDemoBus(bus);
        PseudoTerminal pty(bus);
        QString error;
        QVERIFY2(pty.open(error), qPrintable(error));
        QSerialPort port;
        port.setPortName(pty.slavePath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        QVERIFY(port.setBaudRate(QSerialPort::Baud9600));
        // As the program's serial sender puts it: preamble, frame, pad.
        port.write(QByteArray(2, '\xFF') + ReadB + QByteArray(1, '\0'));
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += port.readAll()).size() >= ReplyB.size(), 3000);
        QCOMPARE(got, ReplyB);
        // The port can be closed and opened again, as the program's port probe does.
        port.close();
        QVERIFY(port.open(QIODevice::ReadWrite));
        port.write(ReadB);
        got.clear();
        QTRY_VERIFY_WITH_TIMEOUT((got += port.readAll()).size() >= ReplyB.size(), 3000);
        QCOMPARE(got, ReplyB);
    }

    void adapterConfigurationDatagrams()
    {
        AdapterConfigServer adapter;
        adapter.setApplyDelayMs(50);
        QString error;
        QVERIFY2(adapter.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0, error), qPrintable(error));
        QUdpSocket pc;
        QVERIFY(pc.bind(Loopback, 0));
        const QHostAddress to(QStringLiteral("127.0.0.2"));
        auto ask = [&](const QByteArray& query) -> QByteArray {
            pc.writeDatagram(query, to, adapter.port());
            if (!QTest::qWaitFor([&] { return pc.hasPendingDatagrams(); }, 3000))
                return "no answer";
            return pc.receiveDatagram(124).data();
        };
        QByteArray record = ask(datagram(char(0xF8), 18));
        QCOMPARE(quint8(record[3]), quint8(0xF9));
        QCOMPARE(record.mid(4, 4), QByteArray("\x7F\x00\x00\x02", 4));  // the bound address
        QCOMPARE(record.mid(16, 4), QByteArray("\x7F\x00\x00\xFE", 4));
        QCOMPARE(quint8(record[24]) + 256 * quint8(record[25]), 10001);
        const QByteArray mac = ask(datagram(char(0xF6), 18));
        QCOMPARE(quint8(mac[3]), quint8(0xF7));
        QCOMPARE(mac.mid(24, 6), QByteArray("\x00\x20\x4A\x6E\x0C\x0D", 6));

        // New settings: port 10200 (0xD8, 0x27), gateway 127.0.0.9; taken after the delay.
        QSignalSpy applied(&adapter, &AdapterConfigServer::settingsApplied);
        QByteArray changed = record;
        changed[3] = char(0xFD);
        changed[19] = 9;
        changed[24] = char(0xD8);
        changed[25] = 0x27;
        pc.writeDatagram(changed, to, adapter.port());
        QTRY_COMPARE_WITH_TIMEOUT(applied.count(), 1, 3000);
        record = ask(datagram(char(0xF8), 18));
        QCOMPARE(quint8(record[24]) + 256 * quint8(record[25]), 10200);
        QCOMPARE(quint8(record[19]), quint8(9));
        QCOMPARE(record.mid(40, 11), QByteArray("DUNMERE-SIM"));  // carried unchanged

        // The address reset, for this hardware address only, turns on automatic addressing.
        QByteArray reset = datagram(char(0xFC), 21);
        reset.replace(4, 8, "IP-SETUP");
        reset[14] = 0x0C;
        reset[15] = 0x0E;  // not ours
        pc.writeDatagram(reset, to, adapter.port());
        QTest::qWait(200);
        QCOMPARE(applied.count(), 1);
        reset[15] = 0x0D;
        pc.writeDatagram(reset, to, adapter.port());
        QTRY_COMPARE_WITH_TIMEOUT(applied.count(), 2, 3000);
        record = ask(datagram(char(0xF8), 18));
        QCOMPARE(record.mid(4, 4), QByteArray(4, '\0'));
    }

    void adapterMovesOnlyWithinLoopback()
    {
        AdapterConfigServer adapter;
        adapter.setApplyDelayMs(20);
        QString error;
        QVERIFY(adapter.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0, error));
        QUdpSocket pc;
        QVERIFY(pc.bind(Loopback, 0));
        QSignalSpy applied(&adapter, &AdapterConfigServer::settingsApplied);
        QByteArray record = adapter.configurationRecord();
        record[3] = char(0xFD);
        record.replace(4, 4, QByteArray("\x0A\x00\x00\x05", 4));  // 10.0.0.5: not served
        pc.writeDatagram(record, QHostAddress(QStringLiteral("127.0.0.2")), adapter.port());
        QTRY_COMPARE_WITH_TIMEOUT(applied.count(), 1, 3000);
        QCOMPARE(adapter.configurationRecord().mid(4, 4), QByteArray("\x7F\x00\x00\x02", 4));
        const quint16 port = adapter.port();
        record.replace(4, 4, QByteArray("\x7F\x00\x00\x03", 4));
        pc.writeDatagram(record, QHostAddress(QStringLiteral("127.0.0.2")), port);
        QTRY_COMPARE_WITH_TIMEOUT(applied.count(), 2, 3000);
        pc.writeDatagram(datagram(char(0xF8), 18), QHostAddress(QStringLiteral("127.0.0.3")), port);
        QTRY_VERIFY_WITH_TIMEOUT(pc.hasPendingDatagrams(), 3000);
        const QNetworkDatagram answer = pc.receiveDatagram(124);
        QCOMPARE(answer.senderAddress(), QHostAddress(QStringLiteral("127.0.0.3")));
        QCOMPARE(answer.data().mid(4, 4), QByteArray("\x7F\x00\x00\x03", 4));
    }

    void adapterRefusesRealInterfaces()
    {
        AdapterConfigServer adapter;
        QString error;
        QVERIFY(!adapter.bind(QHostAddress::AnyIPv4, 0, error));
        QVERIFY(!adapter.bind(QHostAddress::Broadcast, 0, error));
    }
};

QTEST_MAIN(FrontEnds)
#include "tst_FrontEnds.moc"
