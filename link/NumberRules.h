#pragma once
// The system's number rules as the sensors' replies meet them: a decimal comma or point.

#include <QLocale>
#include <QString>

namespace dunmere {

// Program-wide: set at start-up from the locale (or by a test), read by the receivers, the
// number formatter and the parsers.
[[nodiscard]] bool DecimalComma();
void SetDecimalComma(bool comma);
// True when the locale formats 20.2 with the pattern "#.0" with a comma as its third character.
[[nodiscard]] bool ProbeDecimalComma(const QLocale& locale = QLocale::system());

// Converts a reply or a typed value with the system's decimal separator; surrounding blanks
// are allowed, an exponent too. False (and 0) for anything else.
[[nodiscard]] double ToNumber(const QString& text, bool* ok = nullptr);
[[nodiscard]] bool IsNumber(const QString& text);
// A value as a sensor takes it: the user's decimal comma becomes the "." sensors read.
[[nodiscard]] QString WireValue(const QString& value);

}  // namespace dunmere
