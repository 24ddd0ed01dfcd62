#pragma once
// Which transport carries the link: opening and switching the serial port (with its check
// for another device driving the bus), connecting to an Ethernet adapter and falling back
// when that fails, following serial devices as they come and go, and the text of the status
// label. It reaches the program around it only through TransportHost and the message and
// text seams, so the main window and dunmere-cli run the same procedures.

#include "ComPorts.h"
#include "Messages.h"

#include <QObject>
#include <QString>
#include <memory>

namespace dunmere {

class EthernetAdapters;
class Link;
class TcpClient;
class Transport;
class TransportFactory;

// What a transport switch asks of the program that hosts it. Every step has a default that
// does nothing, for hosts without windows.
class TransportHost {
public:
    virtual ~TransportHost() = default;
    virtual void stopTaskTimer() {}
    // Aborts a running sensor search: the bus it was searching is gone.
    virtual void setTransportChanged() {}
    // mnuCommunications; off while a connect is waited for, so no second switch can start.
    virtual void setCommunicationsMenuEnabled(bool enabled) { Q_UNUSED(enabled) }
    // The ticks of the communications menu follow the transport.
    virtual void refreshCommunicationsMenu() {}
    // The set of serial ports changed: the menus are built anew.
    virtual void rebuildMenus() {}
    // lblConnectedVia shows this text, or is hidden.
    virtual void showStatus(const QString& text) { Q_UNUSED(text) }
    virtual void hideStatus() {}
    // A failed connect left no transport: the Sensor page rows are cleared, CmdSearch off.
    virtual void clearSensorRows() {}
    // A connect succeeded; the Ethernet diagnostics window refreshes when it shows.
    virtual void refreshEthernetDiagnostics() {}
    virtual void initTasks() {}
    // A tick or a window's timer is running; device reactions wait for a later check.
    [[nodiscard]] virtual bool busy() const { return false; }
};

// The switch's own record of the transport in use.
struct TransportState {
    int CurrentComPort = 0;    // serial port in use or last chosen
    int CurrentAdapter = 0;    // 1-based position in the adapter list; 0 for none
    QString RemoteHostText;    // the connected adapter, for the Ethernet diagnostics
    qint32 RemotePortValue = 0;
    QString LocalIPText;       // the PC address recorded with that adapter
    QString LastIPAddress;     // host ":" port of the last successful connect
};

class TransportSwitch final : public QObject {
    Q_OBJECT
public:
    static constexpr int LineCheckMs = 1000;
    static constexpr int ConnectWaitMs = 12000;

    // The adapter list is read at each connect and must outlive the switch. With an empty
    // settings path nothing is remembered and ports are numbered from the system alone.
    TransportSwitch(Link& link, TransportFactory& factory, const EthernetAdapters& adapters, QString configPath,
                    QObject* parent = nullptr);
    ~TransportSwitch() override;
    TransportSwitch(const TransportSwitch&) = delete;
    TransportSwitch& operator=(const TransportSwitch&) = delete;

    void setHost(TransportHost* host) { host_ = host; }
    void setMessages(Messages* messages) { messages_ = messages; }
    void setTexts(const TextSource* texts) { texts_ = texts; }

    [[nodiscard]] TransportState& state() { return state_; }
    [[nodiscard]] const TransportState& state() const { return state_; }
    [[nodiscard]] const ComPorts& ports() const { return ports_; }

    void EnumerateComPorts() { ports_.EnumerateComPorts(); }
    // Opens CurrentComPort and shows it on the status label; the active transport stays what
    // it was (a serial link in use moves to the reopened port). False when it cannot open.
    [[nodiscard]] bool OpenComPort();
    // Closes both transports and makes serial port n the active one (0, or a port that is not
    // present: the lowest present port, written back as Port).
    void SetComPort(int port);
    // CurrentComPort = index + 1, written as Port; opens it; pause; InitTasks.
    void SelectComPort(int index);
    // Connects to adapter CurrentAdapter, waiting up to 12 s with events running. True when
    // connected; ConnectTime is the time it took.
    [[nodiscard]] bool OpenIPPort();
    // Closes both transports and connects to adapter a (1-based); on failure falls back to
    // the serial port in use before, else the adapter used before, else no transport.
    void SetIPPort(int adapter, bool automatic);

    // The status line's text while no port is open: that nothing is, and where to choose one.
    [[nodiscard]] QString noPortStatus() const;
    // Starts following serial devices as they appear and disappear.
    void watchDevices();

    // The status label as it stands.
    [[nodiscard]] QString statusText() const { return status_; }
    [[nodiscard]] bool statusShown() const { return statusShown_; }

private:
    [[nodiscard]] TransportHost& host() { return host_ ? *host_ : noHost_; }
    [[nodiscard]] bool closing() const;
    [[nodiscard]] QString text(const char* key) const;
    void message(const QString& text);
    void remember(const QString& section, const QString& key, const QString& value);
    void showStatus(const QString& text);
    void hideStatus();
    [[nodiscard]] bool serialActive() const;
    void closeBoth();
    void choosePort(int port);
    bool openPort(bool makeActive);
    [[nodiscard]] bool lineIsQuiet();
    void noComPort();
    void onSerialPortLost();
    void fallBack(bool serialBefore, int previousAdapter);
    void onDeviceAppeared(const QString& devicePath);
    void onDeviceRemoved(const QString& devicePath);
    void reprobeKeepingPort();

    Link& link_;
    TransportFactory& factory_;
    const EthernetAdapters& adapters_;
    QString configPath_;
    ComPorts ports_;
    SerialDeviceWatcher watcher_;
    TransportHost* host_ = nullptr;
    TransportHost noHost_;
    Messages* messages_ = nullptr;
    const TextSource* texts_ = nullptr;
    TransportState state_;

    std::unique_ptr<Transport> serial_;
    QString serialPath_;       // device of serial_
    QString lostPath_;         // the device in use that failed or went away; reopened when it returns
    bool serialInUse_ = false;  // SetComPort made the serial port the link's transport
    std::unique_ptr<TcpClient> tcp_;
    bool switching_ = false;
    QString status_;
    bool statusShown_ = false;
};

}  // namespace dunmere
