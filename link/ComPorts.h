#pragma once
// Serial ports by the numbers 1-16 the program and its users know (COM1-COM16). An entry in
// section Ports of config.ini names the device of its number (COM3=/dev/ttyUSB0); the
// system's other serial devices take the numbers left free, in sorted order.

#include "ClockTimer.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>

namespace dunmere {

class TransportFactory;

class ComPorts {
public:
    static constexpr int MaxPort = 16;

    ComPorts(TransportFactory& factory, QString configPath);

    // Tries to open every numbered port and records which ones could be opened. The
    // numbering is fixed here too, so it stays the one the probe saw until the next probe.
    void EnumerateComPorts();

    [[nodiscard]] bool PortAvailable(int port) const;
    [[nodiscard]] int AvailablePortCount() const { return count_; }
    // The lowest port the last probe could open; 0 when none.
    [[nodiscard]] int lowestAvailablePort() const;

    // The device behind a port number at the last probe; empty when none.
    [[nodiscard]] QString devicePath(int port) const;
    // The number a device had at the last probe; 0 when it had none.
    [[nodiscard]] int portNumber(const QString& devicePath) const;
    // Devices the last probe could not open because this user may not use them.
    [[nodiscard]] const QStringList& deniedPaths() const { return denied_; }
    // The devices to watch: those the system lists and those the last probe numbered that
    // exist (a pseudo-terminal named in [Ports] is never in the system's list).
    [[nodiscard]] QStringList presentDevices() const;

private:
    // Port number -> device path for the devices the system lists now (index 0 unused).
    [[nodiscard]] std::array<QString, MaxPort + 1> currentNumbering() const;

    TransportFactory& factory_;
    QString configPath_;
    std::array<QString, MaxPort + 1> paths_{};
    std::array<bool, MaxPort + 1> available_{};
    int count_ = 0;
    QStringList denied_;
};

// Sorts device paths so that ttyUSB2 comes before ttyUSB10.
void SortDevicePaths(QStringList& paths);

// Notices serial devices coming and going by comparing the system's list every 2 s. While
// the guard says the program is busy (an exchange, a tick, a switch) the comparison waits
// for a later check, so a reaction never closes a port in the middle of an exchange.
class SerialDeviceWatcher final : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 2000;

    explicit SerialDeviceWatcher(TransportFactory& factory, QObject* parent = nullptr);
    SerialDeviceWatcher(const SerialDeviceWatcher&) = delete;
    SerialDeviceWatcher& operator=(const SerialDeviceWatcher&) = delete;

    void setGuard(std::function<bool()> busy) { busy_ = std::move(busy); }
    // Where the list of devices comes from; the factory's list unless set.
    void setDeviceList(std::function<QStringList()> devices) { devices_ = std::move(devices); }
    // Takes the present list as known and starts checking.
    void start();
    void stop() { timer_.stop(); }
    // The next check reports the device as appearing if it is there, even when it never
    // disappeared from the list (it failed, or came back between two checks).
    void forget(const QString& devicePath) { known_.removeAll(devicePath); }

signals:
    void deviceAppeared(const QString& devicePath);
    void deviceRemoved(const QString& devicePath);

private:
    void check();

    TransportFactory& factory_;
    ClockTimer timer_;
    QStringList known_;
    std::function<bool()> busy_;
    std::function<QStringList()> devices_;
};

}  // namespace dunmere
