#pragma once
// dunmere-cli's calibration commands: the moisture and Brix fits on a file of points and the
// two calibration stores in the data folder (no bus needed), and writing a stored calibration
// to a sensor and its remote averaging (on the chosen bus).
//
//   fit-moisture FILE [--no-rules]
//   fit-brix FILE [--start default|A,B,C,D]
//   calibrations list|show NAME|export FILE [--brix]
//   write-calibration ADDR --moisture NAME|--brix NAME [--yes]
//   averaging ADDR start|stop

#include "CliOptions.h"

#include <QString>
#include <QStringList>

namespace dunmere::cli {

[[nodiscard]] bool IsCalibrationCommand(const QString& command);
[[nodiscard]] bool CalibrationCommandNeedsBus(const QString& command);
// "Usage: ..." and the description; empty for another command.
[[nodiscard]] QString CalibrationCommandHelp(const QString& command);
[[nodiscard]] QStringList CalibrationCommandUsages();
// Runs a calibration command to its exit status (ExitOk, ExitFailure, ExitUsage).
// Those that need no bus leave the session's bus closed.
struct Session;
[[nodiscard]] int RunCalibrationCommand(Session& session);

}  // namespace dunmere::cli
