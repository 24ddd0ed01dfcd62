#include "LiveReplies.h"

#include "VirtualSensor.h"

#include <cmath>

namespace dunmere::sim {

namespace {

constexpr int ColumnWidth = 10;

// Left-aligned and padded with blanks, so that the column's value ends at the first blank.
QByteArray column(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals).leftJustified(ColumnWidth, ' ', true);
}

double parameterOr(VirtualSensor& sensor, int number, double fallback)
{
    return sensor.parameters().has(number) ? sensor.parameters().number(number) : fallback;
}

double compensatedFrequency(VirtualSensor& s)
{
    const double air = parameterOr(s, 11, 880), water = parameterOr(s, 10, 720);
    return air - s.live().filteredUnscaled() / 100.0 * (air - water);
}

double compensatedAmplitude(VirtualSensor& s)
{
    const double air = parameterOr(s, 40, 3200), water = parameterOr(s, 39, 1200);
    return air - s.live().filteredUnscaled() / 100.0 * (air - water);
}

double brix(VirtualSensor& s)
{
    const auto& p = s.parameters();
    return (p.number(26) * s.live().filteredUnscaled() + p.number(27) * s.live().materialTemperature() + p.number(28))
        * p.number(25) / 100.0;
}

}  // namespace

double moistureOf(VirtualSensor& sensor, double unscaled)
{
    const auto& p = sensor.parameters();
    return p.number(1) * unscaled * unscaled + p.number(2) * unscaled + p.number(3) - p.number(4);
}

QByteArray liveParameterText(VirtualSensor& s, int number)
{
    const LiveModel& m = s.live();
    auto text = [](double v) { return QByteArray::number(v, 'f', 2); };
    switch (number) {
    case 46: return text(m.filteredUnscaled(2));
    case 61: return text(moistureOf(s, m.filteredUnscaled()));
    case 62: return text(moistureOf(s, m.averageUnscaled()));
    case 64: return text(m.filteredUnscaled());
    case 65: return text(m.averageUnscaled());
    case 66: return text(m.electronicsTemperature());
    case 67: return text(m.resonatorTemperature());
    case 74: return text(brix(s));
    case 75: return text(m.materialTemperature());
    default: return {};
    }
}

QByteArray liveBlock(VirtualSensor& s)
{
    const LiveModel& m = s.live();
    const double frequency = compensatedFrequency(s), amplitude = compensatedAmplitude(s);
    return column(frequency + 0.35 * (m.resonatorTemperature() - 25.0), 2)
        + column(6.0 + 0.08 * m.filteredUnscaled(), 2)
        + column(std::round(amplitude + 4.0 * (m.electronicsTemperature() - 25.0)), 0)
        + column(2048, 0)
        + column(m.electronicsTemperature(), 2)
        + column(m.resonatorTemperature(), 2)
        + column(frequency, 2)
        + column(std::round(amplitude), 0);
}

QByteArray trendBlock(VirtualSensor& s)
{
    const LiveModel& m = s.live();
    return column(moistureOf(s, m.rawUnscaled()), 2) + column(moistureOf(s, m.filteredUnscaled()), 2)
        + column(moistureOf(s, m.averageUnscaled()), 2) + column(m.rawUnscaled(), 2)
        + column(m.filteredUnscaled(), 2) + column(m.averageUnscaled(), 2)
        + column(m.electronicsTemperature(), 1) + column(m.resonatorTemperature(), 1);
}

QByteArray extremesBlock(VirtualSensor& s)
{
    return column(s.live().lowestTemperature(), 1) + column(s.live().highestTemperature(), 1);
}

QByteArray rawBlock(VirtualSensor& s, int channel)
{
    QByteArray block;
    for (double value : s.live().lastSecondSamples(channel)) {
        const int sample = qBound(0, int(std::lround(value * 100.0)), 0xFFFF);
        block += char(sample >> 8);
        block += char(sample & 0xFF);
    }
    return block;
}

QByteArray sweep(VirtualSensor& s)
{
    const double peak = 5.0 + 0.4 * s.live().filteredUnscaled();
    QByteArray points;
    for (int i = 1; i <= 50; ++i) {
        const double x = (double(i) - peak) / 4.0;
        points += char(qBound(0, int(std::lround(20.0 + 210.0 / (1.0 + x * x))), 255));
    }
    return points;
}

}  // namespace dunmere::sim
