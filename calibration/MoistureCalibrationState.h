#pragma once
// The moisture calibration window's timers, requests and flags in one place, and what one
// tick of its once-a-second timer does with them. Buttons only set requests here; the tick
// talks to the sensor and reports what the window is to show.

#include "MoistureSensorProcedures.h"

#include <optional>

namespace dunmere {

class Link;
class TextSource;

enum class AveragingLabel { Unchanged, Averaging, Avg, Hold };  // LangAveraging/LangAvg green, LangHold red

struct MoistureTickReport {
    std::optional<std::pair<QString, QString>> unscaled;  // TextFiltUS, TextAvgUS
    std::optional<SensorCalibration> sensorCalibration;   // LblCurrentB, C, SSD
    AveragingLabel averagingLabel = AveragingLabel::Unchanged;
    bool enableSensorList = false;
    std::optional<CalibrationWrite> write;  // a write ran: show its message, enable the controls
    bool recompute = false;                 // run the fit
    bool leave = false;                     // close the window now
};

// What the window passes to a tick that writes: the fit's B and C and the SSD box.
struct MoistureWriteValues {
    QString B;
    QString C;
    QString SSD;
};

class MoistureCalibrationState {
public:
    bool noSensor = false;  // demonstration mode: no polling, no writing
    int address = 0;        // the chosen sensor
    bool initialising = false;
    bool changingSensor = false;
    bool averagingOn = false;
    bool startAveragingRequest = false;
    bool stopAveragingRequest = false;
    bool digitalAveraging = false;
    bool readCalibrationRequest = true;
    bool writeRequest = false;
    bool exitPending = false;
    bool opened = false;  // the window finished opening
    int currentRow = -1;

    // CmdAvg: turns averaging on or off; the next tick sends it. The list of sensors stays
    // disabled while averaging is on.
    void averagingClicked();
    // A close request: true when the window may close at once (it never finished opening);
    // otherwise the next tick leaves.
    [[nodiscard]] bool closeRequested();
    // A sensor change: checks the averaging mode of the new sensor and asks for its calibration.
    void sensorChanged(Link& link, int newAddress);

    // One tick. hasCalibrations: the store holds at least one (the fit has rows to read).
    [[nodiscard]] MoistureTickReport tick(Link& link, const TextSource& texts, bool hasCalibrations,
                                          const MoistureWriteValues& values);
};

}  // namespace dunmere
