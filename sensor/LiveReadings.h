#pragma once
// The live values of the Sensor page's rows: which parameter each item of the value lists
// reads, and how its reply is shown.

#include <QString>
#include <optional>

namespace dunmere {

class Link;
class SensorModel;

struct LiveValue {
    int parameter;
    int decimals;            // display pattern "0.00" (2) or "0.0" (1)
    bool dashesWhenMissing;  // Brix and material temperature show "---" without a value
};

// The value behind list item index. The second channel's unscaled value takes index 2 and
// moves the later items down by one; the choice follows the selected sensor for every row.
// Nothing for an index that names no item.
[[nodiscard]] std::optional<LiveValue> LiveValueFor(int index, bool secondChannel);

// A reply as the row shows it: through the number formatter, decoded with two decimals, then
// in the value's pattern; a missing value is -99 in that pattern, or "---".
[[nodiscard]] QString LiveValueText(const LiveValue& value, const QString& reply);

// Reads the value and temperature items for the sensor at address and gives their texts
// (empty for an index that names no item).
struct LiveReading {
    QString reading;
    QString temp;
    bool failed = false;  // a read ended with the failure value "-99"
};
[[nodiscard]] LiveReading ReadLiveValues(Link& link, int address, int valueIndex, int tempIndex, bool secondChannel);

// Both values for every row in use, into the rows' labels.
void ReadSensors(Link& link, SensorModel& model, int valueIndex, int tempIndex, bool secondChannel);

}  // namespace dunmere
