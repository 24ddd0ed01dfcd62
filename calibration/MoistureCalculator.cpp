#include "MoistureCalculator.h"

#include "CalibrationNumbers.h"
#include "link/Messages.h"

namespace dunmere {

Weighings GetValues(const QString& x, const QString& y, const QString& z, const TextSource& texts)
{
    Weighings w;
    const QString invalid = texts.text(QStringLiteral("LangInvalid"));
    bool ok = false;
    w.X = CalibrationValue(x, &ok);
    if (!ok) {
        w.message = invalid + QStringLiteral(" X");
        return w;
    }
    w.Y = CalibrationValue(y, &ok);
    if (!ok) {
        w.message = invalid + QStringLiteral(" Y");
        return w;
    }
    w.Z = CalibrationValue(z, &ok);
    if (!ok) {
        w.message = invalid + QStringLiteral(" Z");
        return w;
    }
    const QString error = texts.text(QStringLiteral("LangError"));
    if (!(w.Y > w.X)) {
        w.message = error + QStringLiteral(": X > Y");
        return w;
    }
    if (!(w.Z > w.X)) {
        w.message = error + QStringLiteral(": X > Z");
        return w;
    }
    w.usable = true;
    return w;
}

double CalculateMoisture(double X, double Y, double Z) { return (Y - Z) / (Z - X) * 100.0; }

QString MoistureText(double moisture) { return FormatFixed(moisture, 1); }

}  // namespace dunmere
