#include "ConfigurationFile.h"

#include "link/NumberRules.h"

#include <QtEndian>

namespace dunmere {

namespace {

constexpr int IdentityLine = 7;
constexpr int FirstBodyLine = 11;  // the first heading; value lines follow it

// Value ids that a heading line precedes (the coefficient heading comes before the first
// value line, whatever it is).
bool headingBefore(int id)
{
    return id == 4 || id == 9 || id == 11 || id == 16 || id == 19;
}

// The later lines a file may hold, by their number: the second-channel types write eight or
// nine, the others two or three (the arm line is there only when the sensor has an arm type).
QList<int> laterLines(qsizetype count)
{
    const QList<int> secondChannel = {DspValue,       Mode1Value,    AmpElectronicsValue, AmpResonatorValue,
                                      AmpMaterialValue, AmpWaterValue, AmpAirValue,         Mode2Value};
    const QList<int> others = {Mode1Value, Mode2Value};
    switch (count) {
    case 0: return {};
    case 2: return others;
    case 3: return others + QList<int>{ArmValue};
    case 8: return secondChannel;
    case 9: return secondChannel + QList<int>{ArmValue};
    default: return {-1};
    }
}

// A line of the file as the reader sees it: the line feed of the previous line end stands at
// its start, so it is dropped before looking at the text.
QString content(const QString& line)
{
    return line.startsWith(u'\n') ? line.mid(1) : line;
}

ReadOutcome refuse(const QString& why)
{
    ReadOutcome out;
    out.problem = why;
    return out;
}

// "1,5" and "1.5" alike; the converted lists' own texts may carry either separator.
QString pointed(const QString& text)
{
    QString out = text;
    return out.replace(u',', u'.');
}

QString convertOne(const QString& value, ValueCoding coding, const TextSource& texts)
{
    if (value.isEmpty())
        return value;
    const bool numericItems = coding == ValueCoding::AverageHold || coding == ValueCoding::Smoothing;
    if (numericItems && pointed(value) == QLatin1String("0.0"))
        return QStringLiteral("0");
    for (const CodedText& c : CodedTexts(coding, texts)) {
        if (c.text.isEmpty())
            continue;  // a language without this text matches nothing
        if (c.text == value || (numericItems && pointed(c.text) == pointed(value)))
            return QString::number(c.code);
    }
    return value;
}

}  // namespace

QByteArray EncodeConfigurationFile(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    text += QChar(EndMark) + QStringLiteral("\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (const QChar c : text) {
        const char16_t unit = qToLittleEndian(c.unicode());
        bytes.append(reinterpret_cast<const char*>(&unit), 2);
    }
    return bytes;
}

ReadOutcome ReadConfigurationFile(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xFF\xFE"))
        return refuse(QStringLiteral("it is not a UTF-16 text with a byte-order mark"));
    // The byte-order mark is simply part of line 0; a last odd byte is no whole character.
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8)));
    QStringList lines = text.split(u'\r');
    // What follows the last carriage return is the line feed of that line end, or nothing.
    while (!lines.isEmpty() && content(lines.last()).isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || content(lines.last()) != QString(QChar(EndMark)))
        return refuse(QStringLiteral("it has no end mark"));
    lines.removeLast();

    ReadOutcome out;
    ConfigurationFileData& d = out.data;
    const QString identityLine = lines.size() > IdentityLine ? lines.at(IdentityLine) : QString();
    const qsizetype colon = identityLine.indexOf(u':');
    d.identity = colon < 0 ? QString() : identityLine.mid(colon + 1).trimmed();
    if (d.identity.isEmpty())
        return refuse(QStringLiteral("line 7 holds no sensor identity"));

    // Positions of the value lines after the first heading, and of the headings between them.
    QList<int> valueLines;
    for (int i = FirstBodyLine + 1; i < lines.size(); ++i) {
        if (lines.at(i).contains(u'='))
            valueLines.append(i);
    }
    if (valueLines.isEmpty() || lines.size() <= FirstBodyLine)
        return refuse(QStringLiteral("it holds no values"));
    const auto valueText = [&](int n) {
        const QString& line = lines.at(valueLines.at(n));
        return line.mid(line.indexOf(u'=') + 1).trimmed();
    };
    const auto startsWith = [&](int n, const char* label) {
        return n < valueLines.size() && content(lines.at(valueLines.at(n))).startsWith(QLatin1String(label));
    };
    d.coefficientSection = startsWith(0, "A =") && startsWith(1, "B =") && startsWith(2, "C =") && startsWith(3, "D =");
    d.brixCoefficients = d.coefficientSection && content(lines.at(FirstBodyLine)).startsWith(QLatin1String("Brix "));
    const int missing = d.coefficientSection ? 0 : 4;
    if (valueLines.size() + missing < FixedValueCount)
        return refuse(QStringLiteral("it has %1 values where a configuration file has at least %2")
                          .arg(valueLines.size() + missing)
                          .arg(FixedValueCount));
    const QList<int> later = laterLines(valueLines.size() + missing - FixedValueCount);
    if (later.contains(-1))
        return refuse(QStringLiteral("the lines after the language line fit no sensor type"));

    for (int id = 0; id < missing; ++id) {
        d.values.append(QString());
        d.ids.append(id);
    }
    for (int n = 0; n < valueLines.size(); ++n) {
        const int id = d.values.size() < FixedValueCount ? int(d.values.size()) : later.at(d.values.size() - FixedValueCount);
        d.values.append(valueText(n));
        d.ids.append(id);
    }

    // Every line between the first heading and the end mark is a value line, except one heading
    // before each section and the firmware heading and version line after the language line.
    int expected = FirstBodyLine + 1;
    const auto misplaced = [&] {
        return refuse(QStringLiteral("line %1 has no \"=\" where a value must stand").arg(expected));
    };
    for (int n = 0; n < valueLines.size(); ++n) {
        if (n > 0 && headingBefore(d.ids.at(n + missing)))
            ++expected;
        if (n > 0 && d.ids.at(n + missing - 1) == LanguageValue)
            expected += 2;
        if (valueLines.at(n) != expected)
            return misplaced();
        ++expected;
    }
    if (d.ids.last() == LanguageValue)
        expected += 2;
    if (lines.size() != expected)
        return misplaced();

    bool ok = false;
    d.language = d.values.at(LanguageValue).toInt(&ok);
    if (!ok || d.language < 0)
        return refuse(QStringLiteral("its language line holds no language number"));
    out.ok = true;
    return out;
}

ConvertedValues ConvertConfigurationValues(const ConfigurationFileData& data, const TextSource& fileTexts)
{
    ConvertedValues out;
    for (int pos = 0; pos < data.values.size(); ++pos) {
        const FileValue& v = FileValueById(data.ids.at(pos));
        const QString& text = data.values.at(pos);
        if (v.coding == ValueCoding::Variable && text == QLatin1String("Brix"))
            out.brixVariable = true;
        out.values.append(IsCoded(v.coding) ? convertOne(text, v.coding, fileTexts) : text);
    }
    return out;
}

}  // namespace dunmere
