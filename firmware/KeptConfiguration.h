#pragma once
// The configuration across a firmware upgrade: a snapshot before the first block and one after
// the new firmware answered, the values that differ, and writing the old ones back. A new
// firmware may reset settings the plant relies on; the user decides whether to restore them.

#include "sensor/ConfigSnapshot.h"

#include <QList>
#include <QString>

namespace dunmere {

class Link;

struct ConfigurationChange {
    int parameter = 0;
    QString before;
    QString after;
    // The old value is a real reply and the program writes this parameter.
    bool restorable = false;
};

class KeptConfiguration {
public:
    void readBefore(Link& link, int address) { snapshot_.ReadConfigSnapshot(link, address, ConfigSnapshot::Before); }
    void readAfter(Link& link, int address) { snapshot_.ReadConfigSnapshot(link, address, ConfigSnapshot::After); }

    // The configuration values that differ between the two readings, in reading order. The
    // firmware identification and checksum are left out: they change with every upgrade.
    [[nodiscard]] QList<ConfigurationChange> changes() const;
    // Some read of either reading went unanswered: the comparison cannot be trusted.
    [[nodiscard]] bool incomplete() const;

    // Writes the old value of every restorable change, then has the sensor store them (action
    // "1"). Returns false when a write or the store went unanswered.
    [[nodiscard]] bool restore(Link& link, int address, const QList<ConfigurationChange>& changes) const;

    // "5 analogue output type: 1 -> 0"
    [[nodiscard]] static QString describe(const ConfigurationChange& change);

private:
    ConfigSnapshot snapshot_;
};

}  // namespace dunmere
