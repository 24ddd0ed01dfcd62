#include "DataLog.h"

#include "link/DebugLog.h"
#include "link/Messages.h"
#include "sensor/FixedPoint.h"

#include <QFile>
#include <QFileInfo>

namespace dunmere {

namespace {

constexpr int FlushEveryTicks = 5;
constexpr char Tab = '\t';
const QString CrLf = QStringLiteral("\r\n");

QByteArray utf16le(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

}  // namespace

DataLog::DataLog(const TextSource& texts, Messages* messages) : texts_(texts), messages_(messages) {}

bool DataLog::append(const QString& text)
{
    if (path_.isEmpty() || QFileInfo(path_).isDir())
        return false;
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const qint64 before = file.size();
    const QByteArray bytes = utf16le(text);
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    // Nothing half-written: the next flush writes the whole text again.
    file.resize(before);
    return false;
}

void DataLog::restartTimes()
{
    LogStart.reset();
    LogStartPending = true;
    Logging = false;
    RawSampleTime = 0.0;
}

DataLog::HeaderOutcome DataLog::WriteLogHeader(const LogHeaderSetup& setup)
{
    auto t = [&](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    const QString stop = QStringLiteral(" - ") + t("LangLogging") + QLatin1Char(' ') + t("LangStop");
    if (QFileInfo(path_).fileName().isEmpty()) {
        if (messages_)
            messages_->show(t("LangInvalid") + QLatin1Char(' ') + t("LangName") + stop, MessageButtons::Ok);
        return HeaderOutcome::EmptyName;
    }
    setup_ = setup;
    if (!append(LogHeaderText(setup_, texts_))) {
        DebugLog(QStringLiteral("Log header could not be written to ") + path_, 10);
        if (messages_)
            messages_->show(t("LangFile") + QLatin1Char(' ') + t("LangError") + stop, MessageButtons::Ok);
        return HeaderOutcome::OpenFailed;
    }
    buffer_.clear();
    ticks_ = 0;
    failing_ = false;
    headerPending_ = false;
    restartTimes();
    return HeaderOutcome::Written;
}

void DataLog::appendLine(const QString& line) { buffer_ += line + CrLf; }

DataLog::FlushOutcome DataLog::LogTimerTick()
{
    if (++ticks_ < FlushEveryTicks)
        return FlushOutcome::Nothing;
    ticks_ = 0;
    return flush();
}

DataLog::FlushOutcome DataLog::flush()
{
    // The file went away (or a folder took its name): a fresh header goes first, and the
    // times count from zero again under it.
    if (headerPending_ || !QFileInfo(path_).isFile()) {
        setup_.start = QDateTime::currentDateTime();
        headerPending_ = !append(LogHeaderText(setup_, texts_));
        if (!headerPending_)
            restartTimes();
    }
    const bool written = !headerPending_ && (buffer_.isEmpty() || append(buffer_));
    if (written)
        buffer_.clear();
    else
        DebugLog(QStringLiteral("Log flush failed; lines kept: ") + path_, 10);
    const bool wasFailing = failing_;
    failing_ = !written;
    if (written)
        return wasFailing ? FlushOutcome::Recovered : FlushOutcome::Written;
    return wasFailing ? FlushOutcome::FailedAgain : FlushOutcome::Failed;
}

DataLog::FlushOutcome DataLog::CloseLogFile()
{
    const bool pending = !buffer_.isEmpty() || headerPending_;
    const FlushOutcome outcome = pending ? flush() : FlushOutcome::Nothing;
    if (failing_)
        return outcome;
    Logging = false;
    LogStartPending = false;
    ticks_ = 0;
    return outcome;
}

QString DataLog::ElapsedText(qint64 ms) const
{
    const qint64 total = ms / 1000;
    return QStringLiteral("%1 h %2 m %3 s ").arg(total / 3600).arg(total / 60 % 60).arg(total % 60);
}

QString LogSecondsText(double seconds, int decimals) { return FormatDecimals(seconds, decimals); }

QString NormalLogGroup(const QString& time, const QString& seconds, const std::array<QString, ReadingCount>& values,
                       const ReadingFlags& ticked)
{
    QString group = time + Tab + seconds + Tab;
    for (int k = 0; k <= BrixReading; ++k) {
        if (ticked[k])
            group += values[k] + Tab;
    }
    return group + Tab;
}

QString RawLogLine(const QString& time, double sampleTime, std::optional<double> raw1, std::optional<double> raw2,
                   const ReadingFlags& ticked, int groupIndex, int groupCount)
{
    const int width = TickedCount(ticked) + 3;
    QString line;
    for (int g = 0; g < groupCount; ++g) {
        if (g != groupIndex) {
            line += QString(width, QLatin1Char(Tab));
            continue;
        }
        line += time + Tab + LogSecondsText(sampleTime, 2) + Tab;
        if (ticked[RawReading1])
            line += (raw1 ? FormatDecimals(*raw1, 2) : QString()) + Tab;
        if (ticked[RawReading2])
            line += (raw2 ? FormatDecimals(*raw2, 2) : QString()) + Tab;
        line += Tab;
    }
    return line;
}

}  // namespace dunmere
