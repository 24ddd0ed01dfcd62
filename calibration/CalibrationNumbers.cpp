#include "CalibrationNumbers.h"

#include "link/NumberRules.h"

#include <cmath>

namespace dunmere {

namespace {

QChar systemSeparator() { return DecimalComma() ? u',' : u'.'; }
QChar otherSeparator() { return DecimalComma() ? u'.' : u','; }

QString withSystemSeparator(QString text)
{
    if (DecimalComma())
        text.replace(u'.', u',');
    return text;
}

}  // namespace

double CalibrationValue(const QString& text, bool* ok)
{
    bool converted = false;
    const double value = ToNumber(text, &converted);
    // Digits beyond a double's range parse as infinity; no grid value may be that.
    converted = converted && std::isfinite(value);
    if (ok)
        *ok = converted;
    return converted ? value : 0.0;
}

QString FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    QString text = QString::number(value, 'f', decimals);
    if (text.toDouble() == 0.0)  // "-0.0000"
        text = QString::number(0.0, 'f', decimals);
    return withSystemSeparator(text);
}

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return {};
    return withSystemSeparator(QString::number(value, 'g', 15));
}

QString WithSystemSeparator(QString text) { return text.replace(otherSeparator(), systemSeparator()); }

}  // namespace dunmere
