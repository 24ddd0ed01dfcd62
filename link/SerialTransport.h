#pragma once
// The RS-485 bus on a serial port: 9600 baud, 8N1, no handshake. The sender drives the bus
// direction with RTS and keeps it on until the last byte has left the port.

#include "Transport.h"

#include <QSerialPort>

namespace dunmere {

class SerialTransport final : public Transport {
    Q_OBJECT
public:
    explicit SerialTransport(QObject* parent = nullptr);
    ~SerialTransport() override;

    // Opens the device with the bus settings and discards both buffers. False when the
    // device cannot be opened (errorText() says why).
    [[nodiscard]] bool open(const QString& devicePath);
    [[nodiscard]] QString devicePath() const { return port_.portName(); }
    // The last open failed because this user may not use the device.
    [[nodiscard]] bool permissionDenied() const { return permissionDenied_; }

    Kind kind() const override { return Kind::Serial; }
    bool isOpen() const override { return port_.isOpen(); }
    void close() override;
    bool sendTextFrame(const QByteArray& frame) override;
    bool sendBinaryFrame(const QByteArray& array) override;
    qint64 bytesAvailable() const override { return port_.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override { return port_.read(maxBytes); }
    void discardInput() override;
    QString errorText() const override { return errorText_; }

private:
    void onError(QSerialPort::SerialPortError error);
    void loseDevice();
    // RTS switches the RS-485 transmitter. Pseudo-terminals and adapters that switch the
    // direction themselves cannot set it, which is fine.
    void setRts(bool on);
    bool writeBytes(const QByteArray& bytes, bool bytePerWrite);
    // Returns once the bytes have left the port (written and transmitted by the OS).
    bool drain();
    bool fail(const QString& reason);

    QSerialPort port_;
    QString errorText_;
    bool losing_ = false;
    bool permissionDenied_ = false;
};

}  // namespace dunmere
