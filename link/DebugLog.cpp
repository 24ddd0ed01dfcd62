#include "DebugLog.h"

#include "Clock.h"
#include "DataFolder.h"
#include "NumberRules.h"

#include <QFile>
#include <limits>

namespace dunmere {

namespace {

struct LogState {
    int threshold = qEnvironmentVariableIntValue("DUNMERE_DEBUG_LEVEL");
    QString path;
    qint32 counter = 0;
    qint64 lastLineMs = 0;
};

LogState& state()
{
    static LogState s;
    return s;
}

}  // namespace

int DebugThreshold() { return state().threshold; }
void SetDebugThreshold(int level) { state().threshold = level; }
void SetDebugLogPath(const QString& path) { state().path = path; }

void DebugLog(const QString& text, int level)
{
    LogState& s = state();
    if (level > s.threshold)
        return;
    const qint64 now = Clock::current().nowMs();
    const double seconds = double(now - s.lastLineMs) / 1000.0;
    s.lastLineMs = now;
    s.counter = s.counter == std::numeric_limits<qint32>::max() ? 0 : s.counter + 1;

    QString secondsText = QString::number(seconds, 'f', 3);
    if (DecimalComma())
        secondsText.replace(QLatin1Char('.'), QLatin1Char(','));
    const QString line = QString::number(s.counter) + QLatin1Char('+') + secondsText + QLatin1Char(',') + text
        + QStringLiteral("\r\n");

    // Opened and closed per line so every line is on disk even if the program dies; a log
    // that cannot be written must never stop the caller.
    QFile file(s.path.isEmpty() ? DataFolder() + QStringLiteral("Dunmere-Debug-LogFile.csv") : s.path);
    if (file.open(QIODevice::Append))
        file.write(line.toUtf8());
}

}  // namespace dunmere
