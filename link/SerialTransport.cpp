#include "SerialTransport.h"

#include "DebugLog.h"
#include "Frame.h"

#include <cerrno>
#include <termios.h>

namespace dunmere {

namespace {

constexpr qint32 BaudRate = 9600;
// Writing to the driver is quick; only a stuck device takes this long.
constexpr int WriteTimeoutMs = 2000;

bool deviceGone(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError:
        return true;
    default:
        return false;
    }
}

}  // namespace

SerialTransport::SerialTransport(QObject* parent) : Transport(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &Transport::readyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport() { close(); }

bool SerialTransport::open(const QString& devicePath)
{
    close();
    errorText_.clear();
    losing_ = false;
    permissionDenied_ = false;
    port_.setPortName(devicePath);
    port_.setBaudRate(BaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        permissionDenied_ = port_.error() == QSerialPort::PermissionError;
        errorText_ = port_.errorString();
        port_.clearError();
        return false;
    }
    port_.clear(QSerialPort::AllDirections);
    return true;
}

void SerialTransport::close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

void SerialTransport::discardInput()
{
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    if (!port_.isOpen() || !deviceGone(error) || losing_)
        return;
    errorText_ = port_.errorString();
    DebugLog(QStringLiteral("Serial port failed: ") + errorText_, 10);
    // Closed from the event loop, not from inside the port's own notifier that reported it;
    // closing stops a dead device's notifier from firing again.
    losing_ = true;
    QMetaObject::invokeMethod(this, &SerialTransport::loseDevice, Qt::QueuedConnection);
}

void SerialTransport::loseDevice()
{
    losing_ = false;
    if (!port_.isOpen())
        return;
    port_.close();
    emit failed();
}

bool SerialTransport::fail(const QString& reason)
{
    if (errorText_.isEmpty())
        errorText_ = reason;
    return false;
}

void SerialTransport::setRts(bool on)
{
    if (!port_.setRequestToSend(on))
        port_.clearError();
}

bool SerialTransport::writeBytes(const QByteArray& bytes, bool bytePerWrite)
{
    if (!bytePerWrite)
        return port_.write(bytes) == bytes.size();
    for (const char b : bytes) {
        if (port_.write(&b, 1) != 1)
            return false;
    }
    return true;
}

bool SerialTransport::drain()
{
    while (port_.isOpen() && port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(WriteTimeoutMs))
            return false;
    }
    if (!port_.isOpen())
        return false;
    // The driver has the bytes; tcdrain returns when the line has sent them.
    return ::tcdrain(int(port_.handle())) == 0 || errno == ENOTTY || errno == EINVAL;
}

bool SerialTransport::sendTextFrame(const QByteArray& frame)
{
    if (!port_.isOpen())
        return fail(QStringLiteral("The serial port is not open"));
    setRts(true);
    port_.clear(QSerialPort::AllDirections);
    const QByteArray preamble(2, frame::Preamble);
    bool ok = writeBytes(preamble, true) && writeBytes(frame, true) && drain();
    // The pad byte keeps the transmitter on while the last real byte leaves the port.
    ok = ok && writeBytes(QByteArray(1, '\0'), true) && drain();
    if (port_.isOpen())
        setRts(false);
    return ok || fail(port_.errorString());
}

bool SerialTransport::sendBinaryFrame(const QByteArray& array)
{
    if (!port_.isOpen())
        return fail(QStringLiteral("The serial port is not open"));
    setRts(true);
    port_.clear(QSerialPort::AllDirections);
    const bool ok = writeBytes(array, false) && drain();
    if (port_.isOpen())
        setRts(false);
    return ok || fail(port_.errorString());
}

}  // namespace dunmere
