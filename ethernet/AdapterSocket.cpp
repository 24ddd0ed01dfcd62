#include "AdapterSocket.h"

#include "AdapterDatagrams.h"

#include "link/Clock.h"

#include <QNetworkDatagram>

namespace dunmere {

AdapterSocket::AdapterSocket(QObject* parent) : QObject(parent) {}

bool AdapterSocket::bindTo(const QString& localAddress)
{
    close();
    const QHostAddress address(localAddress);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    if (!socket_.bind(address, 0))
        return false;
    localAddress_ = localAddress;
    return true;
}

bool AdapterSocket::connectTo(const QString& host, quint16 port)
{
    close();
    const QHostAddress target(host);
    if (target.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    socket_.connectToHost(target, port);
    if (socket_.state() != QAbstractSocket::ConnectedState && !socket_.waitForConnected(1000))
        return false;
    localAddress_ = socket_.localAddress().toString();
    return true;
}

bool AdapterSocket::send(const QByteArray& datagram)
{
    return socket_.state() == QAbstractSocket::ConnectedState && socket_.write(datagram) == datagram.size();
}

bool AdapterSocket::send(const QByteArray& datagram, const QString& host, quint16 port)
{
    const QHostAddress target(host);
    if (target.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    return socket_.writeDatagram(datagram, target, port) == datagram.size();
}

AdapterDatagram AdapterSocket::take()
{
    const QNetworkDatagram datagram = socket_.receiveDatagram(AdapterDatagramLimit);
    bool ok = false;
    const quint32 ip = datagram.senderAddress().toIPv4Address(&ok);
    return AdapterDatagram{datagram.data(), ok ? QHostAddress(ip).toString() : datagram.senderAddress().toString()};
}

bool AdapterSocket::waitForData(int ms, const std::function<bool()>& stop)
{
    auto& clock = Clock::current();
    return clock.waitUntil([&] { return hasData() || (stop && stop()); }, clock.nowMs() + ms) && hasData();
}

void AdapterSocket::close()
{
    socket_.close();
    localAddress_.clear();
}

}  // namespace dunmere
