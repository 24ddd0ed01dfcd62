#include "TcpTransport.h"

#include "DebugLog.h"

namespace dunmere {

TcpTransport::TcpTransport(QObject* parent) : TcpClient(parent)
{
    connect(&socket_, &QTcpSocket::readyRead, this, &Transport::readyRead);
    connect(&socket_, &QTcpSocket::connected, this, &TcpTransport::onConnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpTransport::onError);
    connect(&socket_, &QTcpSocket::disconnected, this, &TcpTransport::onDisconnected);
}

TcpTransport::~TcpTransport()
{
    disconnect(&socket_, nullptr, this, nullptr);
    socket_.abort();
}

void TcpTransport::connectToHost(const QString& host, quint16 port)
{
    close();
    host_ = host;
    errored_ = false;
    errorText_.clear();
    socket_.connectToHost(host, port);
}

TcpClient::State TcpTransport::state() const
{
    switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return State::Connecting;
    case QAbstractSocket::ConnectedState:
        return State::Connected;
    default:
        return errored_ ? State::Error : State::Closed;
    }
}

void TcpTransport::close()
{
    connected_ = false;
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
}

bool TcpTransport::send(const QByteArray& bytes)
{
    if (!isOpen())
        return false;
    if (socket_.write(bytes) != bytes.size()) {
        errorText_ = socket_.errorString();
        return false;
    }
    // Hand the frame to the system now rather than on the next pass of the event loop.
    socket_.flush();
    return true;
}

void TcpTransport::onConnected()
{
    connected_ = true;
    // Frames are small and every one waits for its reply: do not let them sit in Nagle's queue.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void TcpTransport::onError(QAbstractSocket::SocketError)
{
    errored_ = true;
    errorText_ = socket_.errorString();
    DebugLog(QStringLiteral("TCP error with ") + host_ + QStringLiteral(": ") + errorText_, 15);
    lose();
}

void TcpTransport::onDisconnected() { lose(); }

void TcpTransport::lose()
{
    if (!connected_)
        return;
    connected_ = false;
    emit failed();
}

}  // namespace dunmere
