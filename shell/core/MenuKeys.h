#pragma once
// The menu bar's item keys and what a click on one asks for. The keys carry their numbers in
// decimal without blanks or leading zeros: mnuLanguage3, mnuComPortCom12, mnuIP2.

#include <QString>
#include <QStringList>

namespace dunmere {

struct MenuCommand {
    enum class Kind { None, Language, ComPort, SearchAdapters, EditAdapters, AddAdapter, Adapter, Help, SearchSpeed };
    Kind kind = Kind::None;
    // Language: the 0-based language number; ComPort: the port; Adapter: the 1-based
    // position in the adapter list; SearchSpeed: the probe time-out in ms.
    int number = 0;
};

// The click handler's tests, in its order; parent items and unknown keys give Kind::None.
[[nodiscard]] MenuCommand ParseMenuKey(const QString& key);

[[nodiscard]] QString LanguageItemKey(int language);
[[nodiscard]] QString ComPortItemKey(int port);
[[nodiscard]] QString AdapterItemKey(int position);
// The speed item that is ticked for a probe time-out; empty for any other time-out.
[[nodiscard]] QString SearchSpeedItemKey(int probeMs);

// After the adapter list changed: the position (1-based) of the adapter whose key is the last
// TCP connection's host:port (the later one of two alike), or 0 when there is none (or no adapter was in use).
[[nodiscard]] int ReindexCurrentAdapter(const QStringList& adapterKeys, const QString& lastIPAddress, int currentAdapter);

}  // namespace dunmere
