#pragma once
// dunmere-cli's whole-bus commands for plants with many sensors, on the configuration file
// procedures:
//
//   backup DIR   every sensor found saved to DIR/<identity>.txt
//   check DIR    every sensor found compared with its saved file: equal, differs (with the
//                values), no saved file; then the files whose sensor no bus had
//
// Several --tcp and --serial buses are taken in turn, each line starting with its bus.

#include <QStringList>

namespace dunmere::cli {

class CliOutput;
struct AcrossBuses;
struct Session;

[[nodiscard]] int Backup(Session& s, const QStringList& args);
[[nodiscard]] int Check(Session& s, const QStringList& args);
// After check has run on every bus: a line for each file in dir whose sensor was not found
// ("-" where the address, and with several buses the bus, would stand).
[[nodiscard]] int ReportSavedButNotFound(const QString& dir, const AcrossBuses& across, CliOutput& output,
                                         bool severalBuses);

}  // namespace dunmere::cli
