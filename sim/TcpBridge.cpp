#include "TcpBridge.h"

#include "WireLine.h"

#include <QTcpSocket>

namespace dunmere::sim {

TcpBridge::TcpBridge(SimBus& bus, QObject* parent) : QObject(parent), bus_(bus)
{
    connect(&server_, &QTcpServer::newConnection, this, &TcpBridge::accept);
}

bool TcpBridge::listen(const QHostAddress& address, quint16 port, QString& error)
{
    if (!isLoopback(address)) {
        error = QStringLiteral("%1 is not a loopback address").arg(address.toString());
        return false;
    }
    server_.close();
    if (!server_.listen(address, port)) {
        error = server_.errorString();
        return false;
    }
    return true;
}

void TcpBridge::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto* line = new WireLine(bus_, socket);
        line->setBaud(baud_);
        line->setBreaksConnections(true);
        connect(socket, &QTcpSocket::readyRead, line, [socket, line] { line->fromMaster(socket->readAll()); });
        connect(line, &WireLine::toMaster, socket, [socket](const QByteArray& bytes) { socket->write(bytes); });
        connect(line, &WireLine::connectionBroken, socket, [socket] {
            socket->flush();
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        emit clientConnected(socket->peerAddress().toString() + QLatin1Char(':') + QString::number(socket->peerPort()));
    }
}

}  // namespace dunmere::sim
