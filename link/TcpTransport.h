#pragma once
// The TCP connection to an Ethernet adapter that bridges to its RS-485 bus. TcpClient is
// what the transport switch needs to connect and watch the connect; TcpTransport is the
// real one on QTcpSocket.

#include "Transport.h"

#include <QTcpSocket>

namespace dunmere {

class TcpClient : public Transport {
    Q_OBJECT
public:
    // The socket states the connection logic tells apart, with their classic numbers.
    enum class State { Closed = 0, Connecting = 6, Connected = 7, Error = 9 };

    Kind kind() const final { return Kind::Tcp; }
    // Starts connecting; state() is Connecting until it succeeds or fails.
    virtual void connectToHost(const QString& host, quint16 port) = 0;
    [[nodiscard]] virtual State state() const = 0;

protected:
    explicit TcpClient(QObject* parent) : Transport(parent) {}
};

class TcpTransport final : public TcpClient {
    Q_OBJECT
public:
    explicit TcpTransport(QObject* parent = nullptr);
    ~TcpTransport() override;

    void connectToHost(const QString& host, quint16 port) override;
    State state() const override;

    bool isOpen() const override { return socket_.state() == QAbstractSocket::ConnectedState; }
    // Drops the connection at once; a close of our own is not a failure.
    void close() override;
    bool sendTextFrame(const QByteArray& frame) override { return send(frame); }
    bool sendBinaryFrame(const QByteArray& array) override { return send(array); }
    qint64 bytesAvailable() const override { return socket_.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override { return socket_.read(maxBytes); }
    void discardInput() override { socket_.readAll(); }
    QString errorText() const override { return errorText_; }
    QString hostAddress() const override { return host_; }

private:
    bool send(const QByteArray& bytes);
    void onConnected();
    void onError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void lose();

    QTcpSocket socket_;
    QString host_;
    QString errorText_;
    bool errored_ = false;    // the last connect or connection ended in an error
    bool connected_ = false;  // connected since the last connect, and not yet lost
};

}  // namespace dunmere
