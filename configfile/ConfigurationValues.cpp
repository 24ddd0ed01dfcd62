#include "ConfigurationValues.h"

#include "sensor/FixedPoint.h"

#include <QRegularExpression>

namespace dunmere {

namespace {

using C = ValueCoding;
using S = ValueSlot;

constexpr const char* eq = " = ";
constexpr const char* eq2 = "  = ";

// Values 0-3 go to 1-4, or to 25-28 in a Brix file; 29, 30 and the amplitudes 39, 40 only
// onto the same sensor; 22, 23, 27, 28 and 31 are never written.
constexpr FileValue fileValues[] = {
    {0, "A", eq, C::Number, 1, 25, false, S::Fixed},
    {1, "B", eq, C::Number, 2, 26, false, S::Fixed},
    {2, "C", eq, C::Number, 3, 27, false, S::Fixed},
    {3, "D", eq, C::Number, 4, 28, false, S::Fixed},
    {4, "{LangOPType}", eq, C::OutputType, 5, 0, false, S::Fixed},
    {5, "{LangOPVar} 1", eq, C::Variable, 6, 0, false, S::Fixed},
    {6, "{LangOPVar} 2", eq, C::Variable, 29, 0, false, S::Fixed},
    {7, "{LangHigh} %", eq, C::Number, 8, 0, false, S::Fixed},
    {8, "{LangLow} %", eq, C::Number, 7, 0, false, S::Fixed},
    {9, "{LangIP1}", eq, C::Input1, 9, 0, false, S::Fixed},
    {10, "{LangIP2}", eq, C::Input2, 24, 0, false, S::Fixed},
    {11, "{LangMoisture} {LangLow}", eq2, C::Number, 20, 0, false, S::Fixed},
    {12, "{LangMoisture} {LangHigh}", eq2, C::Number, 21, 0, false, S::Fixed},
    {13, "{LangUnscaled} {LangLow}", eq, C::Number, 22, 0, false, S::Fixed},
    {14, "{LangUnscaled} {LangHigh}", eq, C::Number, 23, 0, false, S::Fixed},
    {15, "{LangAvgHold} {LangDelay}", eq, C::AverageHold, 13, 0, false, S::Fixed},
    {16, "{LangSmoothTime}", eq, C::Smoothing, 14, 0, false, S::Fixed},
    {17, "{LangSlew} +", eq, C::Slew, 16, 0, false, S::Fixed},
    {18, "{LangSlew} -", eq, C::Slew, 17, 0, false, S::Fixed},
    {19, "{LangElectronic} {LangTemperature}", eq, C::Temperature, 66, 0, false, S::Fixed},
    {20, "{LangResonator} {LangTemperature}", eq, C::Temperature, 67, 0, false, S::Fixed},
    {21, "{LangMaterial} {LangTemperature}", eq, C::MaterialTemperature, 75, 0, false, S::Fixed},
    {22, "{LangUncompFreq}", eq, C::Frequency, 0, 0, false, S::Fixed},
    {23, "{LangAmp}", eq, C::Amplitude, 0, 0, false, S::Fixed},
    {24, "{LangElectronic} {LangCoeff}", eq, C::Number, 12, 0, false, S::Fixed},
    {25, "{LangResonator} {LangCoeff}", eq, C::Number, 55, 0, false, S::Fixed},
    {26, "{LangMaterial} {LangCoeff}", eq, C::Number, 56, 0, false, S::Fixed},
    {27, "{LangMin} {LangTemperature}", eq, C::LowestTemperature, 0, 0, false, S::Fixed},
    {28, "{LangMax} {LangTemperature}", eq, C::HighestTemperature, 0, 0, false, S::Fixed},
    {29, "{LangWater}", eq, C::Number, 10, 0, true, S::Fixed},
    {30, "{LangAir}", eq, C::Number, 11, 0, true, S::Fixed},
    {31, "{LangLanguage}", eq, C::Language, 0, 0, false, S::Fixed},
    {DspValue, "{LangDigitalSignalProcessing}", eq, C::Filter, 77, 0, false, S::SecondChannelOnly},
    {Mode1Value, "{LangMeasurementMode}", eq, C::Mode, 38, 0, false, S::AllTypes},
    {AmpElectronicsValue, "{LangAmp} {LangElectronic} {LangTempComp} {LangCoeff}", eq, C::Number, 57, 0, false,
     S::SecondChannelOnly},
    {AmpResonatorValue, "{LangAmp} {LangResonator} {LangTempComp} {LangCoeff}", eq, C::Number, 58, 0, false,
     S::SecondChannelOnly},
    {AmpMaterialValue, "{LangAmp} {LangMaterial} {LangTempComp} {LangCoeff}", eq, C::Number, 59, 0, false,
     S::SecondChannelOnly},
    {AmpWaterValue, "{LangAmp} {LangWater}", eq, C::Number, 39, 0, true, S::SecondChannelOnly},
    {AmpAirValue, "{LangAmp} {LangAir}", eq, C::Number, 40, 0, true, S::SecondChannelOnly},
    {Mode2Value, "{LangMeasurementMode} 2", eq, C::Mode, 47, 0, false, S::AllTypes},
    {ArmValue, "{LangCorraneArmType}", eq, C::Arm, 79, 0, false, S::ArmLine},
};

QString t(const TextSource& texts, const char* key) { return texts.text(QString::fromLatin1(key)); }

QList<CodedText> indexed(const QStringList& texts)
{
    QList<CodedText> out;
    for (int i = 0; i < texts.size(); ++i)
        out.append({i, texts.at(i)});
    return out;
}

}  // namespace

std::span<const FileValue> FileValues()
{
    return fileValues;
}

const FileValue& FileValueById(int id)
{
    for (const FileValue& v : fileValues) {
        if (v.id == id)
            return v;
    }
    Q_UNREACHABLE();
}

QString ComposeText(const char* pattern, const TextSource& texts)
{
    static const QRegularExpression key(QStringLiteral("\\{(Lang\\w*)\\}"));
    const QString source = QString::fromLatin1(pattern);
    QString out;
    qsizetype from = 0;
    for (auto it = key.globalMatch(source); it.hasNext();) {
        const auto m = it.next();
        out += source.mid(from, m.capturedStart() - from) + texts.text(m.captured(1));
        from = m.capturedEnd();
    }
    return out + source.mid(from);
}

QString ValueLabel(const FileValue& value, const TextSource& texts)
{
    return ComposeText(value.label, texts);
}

bool IsCoded(ValueCoding coding)
{
    switch (coding) {
    case C::OutputType:
    case C::Variable:
    case C::Input1:
    case C::Input2:
    case C::AverageHold:
    case C::Smoothing:
    case C::Slew:
    case C::Filter:
    case C::Mode:
    case C::Arm: return true;
    default: return false;
    }
}

QList<CodedText> CodedTexts(ValueCoding coding, const TextSource& x)
{
    const QString output = QStringLiteral(" (") + t(x, "LangOutput") + QLatin1Char(')');
    switch (coding) {
    case C::OutputType: return indexed({QStringLiteral("4-20mA"), QStringLiteral("0-20mA (0-10V)"), t(x, "LangCompat")});
    case C::Variable:
        return indexed({t(x, "LangRaw") + QStringLiteral(" %"), t(x, "LangFiltered") + QStringLiteral(" %"),
                        t(x, "LangAvg") + QStringLiteral(" %"), t(x, "LangRaw") + QStringLiteral(" US"),
                        t(x, "LangFiltered") + QStringLiteral(" US"), t(x, "LangAvg") + QStringLiteral(" US"),
                        t(x, "LangRemoteValue"), QStringLiteral("Brix"), t(x, "LangStrain"),
                        t(x, "LangMaterial") + QLatin1Char(' ') + t(x, "LangTemperature"),
                        t(x, "LangRaw") + QStringLiteral(" US 2"), t(x, "LangFiltered") + QStringLiteral(" US 2")});
    case C::Input1: return indexed({t(x, "LangUnused"), t(x, "LangAvgHold"), t(x, "LangMT")});
    case C::Input2:
        return indexed({t(x, "LangUnused"), t(x, "LangMT") + QStringLiteral(" (") + t(x, "LangInput") + QLatin1Char(')'),
                        t(x, "LangBinEmpty") + output, t(x, "LangData") + QLatin1Char(' ') + t(x, "LangInvalid") + output,
                        t(x, "LangProbeOK") + output});
    // Item 0 of both lists reads "0", which is also its code.
    case C::AverageHold:
        return indexed({QStringLiteral("0"), FormatDecimals(0.5, 1), FormatDecimals(1.0, 1), FormatDecimals(1.5, 1),
                        FormatDecimals(2.0, 1), FormatDecimals(5.0, 1)});
    case C::Smoothing:
        return indexed({QStringLiteral("0"), FormatDecimals(1.0, 1), FormatDecimals(2.5, 1), FormatDecimals(5.0, 1),
                        FormatDecimals(7.5, 1), FormatDecimals(10.0, 1)});
    case C::Slew: return indexed({t(x, "LangNone"), t(x, "LangLight"), t(x, "LangMedium"), t(x, "LangHeavy")});
    case C::Filter:
        return indexed({t(x, "LangDSPUnused"), t(x, "LangDSPVeryLight"), t(x, "LangDSPLight"), t(x, "LangDSPMedium"),
                        t(x, "LangDSPHeavy"), t(x, "LangDSPVeryHeavy")});
    case C::Mode:
        return indexed({t(x, "LangStandardMode"), t(x, "LangModeA"), t(x, "LangModeV"), t(x, "LangModeE"),
                        t(x, "LangModeI")});
    case C::Arm:
        return {{0, t(x, "LangUnused")},          {16, QStringLiteral("KVTA1")},        {32, QStringLiteral("KVTA2 560mm")},
                {33, QStringLiteral("KVTA2 700mm")}, {34, QStringLiteral("KVTA2 1200mm")}, {35, QStringLiteral("KVTA2 1420mm")}};
    default: return {};
    }
}

bool IsMeasuredParameter(int parameter)
{
    return parameter == 66 || parameter == 67 || parameter == 75;
}

}  // namespace dunmere
