#include "TrendReplies.h"

#include "sensor/FixedPoint.h"
#include "sensor/LiveReadings.h"

namespace dunmere {

namespace {

constexpr int FieldWidth = 10;

struct BlockField {
    int reading;
    int start;     // 0-based character position
    int decimals;  // as the sensor writes the field
};

constexpr std::array<BlockField, 6> BlockFields{{
    {0, 40, 2},
    {1, 50, 2},
    {3, 10, 2},
    {4, 20, 2},
    {5, 60, 1},
    {6, 70, 1},
}};

}  // namespace

QString TrendBlockCommand() { return QStringLiteral("P") + QChar(0x0C); }

std::array<QString, ReadingCount> DecodeTrendBlock(const QString& reply)
{
    std::array<QString, ReadingCount> values;
    for (const BlockField& f : BlockFields) {
        const double value = DecodeFixedPoint(reply.mid(f.start, FieldWidth), f.decimals);
        values[f.reading] = FormatDecimals(value, ReadingDecimals(f.reading));
    }
    return values;
}

QString ParameterReadingText(int reading, const QString& reply)
{
    const int parameter = reading == 2 ? 46 : reading == BrixReading ? 74 : 75;
    return LiveValueText(LiveValue{parameter, ReadingDecimals(reading), true}, reply);
}

QList<double> DecodeRawBlock(const QByteArray& payload)
{
    QList<double> samples;
    samples.reserve(payload.size() / 2);
    for (qsizetype i = 0; i + 1 < payload.size(); i += 2) {
        const int sample = (quint8(payload[i]) << 8) | quint8(payload[i + 1]);
        samples << sample / 100.0;
    }
    return samples;
}

QString RawBlockCommand(int channel) { return channel == 1 ? QStringLiteral("R100") : QStringLiteral("R117"); }

}  // namespace dunmere
