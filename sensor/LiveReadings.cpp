#include "LiveReadings.h"

#include "FixedPoint.h"
#include "SensorModel.h"

#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/Transport.h"
#include "link/ValueFormat.h"

#include <array>

namespace dunmere {

namespace {

constexpr double MissingValue = -99.0;
constexpr int SecondChannelIndex = 2;

// In list order without the second channel's item.
constexpr std::array<LiveValue, 8> CommonValues{{
    {64, 2, false},
    {65, 2, false},
    {61, 1, false},
    {62, 1, false},
    {66, 1, false},
    {67, 1, false},
    {75, 1, true},
    {74, 1, true},
}};
constexpr LiveValue SecondChannelValue{46, 2, false};

QString readOne(Link& link, int address, int index, bool secondChannel, bool& failed)
{
    const auto value = LiveValueFor(index, secondChannel);
    if (!value)
        return {};
    const QString reply = link.ReadParameter(address, value->parameter);
    failed = failed || reply == FailureText;
    return LiveValueText(*value, reply);
}

}  // namespace

std::optional<LiveValue> LiveValueFor(int index, bool secondChannel)
{
    if (secondChannel) {
        if (index == SecondChannelIndex)
            return SecondChannelValue;
        if (index > SecondChannelIndex)
            --index;
    }
    if (index < 0 || index >= int(CommonValues.size()))
        return std::nullopt;
    return CommonValues[index];
}

QString LiveValueText(const LiveValue& value, const QString& reply)
{
    const double decoded = DecodeFixedPoint(FormatNumber(reply), 2);
    if (value.dashesWhenMissing && decoded == MissingValue)
        return QStringLiteral("---");
    return FormatDecimals(decoded, value.decimals);
}

LiveReading ReadLiveValues(Link& link, int address, int valueIndex, int tempIndex, bool secondChannel)
{
    LiveReading out;
    if (link.state().ProgramClosing)
        return out;
    out.reading = readOne(link, address, valueIndex, secondChannel, out.failed);
    if (link.state().ProgramClosing)
        return out;
    out.temp = readOne(link, address, tempIndex, secondChannel, out.failed);
    return out;
}

void ReadSensors(Link& link, SensorModel& model, int valueIndex, int tempIndex, bool secondChannel)
{
    for (int r = 0; r < model.SensorRowCount(); ++r) {
        DebugLog(QStringLiteral("Reading value for sensor %1").arg(r), 17);
        const LiveReading values = ReadLiveValues(link, model.SensorRows(r), valueIndex, tempIndex, secondChannel);
        // A closing program leaves the labels as they were.
        if (link.state().ProgramClosing)
            return;
        model.setReadings(r, values.reading, values.temp);
    }
}

}  // namespace dunmere
