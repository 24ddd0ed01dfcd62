#include "SelectedSensor.h"

#include "sensor/SensorModel.h"

namespace dunmere {

PageSensor PageSensorOf(const SensorRecord& record, int address, bool autoCalSeen)
{
    PageSensor s;
    s.address = address >= FirstBusAddress && address <= LastBusAddress ? address : 0;
    s.typeCode = record.TypeCode;
    s.firmwareVersion = record.FirmwareVersion;
    s.identity = record.Identity;
    s.name = record.Name;
    s.firmwareText = record.FirmwareText;
    s.autoCalSeen = autoCalSeen;
    return s;
}

PageSensor SelectedPageSensor(const SensorModel& model)
{
    return PageSensorOf(model.selectedRecord(), model.selectedAddress(), model.AutoCalSeen);
}

}  // namespace dunmere
