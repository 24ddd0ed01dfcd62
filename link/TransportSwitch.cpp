#include "TransportSwitch.h"

#include "Clock.h"
#include "DebugLog.h"
#include "Link.h"
#include "Settings.h"
#include "TcpTransport.h"
#include "Transport.h"
#include "TransportFactory.h"
#include "ValueFormat.h"
#include "ethernet/EthernetAdapter.h"

#include <QScopedValueRollback>

namespace dunmere {

namespace {

const QString SettingsSection = QStringLiteral("Settings");

}  // namespace

TransportSwitch::TransportSwitch(Link& link, TransportFactory& factory, const EthernetAdapters& adapters,
                                 QString configPath, QObject* parent)
    : QObject(parent),
      link_(link),
      factory_(factory),
      adapters_(adapters),
      configPath_(std::move(configPath)),
      ports_(factory, configPath_),
      watcher_(factory),
      tcp_(factory.createTcpClient())
{
    watcher_.setGuard([this] { return switching_ || link_.exchangeInProgress() || host().busy(); });
    connect(&watcher_, &SerialDeviceWatcher::deviceAppeared, this, &TransportSwitch::onDeviceAppeared);
    connect(&watcher_, &SerialDeviceWatcher::deviceRemoved, this, &TransportSwitch::onDeviceRemoved);
    watcher_.setDeviceList([this] { return ports_.presentDevices(); });
    connect(&link_, &Link::connectionLost, this, &TransportSwitch::showStatus);
    connect(&link_, &Link::serialPortLost, this, &TransportSwitch::onSerialPortLost);
}

TransportSwitch::~TransportSwitch()
{
    watcher_.stop();
    if (link_.transport() && (link_.transport() == serial_.get() || link_.transport() == tcp_.get()))
        link_.setTransport(nullptr);
}

void TransportSwitch::watchDevices() { watcher_.start(); }

// ---- small helpers

bool TransportSwitch::closing() const { return link_.state().ProgramClosing; }

QString TransportSwitch::text(const char* key) const
{
    const QString k = QString::fromLatin1(key);
    return texts_ ? texts_->text(k) : k;
}

void TransportSwitch::message(const QString& text)
{
    if (messages_ && !closing())
        messages_->show(text, MessageButtons::Ok);
}

void TransportSwitch::remember(const QString& section, const QString& key, const QString& value)
{
    if (!configPath_.isEmpty())
        WriteSetting(section, key, value, configPath_);
}

void TransportSwitch::showStatus(const QString& text)
{
    status_ = text;
    statusShown_ = true;
    host().showStatus(text);
}

void TransportSwitch::hideStatus()
{
    statusShown_ = false;
    host().hideStatus();
}

bool TransportSwitch::serialActive() const
{
    return serial_ && link_.transport() == serial_.get() && link_.state().ComPortOpen;
}

void TransportSwitch::closeBoth()
{
    link_.setTransport(nullptr);
    serial_.reset();
    serialPath_.clear();
    serialInUse_ = false;
    if (tcp_->state() != TcpClient::State::Closed)
        tcp_->close();
}

// ---- serial

bool TransportSwitch::openPort(bool makeActive)
{
    const int port = state_.CurrentComPort;
    const QString path = ports_.devicePath(port);
    serial_ = factory_.openSerial(path);
    serialPath_ = serial_ ? path : QString();
    if (!serial_) {
        DebugLog(QStringLiteral("Unable to open COM port %1 (%2)").arg(port).arg(path), 10);
        if (makeActive)
            link_.setTransport(nullptr);
        return false;
    }
    if (makeActive)
        link_.setTransport(serial_.get());
    showStatus(text("LangConnectedVia") + QStringLiteral(" ") + text("LangComPort") + QStringLiteral(" ")
               + QString::number(port));
    return true;
}

bool TransportSwitch::OpenComPort()
{
    const bool active = serialActive();
    serial_.reset();
    return openPort(active);
}

void TransportSwitch::choosePort(int port)
{
    if (ports_.PortAvailable(port) || port > ComPorts::MaxPort) {
        state_.CurrentComPort = port;
        return;
    }
    state_.CurrentComPort = ports_.lowestAvailablePort();
    remember(SettingsSection, QStringLiteral("Port"), QString::number(state_.CurrentComPort));
}

bool TransportSwitch::lineIsQuiet()
{
    // Nothing has been sent, so any byte now comes from another device driving the bus.
    serial_->discardInput();
    auto& clock = Clock::current();
    const Transport* port = serial_.get();
    clock.waitUntil([&] { return closing() || port->bytesAvailable() > 0; }, clock.nowMs() + LineCheckMs);
    return port->bytesAvailable() == 0;
}

QString TransportSwitch::noPortStatus() const
{
    // Says that nothing is open and where to open something.
    return text("LangNo") + QStringLiteral(" ") + text("LangComPort") + QStringLiteral(" - ") + text("LangCommunications");
}

void TransportSwitch::noComPort()
{
    showStatus(noPortStatus());
    QString advice;
    if (!ports_.deniedPaths().isEmpty()) {
        // Not a translated text: it names a system group and a command, which do not change.
        advice = QStringLiteral("\rPermission denied for %1: this user may not use serial ports. Add the user to the "
                                "'dialout' group (sudo usermod -aG dialout $USER), then log out and in again.")
                     .arg(ports_.deniedPaths().join(QStringLiteral(", ")));
    }
    message(text("LangNo") + QStringLiteral(" ") + text("LangComPort") + advice);
}

void TransportSwitch::onSerialPortLost()
{
    if (!serialInUse_)
        return;
    // Reopened when the same device shows again.
    lostPath_ = serialPath_;
    watcher_.forget(lostPath_);
    closeBoth();
    showStatus(noPortStatus());
    host().refreshCommunicationsMenu();
}

void TransportSwitch::SetComPort(int port)
{
    QScopedValueRollback<bool> switching(switching_, true);
    DebugLog(QStringLiteral("Setting COM port to ") + QString::number(port), 15);
    host().stopTaskTimer();
    host().setTransportChanged();
    closeBoth();
    if (ports_.AvailablePortCount() < 1) {
        noComPort();
    } else {
        choosePort(port);
        if (!openPort(false)) {
            // Gone since the last probe.
            noComPort();
        } else {
            const bool quiet = lineIsQuiet();
            if (!closing()) {
                // With another master on the bus the port stays open and in use, so the user
                // can search again once that device is off the line.
                link_.setTransport(serial_.get());
                serialInUse_ = true;
                if (quiet) {
                    remember(SettingsSection, QStringLiteral("Port"), QString::number(state_.CurrentComPort));
                    remember(SettingsSection, QStringLiteral("LastComms"), QStringLiteral("COM"));
                } else {
                    message(text("LangCommsError1") + QStringLiteral("\r") + text("LangCommsError2"));
                }
            }
        }
    }
    host().refreshCommunicationsMenu();
}

void TransportSwitch::SelectComPort(int index)
{
    state_.CurrentComPort = index + 1;
    remember(SettingsSection, QStringLiteral("Port"), QString::number(state_.CurrentComPort));
    (void)OpenComPort();
    Pause(100);
    host().initTasks();
}

// ---- TCP

bool TransportSwitch::OpenIPPort()
{
    if (tcp_->state() != TcpClient::State::Closed)
        tcp_->close();
    // Copied: the list may change while the connect is waited for.
    const EthernetAdapter* entry = adapters_.Item(state_.CurrentAdapter);
    const EthernetAdapter adapter = entry ? *entry : EthernetAdapter{};
    const QString& host = adapter.strIPAddress;
    auto& clock = Clock::current();
    const qint64 start = clock.nowMs();
    DebugLog(QStringLiteral("OpenIPPort connecting to IP Address ") + host, 17);
    const bool usable = entry && !host.isEmpty() && adapter.lPortNumber >= 1 && adapter.lPortNumber <= 65535;
    if (usable) {
        tcp_->connectToHost(host, quint16(adapter.lPortNumber));
        this->host().setCommunicationsMenuEnabled(false);
        clock.waitUntil([this] { return closing() || tcp_->state() != TcpClient::State::Connecting; },
                        start + ConnectWaitMs);
        this->host().setCommunicationsMenuEnabled(true);
    }
    if (!usable || tcp_->state() != TcpClient::State::Connected) {
        // A connect still pending must not complete behind the fallback's back.
        tcp_->close();
        DebugLog(QStringLiteral("OpenIPPort failed with IP Address ") + host, 17);
        return false;
    }
    const qint64 elapsed = clock.nowMs() - start;
    DebugLog(QStringLiteral("OpenIPPort success with IP Address ") + host, 17);
    link_.state().ConnectTime = elapsed;
    state_.RemoteHostText = host;
    state_.LocalIPText = adapter.strLocalIPAddress;
    state_.RemotePortValue = adapter.lPortNumber;
    link_.state().NetTimeouts = 0;
    this->host().refreshEthernetDiagnostics();
    DebugLog(QStringLiteral("Connection Time was %1ms").arg(elapsed), 20);
    state_.LastIPAddress = host + QStringLiteral(":") + QString::number(adapter.lPortNumber);
    remember(QStringLiteral("EthernetSetup"), QStringLiteral("LastIPAddress"), state_.LastIPAddress);
    DebugLog(QStringLiteral("OpenIPPort set LastIPAddress to ") + state_.LastIPAddress, 17);
    return true;
}

void TransportSwitch::SetIPPort(int adapter, bool automatic)
{
    QScopedValueRollback<bool> switching(switching_, true);
    host().stopTaskTimer();
    const bool serialBefore = link_.state().ComPortOpen;
    closeBoth();
    const int previous = state_.CurrentAdapter;
    state_.CurrentAdapter = adapter;
    const EthernetAdapter* entry = adapters_.Item(adapter);
    const QString hostPort = entry ? entry->strIPAddress + QStringLiteral(":") + QString::number(entry->lPortNumber)
                                   : QString();
    const QString hostText = entry ? entry->strIPAddress : QString();
    if (adapter == 0) {
        hideStatus();
    } else if (OpenIPPort()) {
        DebugLog(QStringLiteral("SetIPPort succcess with IP Address ") + hostText, 17);
        tcp_->discardInput();
        link_.setTransport(tcp_.get());
        showStatus(text("LangConnectedVia") + QStringLiteral(" ") + hostPort);
        remember(SettingsSection, QStringLiteral("LastComms"), QStringLiteral("IP"));
        if (automatic)
            host().setTransportChanged();
    } else {
        DebugLog(QStringLiteral("SetIPPort failed with IP Address ") + hostText, 17);
        message(text("LangConnectionFailed") + QStringLiteral(" ") + hostPort);
        hideStatus();
        state_.CurrentAdapter = 0;
        // Trying the adapter that just failed once more would only wait another 12 s.
        fallBack(serialBefore, previous == adapter ? 0 : previous);
    }
    host().refreshCommunicationsMenu();
}

void TransportSwitch::fallBack(bool serialBefore, int previousAdapter)
{
    if (closing())
        return;
    if (serialBefore)
        SetComPort(state_.CurrentComPort);
    else if (previousAdapter != 0)
        SetIPPort(previousAdapter, false);
    else
        host().clearSensorRows();
}

// ---- serial devices coming and going

void TransportSwitch::onDeviceAppeared(const QString& devicePath)
{
    DebugLog(QStringLiteral("Serial device appeared: ") + devicePath, 15);
    if (devicePath == lostPath_ && !closing()) {
        // The device the program lost is back: open it again and look for the sensors, as
        // after plugging the cable back in.
        lostPath_.clear();
        ports_.EnumerateComPorts();
        host().rebuildMenus();
        if (const int port = ports_.portNumber(devicePath); port != 0) {
            SetComPort(port);
            if (serialActive())
                host().initTasks();
        }
        return;
    }
    reprobeKeepingPort();
}

void TransportSwitch::onDeviceRemoved(const QString& devicePath)
{
    DebugLog(QStringLiteral("Serial device removed: ") + devicePath, 15);
    // The whole device is compared, not a trailing number, and the ports are probed again
    // first, so the move goes to a port that is really there.
    if (serialInUse_ && devicePath == serialPath_) {
        lostPath_ = devicePath;
        closeBoth();
        ports_.EnumerateComPorts();
        host().rebuildMenus();
        SetComPort(0);
        return;
    }
    reprobeKeepingPort();
}

void TransportSwitch::reprobeKeepingPort()
{
    const QString openPath = serial_ && serial_->isOpen() ? serialPath_ : QString();
    const bool active = serialActive();
    // The probe cannot open a port we hold.
    serial_.reset();
    ports_.EnumerateComPorts();
    host().rebuildMenus();
    if (openPath.isEmpty())
        return;
    const int port = ports_.portNumber(openPath);
    if (port == 0) {
        if (active)
            link_.setTransport(nullptr);
        serialPath_.clear();
        return;
    }
    // The same device again, even when the new device moved it to another number.
    state_.CurrentComPort = port;
    openPort(active);
}

}  // namespace dunmere
