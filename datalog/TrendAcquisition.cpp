#include "TrendAcquisition.h"

#include "TrendGraph.h"
#include "TrendReplies.h"

#include "link/Clock.h"
#include "link/Link.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"

#include <QDateTime>
#include <cmath>

namespace dunmere {

namespace {

constexpr int RawReplyTimeoutMs = 1500;
constexpr int RawIntervalMs = 1000;
constexpr int RawWindowSeconds = 20;
constexpr int NormalWindowSamples = 100;
constexpr int PollPauseMs = 2;
constexpr double RawSampleSeconds = 0.04;

QString nowText() { return LogTimeText(QTime::currentTime()); }

}  // namespace

TrendAcquisition::TrendAcquisition(Link& link, DataLog& log) : link_(link), log_(log) {}

void TrendAcquisition::setRows(const QList<int>& addresses, int selectedRow)
{
    rows_ = addresses.mid(0, TrendStore::Rows);
    selectedRow_ = qBound(0, selectedRow, qMax(0, int(rows_.size()) - 1));
}

bool TrendAcquisition::rawMode() const
{
    return ticked[RawReading1] || ticked[RawReading2] || IsRawReading(graphedReading);
}

bool TrendAcquisition::runDueTurn()
{
    if (rawMode()) {
        RawTurn();
        return true;
    }
    if (Clock::current().nowMs() > NextDue) {
        NormalTurn();
        return true;
    }
    return false;
}

qint64 TrendAcquisition::elapsedSeconds() const
{
    if (!TimeOrigin)
        return 0;
    return Nearest((Clock::current().nowMs() - *TimeOrigin) / 1000.0);
}

int TrendAcquisition::windowLength() const
{
    return rawMode() ? IntervalSeconds * RawWindowSeconds : IntervalSeconds * NormalWindowSamples;
}

bool TrendAcquisition::wantsReading(int reading) const
{
    // Brix is read only where it is offered: elsewhere the sensor has no such parameter.
    if (reading == BrixReading && !brixAvailable_)
        return false;
    return !log_.Logging || ticked[reading];
}

void TrendAcquisition::refreshLogTime(qint64 now)
{
    logTime_ = log_.Logging && log_.LogStart ? log_.ElapsedText(now - *log_.LogStart) : QString();
}

void TrendAcquisition::pollRow(int row, int address, QString& line, const QString& time, const QString& seconds)
{
    std::array<QString, ReadingCount> values = DecodeTrendBlock(link_.SendCommand(address, TrendBlockCommand()));
    Pause(PollPauseMs);
    for (int reading : {7, BrixReading, 2}) {
        values[reading] = wantsReading(reading) ? ParameterReadingText(reading, link_.ReadParameter(address, reading == 7 ? 75 : reading == 2 ? 46 : 74))
                                                : QStringLiteral("---");
    }
    for (int k = 0; k < ReadingCount; ++k)
        trend_.set(row, k, values[k].isEmpty() ? NoTrendValue : values[k]);
    const QString& graphed = values[graphedReading];
    TrendRowLabel& label = labels_[row];
    label.value = graphed;
    label.nameVisible = label.valueVisible = !graphed.isEmpty();
    line += NormalLogGroup(time, seconds, values, ticked);
}

void TrendAcquisition::NormalTurn()
{
    auto& clock = Clock::current();
    const qint64 now = clock.nowMs();
    NextDue = now + IntervalSeconds * 1000 - 1;
    if (ClearRequested) {
        trend_.clear();
        ClearRequested = false;
    }
    if (!TimeOrigin)
        TimeOrigin = now - IntervalSeconds * 1000;
    if (log_.LogStartPending) {
        log_.Logging = true;
        log_.LogStartPending = false;
    }
    if (!log_.LogStart)
        log_.LogStart = now;
    trend_.setSampleTime(QDateTime::currentDateTime());
    QString line;
    const QString time = nowText();
    const QString seconds = LogSecondsText((now - *log_.LogStart) / 1000.0);
    for (int row = 0; row < rows_.size(); ++row) {
        if (link_.state().ProgramClosing)
            return;
        pollRow(row, rows_[row], line, time, seconds);
    }
    if (log_.Logging) {
        log_.appendLine(line);
        refreshLogTime(clock.nowMs());
    }
    trend_.advance();
}

bool TrendAcquisition::channelWanted(int channel) const
{
    const int reading = channel == 1 ? RawReading1 : RawReading2;
    return ticked[reading] || graphedReading == reading;
}

void TrendAcquisition::RawTurn()
{
    for (int row = 0; row < TrendStore::Rows; ++row) {
        if (row == selectedRow_)
            continue;
        labels_[row].value.clear();
        labels_[row].nameVisible = labels_[row].valueVisible = false;
    }
    labels_[selectedRow_].nameVisible = true;
    auto& clock = Clock::current();
    const qint64 now = clock.nowMs();
    if (now <= NextDue || rows_.isEmpty())
        return;
    if (!log_.LogStart)
        log_.LogStart = now;
    NextDue = now + RawIntervalMs;
    if (log_.LogStartPending) {
        log_.Logging = true;
        log_.LogStartPending = false;
        log_.RawSampleTime = 0.0;
    }
    if (ClearRequested) {
        trend_.clear();
        raw_[0].clear();
        raw_[1].clear();
        ClearRequested = false;
        TimeOrigin.reset();
    }
    if (!TimeOrigin)
        TimeOrigin = now - 1999;

    const int address = rows_[selectedRow_];
    std::array<std::optional<QList<double>>, 2> blocks;
    for (int channel = 1; channel <= 2; ++channel) {
        if (!channelWanted(channel) || link_.state().ProgramClosing)
            continue;
        link_.Net_Send(address, 1, RawBlockCommand(channel));
        int replyAddress = -1, frameCode = -1;
        QByteArray payload;
        link_.Net_ReceiveBytes(RawReplyTimeoutMs, replyAddress, frameCode, payload);
        if (replyAddress < 0)
            continue;
        const QList<double> samples = DecodeRawBlock(payload);
        for (double s : samples)
            raw_[channel - 1].append(s);
        if (!samples.isEmpty())
            rawLatest_[channel - 1] = samples.last();
        blocks[channel - 1] = samples;
    }

    if (log_.Logging && (blocks[0] || blocks[1])) {
        const qsizetype count = qMax(blocks[0] ? blocks[0]->size() : 0, blocks[1] ? blocks[1]->size() : 0);
        const QString time = nowText();
        auto sampleOf = [](const std::optional<QList<double>>& block, qsizetype i) {
            return block && i < block->size() ? std::optional<double>(block->at(i)) : std::nullopt;
        };
        for (qsizetype i = 0; i < count; ++i) {
            log_.appendLine(RawLogLine(time, log_.RawSampleTime, sampleOf(blocks[0], i), sampleOf(blocks[1], i), ticked,
                                       selectedRow_, int(rows_.size())));
            log_.RawSampleTime = std::nearbyint((log_.RawSampleTime + RawSampleSeconds) * 100.0) / 100.0;
        }
    }

    const int graphedChannel = graphedReading == RawReading2 ? 2 : 1;
    TrendRowLabel& label = labels_[selectedRow_];
    if (IsRawReading(graphedReading) && blocks[graphedChannel - 1] && rawLatest_[graphedChannel - 1]) {
        label.value = FormatDecimals(*rawLatest_[graphedChannel - 1], 2);
        label.valueVisible = true;
    } else if (IsRawReading(graphedReading) && !blocks[graphedChannel - 1] && brixAvailable_) {
        label.value.clear();
        label.valueVisible = false;
    }
    if (log_.Logging)
        refreshLogTime(clock.nowMs());
    else
        log_.LogStart.reset();
}

}  // namespace dunmere
