#pragma once
// The Ethernet adapter's bridge: a TCP server on a loopback address; each connection gets a
// wire of its own to the shared bus, frames in, replies out at their wire time.

#include "LoopbackAddress.h"

#include <QObject>
#include <QTcpServer>

namespace dunmere::sim {

class SimBus;

class TcpBridge final : public QObject {
    Q_OBJECT
public:
    explicit TcpBridge(SimBus& bus, QObject* parent = nullptr);
    TcpBridge(const TcpBridge&) = delete;
    TcpBridge& operator=(const TcpBridge&) = delete;

    // Refuses addresses outside 127.0.0.0/8. Port 0 picks a free one.
    [[nodiscard]] bool listen(const QHostAddress& address, quint16 port, QString& error);
    void close() { server_.close(); }
    [[nodiscard]] quint16 port() const { return server_.serverPort(); }
    [[nodiscard]] QHostAddress address() const { return server_.serverAddress(); }
    void setBaud(int baud) { baud_ = baud; }

signals:
    void clientConnected(const QString& peer);

private:
    void accept();

    SimBus& bus_;
    QTcpServer server_;
    int baud_ = 9600;
};

}  // namespace dunmere::sim
