#pragma once
// The PC's own IPv4 addresses, the ones adapter discovery searches from, and where its
// broadcasts go. Behind a seam so that tests (and anything that must never touch the real
// network) put their own list in: loopback addresses, and the loopback hosts that stand for
// "everybody on the network".

#include <QStringList>

namespace dunmere {

class LocalAddressSource {
public:
    virtual ~LocalAddressSource() = default;
    [[nodiscard]] virtual QStringList addresses() const = 0;
    // The hosts a broadcast reaches; on a real network the limited broadcast address.
    [[nodiscard]] virtual QStringList broadcastTargets() const { return {QStringLiteral("255.255.255.255")}; }
};

// Dotted IPv4 addresses of the interfaces that are up, loopback excluded, in the system's
// interface order; from the installed source when there is one.
[[nodiscard]] QStringList LocalAddresses();

// Where discovery sends what it broadcasts: "255.255.255.255" unless a source is installed.
[[nodiscard]] QStringList BroadcastTargets();

// Installs a source (not owned); nullptr restores the system's interfaces.
void SetLocalAddressSource(const LocalAddressSource* source);

}  // namespace dunmere
