#pragma once
// Decoding the sensor's fixed-width value fields and formatted readings into numbers, and the
// fixed display patterns ("0", "0.0", "0.00") the readings are shown with.

#include <QString>

namespace dunmere {

// An empty text is -99. Otherwise the text is scanned from the left up to its first blank:
// digits are collected, a "-" anywhere makes the value negative, and no digits give 0. A field
// without a decimal separator carries its decimals implied (digits / 10^decimals); a text with
// one is first cut (rounding half away from zero on the digits) or padded to exactly that
// many decimals, so "21.125" with 2 decimals is 21.13 and "21.5" is 21.50.
[[nodiscard]] double DecodeFixedPoint(const QString& text, int decimals);

// The value with exactly that many decimals, halves to the even neighbour, with the system's
// decimal separator; a value that rounds to zero shows no sign.
[[nodiscard]] QString FormatDecimals(double value, int decimals);

}  // namespace dunmere
