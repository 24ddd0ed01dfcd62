#include "NumberRules.h"

#include <QRegularExpression>

namespace dunmere {

namespace {
bool decimalComma = false;
}

bool DecimalComma() { return decimalComma; }

void SetDecimalComma(bool comma) { decimalComma = comma; }

bool ProbeDecimalComma(const QLocale& locale)
{
    const QString formatted = locale.toString(20.2, 'f', 1);
    return formatted.size() < 3 || formatted.at(2) == QLatin1Char(',');
}

double ToNumber(const QString& text, bool* ok)
{
    static const QRegularExpression point(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    static const QRegularExpression comma(QStringLiteral(R"(^\s*[+-]?(\d+,?\d*|,\d+)([eE][+-]?\d+)?\s*$)"));
    const bool matches = (decimalComma ? comma : point).match(text).hasMatch();
    if (ok)
        *ok = matches;
    if (!matches)
        return 0.0;
    QString plain = text.trimmed();
    if (decimalComma)
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

bool IsNumber(const QString& text)
{
    bool ok = false;
    (void)ToNumber(text, &ok);
    return ok;
}

QString WireValue(const QString& value)
{
    if (!decimalComma)
        return value;
    QString wire = value;
    return wire.replace(QLatin1Char(','), QLatin1Char('.'));
}

}  // namespace dunmere
