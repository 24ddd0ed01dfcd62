// The transport switch on the virtual clock: port numbering, the fallback when the saved
// port is gone, the one-second check for another master on the bus, serial devices coming
// and going, connect timing with ConnectTime, the fallback chain of a failed connect, and a
// connection lost under an exchange. Serial ports are scripted transports and the adapter a
// fake client behind the factory seam; the real QSerialPort and QTcpSocket paths are in
// tst_realtransports.

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"

#include "ethernet/EthernetAdapter.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "link/TcpTransport.h"
#include "link/TransportFactory.h"
#include "link/TransportSwitch.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace dunmere;
using dunmere::test::ScriptedTransport;
using dunmere::test::VirtualClockScope;

namespace {

// An adapter that accepts after a delay, refuses, or never answers; keyed by "host:port".
struct PeerBehaviour {
    enum class Kind { Accept, Refuse, Silent } kind = Kind::Silent;
    qint64 delayMs = 0;
};

class FakeTcpClient final : public TcpClient {
public:
    FakeTcpClient() : TcpClient(nullptr) {}

    void connectToHost(const QString& host, quint16 port) override
    {
        close();
        host_ = host;
        state_ = State::Connecting;
        const PeerBehaviour peer = peers.value(host + QLatin1Char(':') + QString::number(port));
        if (peer.kind == PeerBehaviour::Kind::Silent)
            return;
        const int attempt = attempt_;
        auto& clock = Clock::current();
        clock.schedule(clock.nowMs() + peer.delayMs, [this, attempt, peer] {
            if (attempt == attempt_ && state_ == State::Connecting)
                state_ = peer.kind == PeerBehaviour::Kind::Accept ? State::Connected : State::Error;
        });
    }
    State state() const override { return state_; }
    bool isOpen() const override { return state_ == State::Connected; }
    void close() override
    {
        ++attempt_;
        state_ = State::Closed;
    }
    bool sendTextFrame(const QByteArray& frame) override { return send(frame); }
    bool sendBinaryFrame(const QByteArray& array) override { return send(array); }
    qint64 bytesAvailable() const override { return 0; }
    QByteArray read(qint64) override { return {}; }
    void discardInput() override {}
    QString errorText() const override { return QStringLiteral("The remote host closed the connection"); }
    QString hostAddress() const override { return host_; }

    // The peer closes the connection after ms.
    void dropAfter(qint64 ms)
    {
        auto& clock = Clock::current();
        clock.schedule(clock.nowMs() + ms, [this] {
            state_ = State::Error;
            emit failed();
        }, Clock::Runs::AlsoDuringSleep);
    }

    QMap<QString, PeerBehaviour> peers;
    QList<QByteArray> sent;

private:
    bool send(const QByteArray& bytes)
    {
        if (!isOpen())
            return false;
        sent.append(bytes);
        return true;
    }

    State state_ = State::Closed;
    QString host_;
    int attempt_ = 0;
};

// Serial devices that can be listed, opened (or are busy), and chatter once opened.
class FakeFactory final : public TransportFactory {
public:
    QStringList serialDevices() const override { return devices; }
    std::unique_ptr<Transport> openSerial(const QString& path) override
    {
        denied = denyPermission.contains(path);
        if (path.isEmpty() || busy.contains(path) || denied || (!devices.contains(path) && !extraOpenable.contains(path)))
            return nullptr;
        auto port = std::make_unique<ScriptedTransport>(Transport::Kind::Serial);
        if (chatterAfterMs >= 0)
            port->inject(QByteArrayLiteral("\x02Bx\x03"), chatterAfterMs);
        opened.append(path);
        return port;
    }
    std::unique_ptr<TcpClient> createTcpClient() override
    {
        auto client = std::make_unique<FakeTcpClient>();
        tcp = client.get();
        return client;
    }

    QStringList devices;
    bool lastOpenDenied() const override { return denied; }
    QSet<QString> busy;           // listed but held by another program
    QSet<QString> denyPermission;  // listed but this user may not open it
    bool denied = false;
    QSet<QString> extraOpenable;  // not listed, but named in section Ports (pseudo-terminals)
    qint64 chatterAfterMs = -1;   // another master speaks this long after an open
    QStringList opened;
    FakeTcpClient* tcp = nullptr;
};

class EchoTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
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

class RecordingHost final : public TransportHost {
public:
    void stopTaskTimer() override { calls.append(QStringLiteral("stopTaskTimer")); }
    void setTransportChanged() override { calls.append(QStringLiteral("transportChanged")); }
    void setCommunicationsMenuEnabled(bool enabled) override
    {
        calls.append(QStringLiteral("menu %1 at %2").arg(enabled ? "on" : "off").arg(Clock::current().nowMs() - t0));
    }
    void rebuildMenus() override { calls.append(QStringLiteral("rebuildMenus")); }
    void clearSensorRows() override { calls.append(QStringLiteral("clearSensorRows")); }
    void initTasks() override { calls.append(QStringLiteral("initTasks at %1").arg(Clock::current().nowMs() - t0)); }
    bool busy() const override { return isBusy; }

    QStringList calls;
    qint64 t0 = 0;
    bool isBusy = false;
};

// One switch over fake devices with its own config.ini.
struct Rig {
    explicit Rig(const QStringList& devices, const QByteArray& config = "[Settings]\r\nPort=1\r\n")
    {
        factory.devices = devices;
        QFile file(configPath());
        file.open(QIODevice::WriteOnly);
        file.write(config);
        file.close();
        sw = std::make_unique<TransportSwitch>(link, factory, adapters, configPath());
        sw->setHost(&host);
        sw->setMessages(&messages);
        sw->setTexts(&texts);
        link.setTexts(&texts);
        host.t0 = Clock::current().nowMs();
    }
    QString configPath() const { return dir.filePath(QStringLiteral("config.ini")); }
    QString setting(const QString& section, const QString& key) const { return ReadSetting(section, key, configPath()); }
    FakeTcpClient& tcp() { return *factory.tcp; }
    void addAdapter(const QString& host, qint32 port, PeerBehaviour peer)
    {
        const QString key = host + QLatin1Char(':') + QString::number(port);
        adapters.Add(false, -1, port, host, host, QStringLiteral("0.0.0.0"), key);
        tcp().peers.insert(key, peer);
    }
    QString openDevice() const { return factory.opened.isEmpty() ? QString() : factory.opened.last(); }

    QTemporaryDir dir;
    FakeFactory factory;
    EthernetAdapters adapters;
    Link link;
    EchoTexts texts;
    RecordedMessages messages;
    RecordingHost host;
    std::unique_ptr<TransportSwitch> sw;
};

QStringList usbDevices(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(QStringLiteral("/dev/ttyUSB%1").arg(i));
    return list;
}

constexpr PeerBehaviour accept(qint64 ms) { return {PeerBehaviour::Kind::Accept, ms}; }
constexpr PeerBehaviour refuse(qint64 ms) { return {PeerBehaviour::Kind::Refuse, ms}; }
constexpr PeerBehaviour silent() { return {PeerBehaviour::Kind::Silent, 0}; }

}  // namespace

Q_DECLARE_METATYPE(PeerBehaviour)

class TestTransportSwitch : public QObject {
    Q_OBJECT
private slots:
    void portNumbersFollowSectionPortsThenSortedDevices_data();
    void portNumbersFollowSectionPortsThenSortedDevices();
    void savedPortGoneUsesLowestPresentAndWritesItBack_data();
    void savedPortGoneUsesLowestPresentAndWritesItBack();
    void noUsablePortLeavesNoTransport();
    void portWithoutPermissionNamesTheGroup();
    void trafficWithinOneSecondIsAnotherMaster_data();
    void trafficWithinOneSecondIsAnotherMaster();
    void removedDeviceComparesTheWholeDevice_data();
    void removedDeviceComparesTheWholeDevice();
    void pluggedDeviceReopensTheSamePortUnderItsNewNumber();
    void lastPortUnpluggedReportsNoPort();
    void deviceReactionWaitsWhileBusy();
    void selectComPortOpensWithoutMakingItActive();
    void slowAdapterAddsConnectTimeToLaterTimeouts();
    void failedConnectFallsBack_data();
    void failedConnectFallsBack();
    void lostConnectionEndsWithNoTransport_data();
    void lostConnectionEndsWithNoTransport();
};

void TestTransportSwitch::portNumbersFollowSectionPortsThenSortedDevices_data()
{
    QTest::addColumn<QStringList>("system");
    QTest::addColumn<QByteArray>("ports");
    QTest::addColumn<QStringList>("expected");  // devices of COM1, COM2, ... ("" for none)

    QTest::newRow("sorted with numbers in order")
        << QStringList{"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS0"} << QByteArray()
        << QStringList{"/dev/ttyS0", "/dev/ttyUSB2", "/dev/ttyUSB10", ""};
    QTest::newRow("a named device keeps its number, the others fill the gaps")
        << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}
        << QByteArray("[Ports]\r\nCOM2=/dev/ttyUSB0\r\n")
        << QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", ""};
    QTest::newRow("a pseudo-terminal the system does not list")
        << QStringList{} << QByteArray("[Ports]\r\ncom3=/dev/pts/7\r\n") << QStringList{"", "", "/dev/pts/7", ""};
}

void TestTransportSwitch::portNumbersFollowSectionPortsThenSortedDevices()
{
    QFETCH(QStringList, system);
    QFETCH(QByteArray, ports);
    QFETCH(QStringList, expected);
    VirtualClockScope clock;
    Rig rig(system, ports);
    rig.factory.extraOpenable.insert(QStringLiteral("/dev/pts/7"));
    rig.sw->EnumerateComPorts();
    for (int port = 1; port <= expected.size(); ++port) {
        QCOMPARE(rig.sw->ports().devicePath(port), expected.at(port - 1));
        QCOMPARE(rig.sw->ports().PortAvailable(port), !expected.at(port - 1).isEmpty());
    }
}

void TestTransportSwitch::savedPortGoneUsesLowestPresentAndWritesItBack_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<QStringList>("busy");
    QTest::addColumn<int>("expected");

    QTest::newRow("present port is kept") << 2 << QStringList{} << 2;
    QTest::newRow("port beyond the devices") << 5 << QStringList{} << 1;
    QTest::newRow("port 0") << 0 << QStringList{} << 1;
    QTest::newRow("lowest port busy") << 5 << QStringList{"/dev/ttyUSB0"} << 2;
}

void TestTransportSwitch::savedPortGoneUsesLowestPresentAndWritesItBack()
{
    QFETCH(int, saved);
    QFETCH(QStringList, busy);
    QFETCH(int, expected);
    VirtualClockScope clock;
    Rig rig(usbDevices(3), "[Settings]\r\nPort=" + QByteArray::number(saved) + "\r\nLastComms=IP\r\n");
    for (const QString& device : busy)
        rig.factory.busy.insert(device);
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(saved);

    QCOMPARE(rig.sw->state().CurrentComPort, expected);
    QCOMPARE(rig.openDevice(), QStringLiteral("/dev/ttyUSB%1").arg(expected - 1));
    QVERIFY(rig.link.state().ComPortOpen);
    QVERIFY(!rig.link.state().IPMode);
    QCOMPARE(rig.setting("Settings", "Port"), QString::number(expected));
    QCOMPARE(rig.setting("Settings", "LastComms"), QStringLiteral("COM"));
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia LangComPort %1").arg(expected));
    QVERIFY(rig.messages.shown.isEmpty());
    QCOMPARE(rig.host.calls.first(), QStringLiteral("stopTaskTimer"));
    QVERIFY(rig.host.calls.contains(QStringLiteral("transportChanged")));
}

void TestTransportSwitch::noUsablePortLeavesNoTransport()
{
    VirtualClockScope clock;
    Rig rig({QStringLiteral("/dev/ttyUSB0")});
    rig.factory.busy.insert(QStringLiteral("/dev/ttyUSB0"));
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(1);
    QCOMPARE(rig.messages.shown, QStringList{QStringLiteral("LangNo LangComPort")});
    QVERIFY(!rig.link.state().ComPortOpen && !rig.link.state().IPMode);
    // The status line says so, and where to choose another.
    QVERIFY(rig.sw->statusShown());
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangNo LangComPort - LangCommunications"));
}

void TestTransportSwitch::portWithoutPermissionNamesTheGroup()
{
    VirtualClockScope clock;
    Rig rig({QStringLiteral("/dev/ttyUSB0")});
    rig.factory.denyPermission.insert(QStringLiteral("/dev/ttyUSB0"));
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(1);
    QCOMPARE(rig.messages.shown.size(), 1);
    QVERIFY(rig.messages.shown.first().startsWith(QStringLiteral("LangNo LangComPort\rPermission denied for /dev/ttyUSB0")));
    QVERIFY(rig.messages.shown.first().contains(QStringLiteral("'dialout' group")));
}

void TestTransportSwitch::trafficWithinOneSecondIsAnotherMaster_data()
{
    QTest::addColumn<qint64>("chatterAfterMs");
    QTest::addColumn<bool>("foreign");

    QTest::newRow("at once") << qint64(0) << true;
    QTest::newRow("just inside the second") << qint64(999) << true;
    QTest::newRow("after the second") << qint64(1001) << false;
    QTest::newRow("a quiet line") << qint64(-1) << false;
}

void TestTransportSwitch::trafficWithinOneSecondIsAnotherMaster()
{
    QFETCH(qint64, chatterAfterMs);
    QFETCH(bool, foreign);
    VirtualClockScope clock;
    Rig rig(usbDevices(2), "[Settings]\r\nPort=2\r\nLastComms=IP\r\n");
    rig.sw->EnumerateComPorts();
    rig.factory.chatterAfterMs = chatterAfterMs;
    const qint64 start = clock.clock.nowMs();
    rig.sw->SetComPort(1);

    QCOMPARE(clock.clock.nowMs() - start, foreign ? qMax<qint64>(chatterAfterMs, 0) : 1000);
    // The port stays open and in use either way; only a quiet line is remembered.
    QVERIFY(rig.link.state().ComPortOpen);
    QCOMPARE(rig.setting("Settings", "Port"), foreign ? QStringLiteral("2") : QStringLiteral("1"));
    QCOMPARE(rig.setting("Settings", "LastComms"), foreign ? QStringLiteral("IP") : QStringLiteral("COM"));
    QCOMPARE(rig.messages.shown,
             foreign ? QStringList{QStringLiteral("LangCommsError1\rLangCommsError2")} : QStringList{});
}

void TestTransportSwitch::removedDeviceComparesTheWholeDevice_data()
{
    QTest::addColumn<int>("inUse");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("deviceAfter");
    QTest::addColumn<int>("portAfter");

    // Eleven devices: ttyUSB0 is COM1, ttyUSB10 is COM11.
    QTest::newRow("COM11 removed while COM1 in use") << 1 << "/dev/ttyUSB10" << "/dev/ttyUSB0" << 1;
    QTest::newRow("COM1 removed while COM11 in use") << 11 << "/dev/ttyUSB0" << "/dev/ttyUSB10" << 10;
    QTest::newRow("the port in use removed") << 11 << "/dev/ttyUSB10" << "/dev/ttyUSB0" << 1;
    QTest::newRow("COM1 in use removed") << 1 << "/dev/ttyUSB0" << "/dev/ttyUSB1" << 1;
}

void TestTransportSwitch::removedDeviceComparesTheWholeDevice()
{
    QFETCH(int, inUse);
    QFETCH(QString, removed);
    QFETCH(QString, deviceAfter);
    QFETCH(int, portAfter);
    VirtualClockScope clock;
    Rig rig(usbDevices(11));
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(inUse);
    rig.sw->watchDevices();
    rig.factory.opened.clear();

    rig.factory.devices.removeAll(removed);
    clock.clock.advance(SerialDeviceWatcher::IntervalMs + 1500);

    QCOMPARE(rig.openDevice(), deviceAfter);
    QVERIFY(!rig.factory.opened.contains(removed));
    QCOMPARE(rig.sw->state().CurrentComPort, portAfter);
    QVERIFY(rig.link.state().ComPortOpen);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia LangComPort %1").arg(portAfter));
    QVERIFY(rig.host.calls.contains(QStringLiteral("rebuildMenus")));
    QVERIFY(rig.messages.shown.isEmpty());
}

void TestTransportSwitch::pluggedDeviceReopensTheSamePortUnderItsNewNumber()
{
    VirtualClockScope clock;
    Rig rig({QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyUSB2")});
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(1);  // ttyUSB1
    rig.sw->watchDevices();
    const QString lastComms = rig.setting("Settings", "LastComms");

    rig.factory.devices.append(QStringLiteral("/dev/ttyUSB0"));
    clock.clock.advance(SerialDeviceWatcher::IntervalMs);

    QCOMPARE(rig.openDevice(), QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(rig.sw->state().CurrentComPort, 2);
    QVERIFY(rig.sw->ports().PortAvailable(3));
    QVERIFY(rig.link.state().ComPortOpen);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia LangComPort 2"));
    QCOMPARE(rig.setting("Settings", "LastComms"), lastComms);
}

void TestTransportSwitch::lastPortUnpluggedReportsNoPort()
{
    VirtualClockScope clock;
    Rig rig({QStringLiteral("/dev/ttyUSB0")});
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(1);
    rig.sw->watchDevices();
    rig.factory.devices.clear();
    clock.clock.advance(SerialDeviceWatcher::IntervalMs);

    QCOMPARE(rig.messages.shown, QStringList{QStringLiteral("LangNo LangComPort")});
    QVERIFY(!rig.link.state().ComPortOpen);
    QCOMPARE(rig.sw->ports().AvailablePortCount(), 0);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangNo LangComPort - LangCommunications"));
}

void TestTransportSwitch::deviceReactionWaitsWhileBusy()
{
    VirtualClockScope clock;
    Rig rig(usbDevices(2));
    rig.sw->EnumerateComPorts();
    rig.sw->SetComPort(1);
    rig.sw->watchDevices();
    rig.factory.opened.clear();
    rig.host.isBusy = true;
    rig.factory.devices.removeFirst();
    clock.clock.advance(3 * SerialDeviceWatcher::IntervalMs);
    QVERIFY(rig.factory.opened.isEmpty());

    rig.host.isBusy = false;
    clock.clock.advance(SerialDeviceWatcher::IntervalMs + 1000);
    QCOMPARE(rig.openDevice(), QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(rig.sw->state().CurrentComPort, 1);
}

void TestTransportSwitch::selectComPortOpensWithoutMakingItActive()
{
    VirtualClockScope clock;
    Rig rig(usbDevices(2), "[Settings]\r\nPort=1\r\nLastComms=IP\r\n");
    rig.sw->EnumerateComPorts();
    const qint64 start = clock.clock.nowMs();
    rig.sw->SelectComPort(1);
    QCOMPARE(rig.sw->state().CurrentComPort, 2);
    QCOMPARE(rig.openDevice(), QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(rig.setting("Settings", "Port"), QStringLiteral("2"));
    QCOMPARE(rig.setting("Settings", "LastComms"), QStringLiteral("IP"));
    QVERIFY(!rig.link.state().ComPortOpen);
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia LangComPort 2"));
    QCOMPARE(rig.host.calls.last(), QStringLiteral("initTasks at 100"));
    QCOMPARE(clock.clock.nowMs() - start, qint64(100));
}

void TestTransportSwitch::slowAdapterAddsConnectTimeToLaterTimeouts()
{
    VirtualClockScope clock;
    Rig rig({});
    rig.addAdapter(QStringLiteral("127.0.0.1"), 10001, accept(11000));
    rig.sw->SetIPPort(1, true);

    QVERIFY(rig.link.state().IPMode);
    QCOMPARE(rig.link.state().ConnectTime, qint64(11000));
    QVERIFY(rig.host.calls.contains(QStringLiteral("menu off at 0")));
    QVERIFY(rig.host.calls.contains(QStringLiteral("menu on at 11000")));
    QVERIFY(rig.host.calls.contains(QStringLiteral("transportChanged")));
    QCOMPARE(rig.sw->statusText(), QStringLiteral("LangConnectedVia 127.0.0.1:10001"));
    QCOMPARE(rig.sw->state().LastIPAddress, QStringLiteral("127.0.0.1:10001"));
    QCOMPARE(rig.sw->state().RemoteHostText, QStringLiteral("127.0.0.1"));
    QCOMPARE(rig.sw->state().RemotePortValue, 10001);
    QCOMPARE(rig.sw->state().LocalIPText, QStringLiteral("0.0.0.0"));
    QCOMPARE(rig.setting("EthernetSetup", "LastIPAddress"), QStringLiteral("127.0.0.1:10001"));
    QCOMPARE(rig.setting("Settings", "LastComms"), QStringLiteral("IP"));

    // A reply that never comes is waited for 1500 ms plus the connect time.
    const qint64 start = clock.clock.nowMs();
    int address = 0, frameCode = 0;
    QString reply;
    rig.link.Net_Send(1, 1, QStringLiteral("R12"));
    rig.link.Net_Receive(1500, address, frameCode, reply);
    QCOMPARE(reply, FailureText);
    QCOMPARE(clock.clock.nowMs() - start, qint64(12500));
    QCOMPARE(rig.tcp().sent.size(), 1);
}

void TestTransportSwitch::failedConnectFallsBack_data()
{
    QTest::addColumn<int>("before");  // 0 none, -1 serial, else the adapter connected before
    QTest::addColumn<PeerBehaviour>("peer");
    QTest::addColumn<qint64>("waitedMs");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("never answers, serial before")
        << -1 << silent() << qint64(12000) << "LangConnectedVia LangComPort 1";
    QTest::newRow("never answers, adapter before")
        << 2 << silent() << qint64(12000) << "LangConnectedVia 127.0.0.2:10002";
    QTest::newRow("refused, adapter before") << 2 << refuse(10) << qint64(10) << "LangConnectedVia 127.0.0.2:10002";
    QTest::newRow("never answers, nothing before") << 0 << silent() << qint64(12000) << "";
}

void TestTransportSwitch::failedConnectFallsBack()
{
    QFETCH(int, before);
    QFETCH(PeerBehaviour, peer);
    QFETCH(qint64, waitedMs);
    QFETCH(QString, statusAfter);
    VirtualClockScope clock;
    Rig rig(usbDevices(1));
    rig.sw->EnumerateComPorts();
    rig.addAdapter(QStringLiteral("127.0.0.1"), 10001, peer);
    rig.addAdapter(QStringLiteral("127.0.0.2"), 10002, accept(20));
    if (before == -1)
        rig.sw->SetComPort(1);
    else if (before > 0)
        rig.sw->SetIPPort(before, false);
    rig.messages.shown.clear();
    rig.host.calls.clear();
    rig.host.t0 = clock.clock.nowMs();

    rig.sw->SetIPPort(1, true);

    QCOMPARE(rig.messages.shown.value(0), QStringLiteral("LangConnectionFailed 127.0.0.1:10001"));
    QVERIFY(rig.host.calls.contains(QStringLiteral("menu on at %1").arg(waitedMs)));
    QCOMPARE(rig.sw->statusShown(), !statusAfter.isEmpty());
    if (!statusAfter.isEmpty())
        QCOMPARE(rig.sw->statusText(), statusAfter);
    QCOMPARE(rig.link.state().ComPortOpen, before == -1);
    QCOMPARE(rig.link.state().IPMode, before > 0);
    QCOMPARE(rig.sw->state().CurrentAdapter, qMax(before, 0));
    QCOMPARE(rig.host.calls.contains(QStringLiteral("clearSensorRows")), before == 0);
}

void TestTransportSwitch::lostConnectionEndsWithNoTransport_data()
{
    QTest::addColumn<bool>("duringSend");
    QTest::addColumn<QString>("status");

    QTest::newRow("while waiting for the reply") << false << "Connection Lost to 127.0.0.1";
    QTest::newRow("at the next send") << true << "127.0.0.1 - LangConnectionLost";
}

void TestTransportSwitch::lostConnectionEndsWithNoTransport()
{
    QFETCH(bool, duringSend);
    QFETCH(QString, status);
    VirtualClockScope clock;
    Rig rig({});
    rig.addAdapter(QStringLiteral("127.0.0.1"), 10001, accept(30));
    rig.sw->SetIPPort(1, false);
    QVERIFY(rig.link.state().IPMode);

    rig.tcp().dropAfter(duringSend ? 0 : 200);
    if (duringSend)
        clock.clock.advance(10);
    QCOMPARE(rig.link.ReadParameter(1, 12), FailureText);

    QCOMPARE(rig.sw->statusText(), status);
    QVERIFY(rig.sw->statusShown());
    QVERIFY(!rig.link.state().IPMode);
    QVERIFY(!rig.link.state().ComPortOpen);
    QVERIFY(rig.messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestTransportSwitch)
#include "tst_transportswitch.moc"
