#include "LocalAddresses.h"

#include <QNetworkInterface>

namespace dunmere {

namespace {

const LocalAddressSource* installed = nullptr;

QStringList systemAddresses()
{
    QStringList list;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& nic : interfaces) {
        const auto flags = nic.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                list.append(ip.toString());
        }
    }
    return list;
}

}  // namespace

QStringList LocalAddresses() { return installed ? installed->addresses() : systemAddresses(); }

QStringList BroadcastTargets()
{
    return installed ? installed->broadcastTargets() : QStringList{QStringLiteral("255.255.255.255")};
}

void SetLocalAddressSource(const LocalAddressSource* source) { installed = source; }

}  // namespace dunmere
