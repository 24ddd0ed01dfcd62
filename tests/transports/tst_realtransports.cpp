// The real transports on the real clock: what the serial transport puts on a pseudo-terminal
// byte for byte (preamble, frame, pad), an unswitchable RTS not being an error, a vanished
// device reported as failed; and the transport switch over QTcpSocket against the simulated
// bus served on 127.0.0.1 — connect and exchange, a refused connect with its message, and a
// connection the adapter drops in the middle of a reply; another master chattering on the
// simulated bus's pseudo-terminal. The sensor dialogue itself is
// tested with the simulated bus in process; the switch's logic on the virtual clock.

#include "ethernet/EthernetAdapter.h"
#include "link/Link.h"
#include "link/SerialTransport.h"
#include "link/TransportFactory.h"
#include "link/TransportSwitch.h"
#include "link/Settings.h"
#include "sim/PseudoTerminal.h"
#include "sim/SimBus.h"
#include "sim/TcpBridge.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

using namespace dunmere;

namespace {

// A pseudo-terminal whose master end the test reads: the far end of the serial line.
class RawPty {
public:
    RawPty()
    {
        char name[128] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            path_ = QString::fromLocal8Bit(name);
    }
    ~RawPty() { closeMaster(); if (slave_ >= 0) ::close(slave_); }
    RawPty(const RawPty&) = delete;
    RawPty& operator=(const RawPty&) = delete;

    [[nodiscard]] QString path() const { return path_; }
    // Everything the master has received within ms.
    QByteArray readAll(int ms)
    {
        QByteArray bytes;
        pollfd fd{master_, POLLIN, 0};
        while (::poll(&fd, 1, ms) > 0) {
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.append(buffer, n);
            ms = 20;
        }
        return bytes;
    }
    void write(const QByteArray& bytes) { QVERIFY(::write(master_, bytes.constData(), bytes.size()) == bytes.size()); }
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    // Our own descriptor of the slave goes too, so the device is really gone.
    void closeSlave()
    {
        if (slave_ >= 0)
            ::close(slave_);
        slave_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

class RecordedMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons) override
    {
        shown.append(text);
        return true;
    }
    QStringList shown;
};

// The switch over the system's devices, with one simulated adapter in the list.
struct TcpRig {
    TcpRig()
    {
        bus.addSensor({.address = 1, .typeCode = 89, .firmwareText = "QX0089 v1.12"});
        bus.addSensor({.address = 5, .typeCode = 77, .firmwareText = "QX0077 v2.10"});
        QString error;
        listening = bridge.listen(QHostAddress::LocalHost, 0, error);
        adapters.Add(false, -1, bridge.port(), QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1"),
                     QStringLiteral("0.0.0.0"), QStringLiteral("127.0.0.1:%1").arg(bridge.port()));
        QFile file(dir.filePath(QStringLiteral("config.ini")));
        file.open(QIODevice::WriteOnly);
        file.write("[Settings]\r\nLastComms=COM\r\n");
        file.close();
        sw = std::make_unique<TransportSwitch>(link, factory, adapters, dir.filePath(QStringLiteral("config.ini")));
        sw->setMessages(&messages);
    }

    QTemporaryDir dir;
    sim::SimBus bus;
    sim::TcpBridge bridge{bus};
    bool listening = false;
    SystemTransports factory;
    EthernetAdapters adapters;
    Link link;
    RecordedMessages messages;
    std::unique_ptr<TransportSwitch> sw;
};

}  // namespace

class TestRealTransports : public QObject {
    Q_OBJECT
private slots:
    void serialPutsPreambleFrameAndPadOnTheLine();
    void serialBinaryArrayGoesOutAsItStands();
    void serialReadsWhatTheLineDelivers();
    void serialDeviceThatVanishesFails();
    void anotherMasterOnThePseudoTerminalIsReported();
    void tcpConnectsAndExchanges();
    void tcpRefusedFallsBackToNoTransport();
    void tcpDroppedInsideAReplyIsALostConnection();
};

void TestRealTransports::serialPutsPreambleFrameAndPadOnTheLine()
{
    RawPty pty;
    QVERIFY(!pty.path().isEmpty());
    SerialTransport port;
    QVERIFY2(port.open(pty.path()), qPrintable(port.errorText()));
    // R12 to address 1, FrameCode 1: XOR of 41 40 41 52 31 32 is 0x11, sent as "AA".
    const QByteArray frame = QByteArray::fromHex("0241404152313203" "4141");
    QVERIFY(port.sendTextFrame(frame));
    QCOMPARE(pty.readAll(1000).toHex(), QByteArray("ffff" "02414041523132034141" "00"));
}

void TestRealTransports::serialBinaryArrayGoesOutAsItStands()
{
    RawPty pty;
    SerialTransport port;
    QVERIFY(port.open(pty.path()));
    const QByteArray array = QByteArray::fromHex("ffff0241404150121002034343");
    QVERIFY(port.sendBinaryFrame(array));
    QCOMPARE(pty.readAll(1000).toHex(), array.toHex());
}

void TestRealTransports::serialReadsWhatTheLineDelivers()
{
    RawPty pty;
    SerialTransport port;
    QVERIFY(port.open(pty.path()));
    QSignalSpy ready(&port, &Transport::readyRead);
    pty.write(QByteArray("\x02" "a@B12.5\x03" "AB", 11));
    QTRY_VERIFY(port.bytesAvailable() == 11);
    QVERIFY(ready.count() >= 1);
    QCOMPARE(port.read(1), QByteArray("\x02"));
    port.discardInput();
    QCOMPARE(port.bytesAvailable(), qint64(0));
}

void TestRealTransports::serialDeviceThatVanishesFails()
{
    RawPty pty;
    SerialTransport port;
    QVERIFY(port.open(pty.path()));
    QSignalSpy failed(&port, &Transport::failed);
    pty.closeMaster();
    pty.closeSlave();
    QVERIFY(failed.wait(3000));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.errorText().isEmpty());
    QVERIFY(!port.sendTextFrame(QByteArray("\x02" "A@AR1\x03" "AA", 9)));
}

void TestRealTransports::anotherMasterOnThePseudoTerminalIsReported()
{
    TcpRig rig;
    sim::PseudoTerminal pty(rig.bus);
    QString error;
    QVERIFY2(pty.open(error), qPrintable(error));
    const QString config = rig.dir.filePath(QStringLiteral("config.ini"));
    WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM2"), pty.slavePath(), config);
    sim::FaultSet faults;
    faults.secondMaster = true;
    rig.bus.setBusFaults(faults);
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(2);

    QCOMPARE(rig.messages.shown, QStringList{QStringLiteral("LangCommsError1\rLangCommsError2")});
    QVERIFY(rig.link.state().ComPortOpen);
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("LastComms"), config), QStringLiteral("COM"));
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Port"), config), QString());
}

void TestRealTransports::tcpConnectsAndExchanges()
{
    TcpRig rig;
    QVERIFY(rig.listening);
    rig.sw->SetIPPort(1, true);
    QVERIFY(rig.link.state().IPMode);
    QVERIFY(rig.link.state().ConnectTime < 1000);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia 127.0.0.1:%1").arg(rig.bridge.port()));
    QCOMPARE(rig.link.ReadParameter(5, 50), QStringLiteral("QX0077 v2.10"));
    QCOMPARE(rig.link.ReadParameter(1, 50), QStringLiteral("QX0089 v1.12"));
    QVERIFY(rig.link.state().LastRTT > 0);
    QCOMPARE(rig.link.state().NetTimeouts, 0u);
    QVERIFY(rig.messages.shown.isEmpty());
}

void TestRealTransports::tcpRefusedFallsBackToNoTransport()
{
    TcpRig rig;
    rig.bridge.close();
    QElapsedTimer timer;
    timer.start();
    rig.sw->SetIPPort(1, false);
    QVERIFY(timer.elapsed() < TransportSwitch::ConnectWaitMs);
    QCOMPARE(rig.messages.shown,
             QStringList{QStringLiteral("LangConnectionFailed 127.0.0.1:%1").arg(rig.adapters.Item(1)->lPortNumber)});
    QVERIFY(!rig.link.state().IPMode && !rig.link.state().ComPortOpen);
    QCOMPARE(rig.sw->state().CurrentAdapter, 0);
}

void TestRealTransports::tcpDroppedInsideAReplyIsALostConnection()
{
    TcpRig rig;
    rig.sw->SetIPPort(1, false);
    QVERIFY(rig.link.state().IPMode);
    sim::FaultSet faults;
    faults.closeMidReply = true;
    rig.bus.setBusFaults(faults);
    QCOMPARE(rig.link.ReadParameter(1, 50), FailureText);
    QVERIFY(!rig.link.state().IPMode);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("Connection Lost to 127.0.0.1"));
}

QTEST_GUILESS_MAIN(TestRealTransports)
#include "tst_realtransports.moc"
