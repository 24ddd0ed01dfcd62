#pragma once
// Turning sensor replies into display text and list indices, the pause, and the six display
// colours.

#include <QColor>
#include <QString>
#include <array>

namespace dunmere {

// "##0.00##" with the system's decimal separator; empty for a non-number or -99.
[[nodiscard]] QString FormatNumber(const QString& text);
// The reply as an integer (halves to even) when it is one from 0 to limit-1, else 0.
[[nodiscard]] int ParseIndex(const QString& text, int limit);
// Suspends for ms without processing events.
void Pause(int ms);

// Row r of the Sensor page, its trend line and its resonator plot use entry r.
[[nodiscard]] const std::array<QColor, 6>& ColourTable();
void FillColourTable();

}  // namespace dunmere
