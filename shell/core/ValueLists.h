#pragma once
// The items of the Sensor page's two value lists, and the stored choice brought back into a
// list that may have become shorter.

#include "link/Messages.h"

#include <QStringList>

namespace dunmere {

// Filtered and averaged unscaled, the second channel's unscaled value when the selected
// sensor has one, moisture, the three temperatures, and Brix where the sensor offers it.
[[nodiscard]] QStringList ValueListItems(const TextSource& texts, bool secondChannel, bool brixAvailable);

// The stored index when it names an item of a list of count items, else 0 (or -1 for an
// empty list): a refilled list never selects past its end.
[[nodiscard]] int RestoredListIndex(const QString& stored, int count);

}  // namespace dunmere
