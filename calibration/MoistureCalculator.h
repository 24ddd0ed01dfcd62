#pragma once
// The moisture of a laboratory sample from three weighings in one unit: X the empty
// container, Y with the wet sample, Z with the dried sample; moisture as a percentage of the
// dry weight.

#include <QString>

namespace dunmere {

class TextSource;

struct Weighings {
    bool usable = false;
    QString message;  // why not: LangInvalid " X", LangError ": X > Y", ...
    double X = 0, Y = 0, Z = 0;
};

// GetValues: X, Y and Z as locale numbers, Y and Z each above X.
[[nodiscard]] Weighings GetValues(const QString& x, const QString& y, const QString& z, const TextSource& texts);
// (Y - Z) / (Z - X) x 100.
[[nodiscard]] double CalculateMoisture(double X, double Y, double Z);
// LblMoisture: "##0.0".
[[nodiscard]] QString MoistureText(double moisture);

}  // namespace dunmere
