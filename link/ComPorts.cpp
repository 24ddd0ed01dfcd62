#include "ComPorts.h"

#include "Settings.h"
#include "Transport.h"
#include "TransportFactory.h"

#include <QFileInfo>
#include <algorithm>

namespace dunmere {

namespace {

// Splits "/dev/ttyUSB10" into "/dev/ttyUSB" and 10 (-1 without a trailing number).
std::pair<QString, qint64> splitTrailingNumber(const QString& path)
{
    qsizetype digits = path.size();
    while (digits > 0 && path.at(digits - 1).isDigit())
        --digits;
    if (digits == path.size())
        return {path, -1};
    return {path.left(digits), path.mid(digits).toLongLong()};
}

QString portKey(int port) { return QStringLiteral("COM") + QString::number(port); }

}  // namespace

void SortDevicePaths(QStringList& paths)
{
    std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
        const auto [stemA, numberA] = splitTrailingNumber(a);
        const auto [stemB, numberB] = splitTrailingNumber(b);
        if (stemA != stemB)
            return stemA < stemB;
        if (numberA != numberB)
            return numberA < numberB;
        return a < b;
    });
}

ComPorts::ComPorts(TransportFactory& factory, QString configPath)
    : factory_(factory), configPath_(std::move(configPath))
{
}

std::array<QString, ComPorts::MaxPort + 1> ComPorts::currentNumbering() const
{
    std::array<QString, MaxPort + 1> paths{};
    QStringList named;
    for (int port = 1; port <= MaxPort; ++port) {
        if (!configPath_.isEmpty())
            paths[port] = ReadSetting(QStringLiteral("Ports"), portKey(port), configPath_).trimmed();
        if (!paths[port].isEmpty())
            named.append(paths[port]);
    }
    QStringList system = factory_.serialDevices();
    SortDevicePaths(system);
    system.removeDuplicates();
    int port = 1;
    for (const QString& device : std::as_const(system)) {
        if (named.contains(device))
            continue;
        while (port <= MaxPort && !paths[port].isEmpty())
            ++port;
        if (port > MaxPort)
            break;
        paths[port] = device;
    }
    return paths;
}

void ComPorts::EnumerateComPorts()
{
    paths_ = currentNumbering();
    count_ = 0;
    available_.fill(false);
    denied_.clear();
    for (int port = 1; port <= MaxPort; ++port) {
        if (paths_[port].isEmpty())
            continue;
        // Opening and dropping the port is the probe; a failure only means "not usable".
        if (factory_.openSerial(paths_[port]) != nullptr) {
            available_[port] = true;
            ++count_;
        } else if (factory_.lastOpenDenied()) {
            denied_.append(paths_[port]);
        }
    }
}

QStringList ComPorts::presentDevices() const
{
    QStringList devices = factory_.serialDevices();
    // The numbering of the last probe: reading the settings file on every check would be waste.
    for (const QString& path : paths_) {
        if (!path.isEmpty() && !devices.contains(path) && QFileInfo::exists(path))
            devices.append(path);
    }
    return devices;
}

bool ComPorts::PortAvailable(int port) const { return port >= 1 && port <= MaxPort && available_[port]; }

int ComPorts::lowestAvailablePort() const
{
    for (int port = 1; port <= MaxPort; ++port) {
        if (available_[port])
            return port;
    }
    return 0;
}

QString ComPorts::devicePath(int port) const { return port >= 1 && port <= MaxPort ? paths_[port] : QString(); }

int ComPorts::portNumber(const QString& devicePath) const
{
    if (devicePath.isEmpty())
        return 0;
    for (int port = 1; port <= MaxPort; ++port) {
        if (paths_[port] == devicePath)
            return port;
    }
    return 0;
}

// ---- SerialDeviceWatcher

SerialDeviceWatcher::SerialDeviceWatcher(TransportFactory& factory, QObject* parent)
    : QObject(parent), factory_(factory)
{
    timer_.setInterval(IntervalMs);
    connect(&timer_, &ClockTimer::timeout, this, &SerialDeviceWatcher::check);
}

void SerialDeviceWatcher::start()
{
    known_ = devices_ ? devices_() : factory_.serialDevices();
    timer_.start();
}

void SerialDeviceWatcher::check()
{
    if (busy_ && busy_())
        return;
    const QStringList now = devices_ ? devices_() : factory_.serialDevices();
    const QStringList before = std::exchange(known_, now);
    for (const QString& device : before) {
        if (!now.contains(device))
            emit deviceRemoved(device);
    }
    for (const QString& device : now) {
        if (!before.contains(device))
            emit deviceAppeared(device);
    }
}

}  // namespace dunmere
