#pragma once
// The pages' view of the sensor selected on the Sensor page.

#include "PagesContext.h"

namespace dunmere {

class SensorModel;
struct SensorRecord;

// Address 0 when the selected row is empty.
[[nodiscard]] PageSensor SelectedPageSensor(const SensorModel& model);
[[nodiscard]] PageSensor PageSensorOf(const SensorRecord& record, int address, bool autoCalSeen);

}  // namespace dunmere
