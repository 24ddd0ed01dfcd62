#include "SimTransport.h"

#include "link/Frame.h"

namespace dunmere::sim {

SimTransport::SimTransport(SimBus& bus, Kind kind, QObject* parent) : Transport(parent), kind_(kind), line_(bus)
{
    line_.setBreaksConnections(kind == Kind::Tcp);
    connect(&line_, &WireLine::toMaster, this, &SimTransport::arrive);
    connect(&line_, &WireLine::connectionBroken, this, &SimTransport::dropConnection);
}

void SimTransport::close()
{
    open_ = false;
    input_.clear();
    line_.reset();
}

void SimTransport::open()
{
    open_ = true;
    errorText_.clear();
}

QString SimTransport::hostAddress() const
{
    return kind_ == Kind::Tcp ? QStringLiteral("127.0.0.1") : QString();
}

bool SimTransport::sendTextFrame(const QByteArray& frame)
{
    if (kind_ == Kind::Tcp)
        return send(frame);
    return send(QByteArray(2, frame::Preamble) + frame + QByteArray(1, '\0'));
}

bool SimTransport::sendBinaryFrame(const QByteArray& array) { return send(array); }

bool SimTransport::send(const QByteArray& wireBytes)
{
    if (!open_) {
        errorText_ = kind_ == Kind::Tcp ? QStringLiteral("The socket is not connected")
                                        : QStringLiteral("The port is not open");
        return false;
    }
    if (kind_ == Kind::Serial)
        input_.clear();  // the serial sender discards its buffers first
    line_.fromMaster(wireBytes);
    return true;
}

void SimTransport::arrive(const QByteArray& bytes)
{
    if (!open_)
        return;
    input_ += bytes;
    emit readyRead();
}

QByteArray SimTransport::read(qint64 maxBytes)
{
    const QByteArray out = input_.left(maxBytes);
    input_.remove(0, out.size());
    return out;
}

void SimTransport::dropConnection()
{
    open_ = false;
    errorText_ = QStringLiteral("The remote host closed the connection");
    line_.reset();
    emit failed();
}

}  // namespace dunmere::sim
