#pragma once
// A byte pipe to the sensor bus: the serial port, the TCP connection to an Ethernet adapter,
// the in-process simulated bus, or a scripted test double. Framing, retries and time-outs
// live in Link; a transport only moves bytes and says when it has failed.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace dunmere {

class Transport : public QObject {
    Q_OBJECT
public:
    enum class Kind { Serial, Tcp };

    ~Transport() override = default;
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    [[nodiscard]] virtual Kind kind() const = 0;
    // Serial: the port is open. TCP: the socket is connected.
    [[nodiscard]] virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // Puts one text frame on the line. A serial transport drives the RS-485 direction:
    // RTS on, discard both buffers, 0xFF 0xFF, the frame one byte per write, drain, one 0x00,
    // drain, RTS off. TCP sends the frame as it stands. False when the device failed.
    [[nodiscard]] virtual bool sendTextFrame(const QByteArray& frame) = 0;
    // Puts one binary array (preamble included) on the line: serial RTS on, discard, one
    // write, drain, RTS off; TCP as one block. False when the device failed.
    [[nodiscard]] virtual bool sendBinaryFrame(const QByteArray& array) = 0;

    // Received bytes not yet read.
    [[nodiscard]] virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;
    QByteArray readAll() { return read(bytesAvailable()); }
    virtual void discardInput() = 0;

    // The system's description of the last failure, for the message the user sees.
    [[nodiscard]] virtual QString errorText() const = 0;
    // TCP: the adapter's host address, named when the connection is lost.
    [[nodiscard]] virtual QString hostAddress() const { return {}; }

signals:
    // New bytes can be read; waits wake on it.
    void readyRead();
    // The device went away (socket closed by the peer, port unplugged).
    void failed();

protected:
    explicit Transport(QObject* parent = nullptr) : QObject(parent) {}
};

}  // namespace dunmere
