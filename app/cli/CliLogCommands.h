#pragma once
// dunmere-cli's data logging commands: log (the data window's log file, header included),
// sweep (the resonator test's readings) and log-to-csv.

#include <QString>
#include <QStringList>
#include <functional>

namespace dunmere {
class Link;
class Messages;
class SensorBus;
class SensorModel;
class TextSource;
}  // namespace dunmere

namespace dunmere::cli {

struct LogCommandSession {
    Link& link;
    SensorModel& model;
    SensorBus& sensors;
    const TextSource& texts;
    Messages& messages;
    std::function<int()> openBus;  // ExitOk (0) or the status to end with
    bool brixEdition = false;
};

// Each returns the exit status; a usage problem leaves its reason in `usage` (and the status
// is then ExitUsage).
int runLog(LogCommandSession& session, const QStringList& args, QString& usage);
int runSweep(LogCommandSession& session, const QStringList& args, QString& usage);
int runLogToCsv(const QStringList& args, QString& usage);

}  // namespace dunmere::cli
