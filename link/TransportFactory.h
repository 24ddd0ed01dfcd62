#pragma once
// Where the transport switch gets its devices: the system's serial devices and the socket
// to an adapter. Tests put in-memory ones in its place.

#include <QStringList>
#include <memory>

namespace dunmere {

class TcpClient;
class Transport;

class TransportFactory {
public:
    virtual ~TransportFactory() = default;
    // The serial devices the system lists now (device paths, any order).
    [[nodiscard]] virtual QStringList serialDevices() const = 0;
    // The device open at 9600 8N1 without handshake, both buffers discarded; nullptr when it
    // cannot be opened.
    [[nodiscard]] virtual std::unique_ptr<Transport> openSerial(const QString& devicePath) = 0;
    [[nodiscard]] virtual std::unique_ptr<TcpClient> createTcpClient() = 0;
    // The last openSerial failed because this user may not use the device.
    [[nodiscard]] virtual bool lastOpenDenied() const { return false; }
};

// QSerialPort devices as QSerialPortInfo lists them, QTcpSocket connections.
class SystemTransports final : public TransportFactory {
public:
    QStringList serialDevices() const override;
    std::unique_ptr<Transport> openSerial(const QString& devicePath) override;
    std::unique_ptr<TcpClient> createTcpClient() override;
    bool lastOpenDenied() const override { return lastOpenDenied_; }

private:
    bool lastOpenDenied_ = false;
};

}  // namespace dunmere
