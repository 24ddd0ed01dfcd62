#pragma once
// What a restore writes, parameter by parameter, and how that differs from what a sensor (or
// another file) holds: the check before a configuration is restored onto a sensor.

#include "ConfigurationFile.h"
#include "ConfigurationWriter.h"

#include <QList>
#include <QString>

namespace dunmere {

class Link;

struct PlannedWrite {
    int id;         // the file value
    int parameter;
    QString value;  // converted text, as the file gives it
};

// The restore's writes in their order. The coefficients go where the file's section heading
// says they were read from; the factory references only onto the sensor the file came from.
[[nodiscard]] QList<PlannedWrite> RestorePlan(const ConfigurationFileData& data, const ConvertedValues& converted,
                                              bool sameSensor);

struct ValueDifference {
    int parameter;
    QString label;     // in the language in use
    QString restored;  // what the restore would write
    QString present;   // what is there now; empty when the other side lacks the value
};

// The values a restore of `from` would change on `onto`, by parameter after conversion, numbers
// compared by value. Measured temperatures are no configuration and are left out.
[[nodiscard]] QList<ValueDifference> CompareConfigurations(const ConfigurationFileData& from, const ConvertedValues& fromValues,
                                                           const ConfigurationFileData& onto, const ConvertedValues& ontoValues,
                                                           bool sameSensor, const TextSource& texts);

// "N values differ: label, label, ..."
[[nodiscard]] QString DifferenceSummary(const QList<ValueDifference>& differences);

// A sensor's configuration read as a file would hold it, without writing one.
[[nodiscard]] ReadOutcome ReadSensorConfiguration(Link& link, const TextSource& texts, const SavedSensor& sensor,
                                                  const SensorLayout& layout, int language,
                                                  const std::function<void(int)>& progress = {});

}  // namespace dunmere
