#pragma once
// The UDP socket the adapter configuration protocol runs on (the main window's
// WinsockSearch): bound to one of the PC's addresses with any local port, the remote host set
// per send, datagrams taken up to 124 bytes with their sender.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUdpSocket>
#include <functional>

namespace dunmere {

struct AdapterDatagram {
    QByteArray bytes;
    QString sender;  // dotted IPv4 text
};

class AdapterSocket final : public QObject {
    Q_OBJECT
public:
    explicit AdapterSocket(QObject* parent = nullptr);
    AdapterSocket(const AdapterSocket&) = delete;
    AdapterSocket& operator=(const AdapterSocket&) = delete;

    // Closes the socket if it is open and binds it to localAddress, local port 0 (any).
    [[nodiscard]] bool bindTo(const QString& localAddress);
    // Closes the socket if it is open and points it at one host: the system picks the local
    // address, and only that host's datagrams come in.
    [[nodiscard]] bool connectTo(const QString& host, quint16 port);
    // To the connected host.
    [[nodiscard]] bool send(const QByteArray& datagram);
    [[nodiscard]] bool send(const QByteArray& datagram, const QString& host, quint16 port);
    [[nodiscard]] bool hasData() const { return socket_.hasPendingDatagrams(); }
    // The next datagram, at most 124 bytes of it.
    [[nodiscard]] AdapterDatagram take();
    // Waits until a datagram is there, ms have passed or stop() holds; true when data is there.
    bool waitForData(int ms, const std::function<bool()>& stop = {});
    void close();
    [[nodiscard]] bool isOpen() const { return socket_.state() != QAbstractSocket::UnconnectedState; }
    [[nodiscard]] QString localAddress() const { return localAddress_; }
    [[nodiscard]] QString errorText() const { return socket_.errorString(); }

private:
    QUdpSocket socket_;
    QString localAddress_;
};

}  // namespace dunmere
