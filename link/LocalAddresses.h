#pragma once
// The PC's own IPv4 addresses, the ones adapter discovery searches from. Behind a seam so
// that tests (and anything that must never touch the real network) put their own list in.

#include <QStringList>

namespace dunmere {

class LocalAddressSource {
public:
    virtual ~LocalAddressSource() = default;
    [[nodiscard]] virtual QStringList addresses() const = 0;
};

// Dotted IPv4 addresses of the interfaces that are up, loopback excluded, in the system's
// interface order; from the installed source when there is one.
[[nodiscard]] QStringList LocalAddresses();

// Installs a source (not owned); nullptr restores the system's interfaces.
void SetLocalAddressSource(const LocalAddressSource* source);

}  // namespace dunmere
