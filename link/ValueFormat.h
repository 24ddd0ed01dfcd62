#pragma once
// Turning sensor replies into display text and list indices, the pause, and the six display
// colours.

#include <QColor>
#include <QString>
#include <array>

namespace dunmere {

// "##0.00##" with the system's decimal separator and no thousands separator; empty for a
// non-number or -99. Rounded to four decimals, halves away from zero on the number as
// written (12.34565 gives 12.3457); a value that rounds to zero shows no minus sign.
[[nodiscard]] QString FormatNumber(const QString& text);
// The same pattern for a computed value (no -99 rule: that marks failed replies only); empty
// for a value that is not finite.
[[nodiscard]] QString FormatNumberValue(double value);
// The reply as an integer (halves to even) when it is one from 0 to limit-1, else 0.
[[nodiscard]] int ParseIndex(const QString& text, int limit);
// Suspends for ms on the program's clock without processing events.
void Pause(int ms);

// Row r of the Sensor page, its trend line and its resonator plot use entry r. The entries
// are invalid colours until FillColourTable runs at start-up.
[[nodiscard]] const std::array<QColor, 6>& ColourTable();
void FillColourTable();
// The 24-bit form red + 256 * green + 65536 * blue.
[[nodiscard]] quint32 PackedColour(const QColor& colour);

}  // namespace dunmere
