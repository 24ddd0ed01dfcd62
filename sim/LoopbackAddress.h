#pragma once
// The simulator serves only the machine itself: every socket it binds must be in 127.0.0.0/8.

#include <QHostAddress>
#include <QString>

namespace dunmere::sim {

[[nodiscard]] bool isLoopback(const QHostAddress& address);

struct Endpoint {
    QHostAddress address;
    quint16 port = 0;
};

// Reads "127.0.0.1:10001" (or just "127.0.0.2" when defaultPort is given; port 0 asks for
// any free port). False with a message for anything malformed or outside 127.0.0.0/8.
[[nodiscard]] bool parseLoopbackEndpoint(const QString& text, quint16 defaultPort, Endpoint& out, QString& error);

}  // namespace dunmere::sim
