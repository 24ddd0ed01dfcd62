#include "FixedPoint.h"

#include "link/NumberRules.h"

#include <cmath>

namespace dunmere {

namespace {

constexpr double FailureValue = -99.0;

bool isSeparator(QChar c) { return c == u'.' || c == u','; }

// The whole and fraction digits as written, the sign, and whether a separator was seen.
struct ScannedDigits {
    QString whole;
    QString fraction;
    bool separator = false;
    bool negative = false;
};

ScannedDigits scan(const QString& text)
{
    ScannedDigits out;
    for (const QChar c : text) {
        if (c == u' ')
            break;
        if (c == u'-')
            out.negative = true;
        else if (isSeparator(c) && !out.separator)
            out.separator = true;
        else if (c.isDigit())
            (out.separator ? out.fraction : out.whole) += c;
    }
    return out;
}

// The digit string scaled by 10^decimals, rounded half away from zero on the first digit cut.
double scaledDigits(const ScannedDigits& digits, int decimals)
{
    if (!digits.separator)
        return (digits.whole + digits.fraction).toDouble();
    QString fraction = digits.fraction.leftJustified(decimals, u'0', true);
    const bool roundUp = digits.fraction.size() > decimals && digits.fraction.at(decimals) >= u'5';
    const double scaled = (digits.whole + fraction).toDouble();
    return roundUp ? scaled + 1.0 : scaled;
}

}  // namespace

double DecodeFixedPoint(const QString& text, int decimals)
{
    if (text.isEmpty())
        return FailureValue;
    const ScannedDigits digits = scan(text);
    if (digits.whole.isEmpty() && digits.fraction.isEmpty())
        return 0.0;
    const double value = scaledDigits(digits, decimals) / std::pow(10.0, decimals);
    return digits.negative ? -value : value;
}

QString FormatDecimals(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // Binary noise (0.15 * 10 = 1.4999...) is dropped at 15 significant digits first, so a
    // written half is a half.
    const double scaled = QString::number(value * scale, 'g', 15).toDouble();
    const double rounded = std::nearbyint(scaled) / scale;
    QString text = QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', decimals);
    if (DecimalComma())
        text.replace(u'.', u',');
    return text;
}

}  // namespace dunmere
