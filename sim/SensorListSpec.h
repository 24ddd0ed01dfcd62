#pragma once
// The sensor list of the command line: "1:89,2:77,5:45", each entry address:type with an
// optional :IDENTITY and :Name ("3:89:Q8900017:Mixer 2"). And the demonstration bus.

#include "VirtualSensor.h"

#include <QList>
#include <QString>

namespace dunmere::sim {

class SimBus;

struct SensorListResult {
    QList<SensorSetup> sensors;
    QString error;  // empty when the list was good
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

[[nodiscard]] SensorListResult parseSensorList(const QString& spec);

// Three sensors of different types, with identities, names and firmware of their own.
[[nodiscard]] QList<SensorSetup> demoSensors();
// Adds the sensors to the bus; false when the bus had no room for all of them.
[[nodiscard]] bool populate(SimBus& bus, const QList<SensorSetup>& sensors);
void buildDemoBus(SimBus& bus);
// The bus of --simulate, the same in every program: the demonstration bus for an empty spec,
// else the listed sensors. False, with the reason, when spec is not a sensor list that fits.
[[nodiscard]] bool buildSimulatedBus(SimBus& bus, const QString& spec, QString& error);

}  // namespace dunmere::sim
