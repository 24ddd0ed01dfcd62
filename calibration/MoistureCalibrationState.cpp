#include "MoistureCalibrationState.h"

#include "link/Link.h"

namespace dunmere {

void MoistureCalibrationState::averagingClicked()
{
    averagingOn = !averagingOn;
    if (averagingOn)
        startAveragingRequest = true;
    else
        stopAveragingRequest = true;
}

bool MoistureCalibrationState::closeRequested()
{
    if (!opened)
        return true;
    exitPending = true;
    return false;
}

void MoistureCalibrationState::sensorChanged(Link& link, int newAddress)
{
    changingSensor = true;
    address = newAddress;
    digitalAveraging = ReadDigitalAveraging(link, address);
    readCalibrationRequest = true;
    changingSensor = false;
}

MoistureTickReport MoistureCalibrationState::tick(Link& link, const TextSource& texts, bool hasCalibrations,
                                                  const MoistureWriteValues& values)
{
    MoistureTickReport report;
    const bool closing = link.state().ProgramClosing;
    if (!noSensor && address > 0 && !changingSensor && !closing) {
        if (startAveragingRequest) {
            startAveragingRequest = false;
            (void)SendAveraging(link, address, true);
            report.averagingLabel = AveragingLabel::Averaging;
        } else if (stopAveragingRequest) {
            stopAveragingRequest = false;
            (void)SendAveraging(link, address, false);
            report.enableSensorList = true;
            report.averagingLabel = AveragingLabel::Hold;
        }
        if (digitalAveraging)
            report.averagingLabel = ReadAveragingInput(link, address) ? AveragingLabel::Avg : AveragingLabel::Hold;
        report.unscaled = ReadUnscaledValues(link, address);
        if (readCalibrationRequest) {
            readCalibrationRequest = false;
            report.sensorCalibration = ReadSensorCalibration(link, address);
        }
        if (writeRequest) {
            writeRequest = false;
            link.state().WriteErrorFlag = false;
            report.write = WriteMoistureCalibration(link, address, values.B, values.C, values.SSD, texts);
            if (report.write->outcome != CalibrationWriteOutcome::NotSent)
                report.sensorCalibration = report.write->readBack;
        }
    }
    report.recompute = hasCalibrations && !exitPending;
    report.leave = exitPending;
    return report;
}

}  // namespace dunmere
