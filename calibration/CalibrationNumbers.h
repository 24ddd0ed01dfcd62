#pragma once
// Numbers of the calibration grid and boxes: read and shown with the system's decimal
// separator, as the user types and sees them.

#include <QString>

namespace dunmere {

// A grid or box text as a number in the user's locale; false (and 0) when it is none.
[[nodiscard]] double CalibrationValue(const QString& text, bool* ok = nullptr);

// The value with a fixed number of decimals and at least one digit before the separator
// ("#0.0000", "0.00"); no minus sign on a value that rounds to zero.
[[nodiscard]] QString FormatFixed(double value, int decimals);

// The value as a program would print a number into a text: as few digits as it needs, with
// the system's separator (0.15 or 0,15; 101; -2.5).
[[nodiscard]] QString NumberText(double value);

// The text with the separator the system does not use ("." with a decimal comma, ","
// otherwise) replaced by the system's.
[[nodiscard]] QString WithSystemSeparator(QString text);

}  // namespace dunmere
