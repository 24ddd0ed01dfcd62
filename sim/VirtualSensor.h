#pragma once
// One simulated sensor: who it is (identity, name, bus address, type, firmware), what it holds
// (parameters, the firmware being received, the automatic calibration) and what it measures.
// answer() gives its reply to one command addressed to it.

#include "AutoCalibration.h"
#include "FirmwareReceiver.h"
#include "LiveModel.h"
#include "ParameterStore.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace dunmere::sim {

struct SensorSetup {
    int address = 1;
    int typeCode = 89;
    QByteArray identity;      // 8 characters; made from the address when empty
    QByteArray name;          // up to 20 characters
    QByteArray firmwareText;  // "QX0089 v1.12"; made from the type code when empty
    QByteArray checksumText;  // made from the firmware text when empty
    double material = 38.0;   // unscaled value of the material in front of the sensor
    int frameCode = 2;        // the FrameCode of its replies
};

class VirtualSensor {
public:
    explicit VirtualSensor(const SensorSetup& setup);

    [[nodiscard]] int address() const { return address_; }
    void setAddress(int address) { address_ = address; }
    [[nodiscard]] const QByteArray& identity() const { return identity_; }
    [[nodiscard]] const QByteArray& name() const { return name_; }
    void setName(const QByteArray& name);
    [[nodiscard]] int typeCode() const { return typeCode_; }
    [[nodiscard]] const QByteArray& firmwareText() const { return firmwareText_; }
    [[nodiscard]] const QByteArray& checksumText() const { return checksumText_; }
    [[nodiscard]] int frameCode() const { return frameCode_; }
    void setFrameCode(int frameCode) { frameCode_ = frameCode; }

    ParameterStore& parameters() { return parameters_; }
    LiveModel& live() { return live_; }
    FirmwareReceiver& firmware() { return firmware_; }
    AutoCalibration& autoCalibration() { return autoCalibration_; }

    void setMaterial(double unscaled) { live_.setMaterial(unscaled); }
    // The digital input wired for average/hold (when parameter 9 selects that use).
    void setAveragingInput(bool active);
    // Status flag characters (parameter 69); the first one also shows averaging in progress.
    void setStatusFlags(const QByteArray& flags) { statusFlags_ = flags; }
    [[nodiscard]] QByteArray statusFlags() const;
    [[nodiscard]] bool inOutputTest() const { return outputTest_; }
    void enterOutputTest() { outputTest_ = true; }

    // The reply to one command addressed to this sensor; nothing when it stays silent.
    [[nodiscard]] std::optional<QByteArray> answer(const QByteArray& command);

    // Identity, one blank, the name padded with blanks to 20 characters.
    [[nodiscard]] QByteArray identification() const;
    // A parameter's value as the sensor answers it ("?" when it has none).
    [[nodiscard]] QByteArray readParameter(int number);
    // "!" when written, "?" when the sensor has no such writable parameter or refuses the value.
    [[nodiscard]] QByteArray writeParameter(int number, const QByteArray& value);
    void factoryReset();
    // After an upgrade: takes the received image's firmware (when whole) and the stored
    // configuration, and is deaf for RestartMs.
    void restart();
    [[nodiscard]] bool restarting() const;
    // Parameters a whole new image sets back to their factory values when it starts.
    void setUpgradeResets(const QList<int>& parameters) { upgradeResets_ = parameters; }
    // A sensor whose firmware refuses the restart command: it answers "?" and runs on.
    void setRefusesRestart(bool on) { refusesRestart_ = on; }
    [[nodiscard]] bool refusesRestart() const { return refusesRestart_; }
    // Brings the measurement up to the clock's present.
    void updateLive();

    static constexpr qint64 RestartMs = 3000;

private:
    [[nodiscard]] QByteArray liveParameter(int number) const;

    int address_;
    int typeCode_;
    QByteArray identity_;
    QByteArray name_;
    QByteArray firmwareText_;
    QByteArray checksumText_;
    int frameCode_;
    ParameterStore parameters_;
    LiveModel live_;
    FirmwareReceiver firmware_;
    AutoCalibration autoCalibration_;
    QByteArray statusFlags_ = QByteArray(16, '0');
    bool outputTest_ = false;
    bool averagingInput_ = false;
    qint64 deafUntil_ = -1;
    QList<int> upgradeResets_;
    bool refusesRestart_ = false;
};

}  // namespace dunmere::sim
