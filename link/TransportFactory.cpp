#include "TransportFactory.h"

#include "SerialTransport.h"
#include "TcpTransport.h"

#include <QSerialPortInfo>

namespace dunmere {

QStringList SystemTransports::serialDevices() const
{
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.append(info.systemLocation());
    return paths;
}

std::unique_ptr<Transport> SystemTransports::openSerial(const QString& devicePath)
{
    auto port = std::make_unique<SerialTransport>();
    lastOpenDenied_ = false;
    if (devicePath.isEmpty())
        return nullptr;
    if (!port->open(devicePath)) {
        lastOpenDenied_ = port->permissionDenied();
        return nullptr;
    }
    return port;
}

std::unique_ptr<TcpClient> SystemTransports::createTcpClient() { return std::make_unique<TcpTransport>(); }

}  // namespace dunmere
