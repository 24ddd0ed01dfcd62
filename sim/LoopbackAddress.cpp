#include "LoopbackAddress.h"

namespace dunmere::sim {

bool isLoopback(const QHostAddress& address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol
        && address.isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), 8);
}

bool parseLoopbackEndpoint(const QString& text, quint16 defaultPort, Endpoint& out, QString& error)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? trimmed : trimmed.left(colon);
    quint16 port = defaultPort;
    if (colon >= 0) {
        bool ok = false;
        const uint value = trimmed.mid(colon + 1).toUInt(&ok);
        if (!ok || value > 65535) {
            error = QStringLiteral("\"%1\": the port must be 0 (any free one) to 65535").arg(text);
            return false;
        }
        port = quint16(value);
    } else if (defaultPort == 0) {
        error = QStringLiteral("\"%1\" needs a port (address:port)").arg(text);
        return false;
    }
    QHostAddress address;
    if (!address.setAddress(host) || address.protocol() != QAbstractSocket::IPv4Protocol) {
        error = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
        return false;
    }
    if (!isLoopback(address)) {
        error = QStringLiteral("%1 is not a loopback address; the simulator serves 127.0.0.0/8 only").arg(host);
        return false;
    }
    out = Endpoint{address, port};
    return true;
}

}  // namespace dunmere::sim
