#pragma once
// The resonator test: the 50-point sweep, the uncompensated and compensated values block and
// the material temperature, read from the sensor under test once per refresh.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace dunmere {

class Link;

inline constexpr int SweepPointCount = 50;
inline constexpr int ResonatorValueCount = 7;
// The sweep's drawing area in its own units, y downwards.
inline constexpr int SweepWidth = 800;
inline constexpr int SweepHeight = 1024;

using SweepPoints = std::array<int, SweepPointCount>;  // y of points 1-50, in sweep units

// "P" + byte 0x0A + the mode as five digits.
[[nodiscard]] QByteArray SweepCommand(int mode = 0);
// "P" + byte 0x0B.
[[nodiscard]] QString ResonatorValuesCommand();

// Point i = 1024 - 4 x byte i. False (points untouched) for a reply of fewer than 50 bytes.
bool DecodeSweep(const QByteArray& reply, SweepPoints& points);

// Frequency, bandwidth, amplitude, reference, electronics and resonator temperature and the
// compensated frequency, from seven 10-character fields; nothing for a reply shorter than
// 62 characters. Each field reads like a typed number up to its first stray character, with
// either decimal separator, since a system with a decimal comma receives commas.
[[nodiscard]] std::optional<std::array<double, ResonatorValueCount>> DecodeResonatorValues(const QString& reply);
// The values as the window shows them ("0.00", "0.00", "0", "0", "0.0", "0.0", "0.00").
[[nodiscard]] std::array<QString, ResonatorValueCount> ResonatorValueTexts(const std::array<double, ResonatorValueCount>& values);

struct ResonatorReading {
    bool sweepRead = false;
    SweepPoints points{};
    std::optional<std::array<double, ResonatorValueCount>> values;
    QString materialTemperature;  // the reply as received, "-99" without one
};

// One refresh of the sensor at address: the sweep (kept in `reading.points` when it fails),
// the values block and the material temperature.
void ReadResonator(Link& link, int address, ResonatorReading& reading);

}  // namespace dunmere
