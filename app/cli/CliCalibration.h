#pragma once
// dunmere-cli's calibration commands: the moisture and Brix fits on a file of points, and the
// two calibration stores in the data folder. They need no bus.
//
//   fit-moisture FILE [--no-rules]
//   fit-brix FILE [--start default|A,B,C,D]
//   calibrations list|show NAME|export FILE [--brix]

#include <QString>
#include <QStringList>

namespace dunmere::cli {

[[nodiscard]] bool IsCalibrationCommand(const QString& command);
// "Usage: ..." and the description; empty for another command.
[[nodiscard]] QString CalibrationCommandHelp(const QString& command);
[[nodiscard]] QStringList CalibrationCommandUsages();
// Runs a calibration command to its exit status (ExitOk, ExitFailure, ExitUsage).
[[nodiscard]] int RunCalibrationCommand(const QString& command, const QStringList& args);

}  // namespace dunmere::cli
