#include "ValueFormat.h"

#include "Clock.h"
#include "NumberRules.h"

#include <cmath>
#include <limits>

namespace dunmere {

namespace {

constexpr double failureValue = -99.0;

// Four decimals, halves away from zero on the number as written: the product's binary noise
// (12.34565 * 10000 = 123456.49999...) is dropped at 15 significant digits first.
double roundToFourDecimals(double value)
{
    if (std::abs(value) >= 1e15)
        return value;  // no fractional digits left to round
    const double scaled = QString::number(value * 10000.0, 'g', 15).toDouble();
    return std::round(scaled) / 10000.0;
}

std::array<QColor, 6>& colourTable()
{
    static std::array<QColor, 6> table;
    return table;
}

}  // namespace

QString FormatNumber(const QString& text)
{
    bool ok = false;
    const double value = ToNumber(text, &ok);
    if (!ok || value == failureValue)
        return {};
    return FormatNumberValue(value);
}

QString FormatNumberValue(double value)
{
    if (!std::isfinite(value))
        return {};
    const double rounded = roundToFourDecimals(value);
    // A value that rounds to zero shows no sign.
    QString formatted = QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', 4);
    for (int spare = 0; spare < 2 && formatted.endsWith(u'0'); ++spare)
        formatted.chop(1);
    if (DecimalComma())
        formatted.replace(u'.', u',');
    return formatted;
}

int ParseIndex(const QString& text, int limit)
{
    bool ok = false;
    const double value = ToNumber(text, &ok);
    if (!ok)
        return 0;
    // Halves to even, as the conversion to a 16-bit integer does.
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()))
        return 0;
    const int index = static_cast<int>(whole);
    return index >= 0 && index < limit ? index : 0;
}

void Pause(int ms)
{
    if (ms > 0)
        Clock::current().sleep(ms);
}

const std::array<QColor, 6>& ColourTable() { return colourTable(); }

void FillColourTable()
{
    colourTable() = {QColor(255, 0, 0), QColor(0, 0, 255),     QColor(0, 128, 0),
                     QColor(128, 128, 255), QColor(255, 0, 255), QColor(0, 0, 0)};
}

quint32 PackedColour(const QColor& colour)
{
    return static_cast<quint32>(colour.red()) + 256u * static_cast<quint32>(colour.green())
        + 65536u * static_cast<quint32>(colour.blue());
}

}  // namespace dunmere
