#pragma once
// The adapter list's place on disk, its loading at start-up and the checks of what a user
// types for an adapter: an address, a TCP port.

#include "EthernetAdapter.h"

#include <QString>
#include <array>
#include <optional>

namespace dunmere {

// DataFolder() + "EthernetDB.mdb".
[[nodiscard]] QString EthernetDatabasePath();

// The title and first line of the box shown when the adapter database cannot be read.
inline constexpr char AdapterDatabaseErrorText[] = "Error accessing Ethernet Adapter Database";

// LoadFromDB on the list, then LastIPAddress of section EthernetSetup into lastIPAddress.
// False (with the reason in error) when the database could not be read; the setting is read
// either way.
[[nodiscard]] bool LoadAdapterList(EthernetAdapters& list, const QString& databasePath, const QString& configPath,
                                   QString& lastIPAddress, QString& error);
// SaveToDB on the list.
[[nodiscard]] bool SaveAdapterList(const EthernetAdapters& list, const QString& databasePath, QString* error = nullptr);

// Three "." and four parts that are each a whole number in digits; no range check.
[[nodiscard]] bool IsDottedAddress(const QString& text);
// The four parts of a dotted address, each 0-255; nothing otherwise.
[[nodiscard]] std::optional<std::array<quint8, 4>> DottedParts(const QString& text);

// A TCP port typed for an adapter: a whole number 1-65535.
[[nodiscard]] std::optional<quint16> ParseAdapterPort(const QString& text);
// The bus port an adapter may be given: 1025-65535 but for 9999, 30704, 30718 and 14000-14009,
// which adapters keep for themselves.
[[nodiscard]] bool IsAllowedBusPort(int port);
[[nodiscard]] std::optional<quint16> ParseBusPort(const QString& text);

// address ":" port, the key of an entry.
[[nodiscard]] QString AdapterKey(const QString& address, int port);

}  // namespace dunmere
