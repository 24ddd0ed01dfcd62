#include "OutputVariables.h"

#include "sensor/FixedPoint.h"

#include <array>

namespace dunmere {

namespace {

QString t(const TextSource& texts, const char* key)
{
    return texts.text(QString::fromLatin1(key));
}

QString joined(const TextSource& texts, const char* first, const char* second, const char* tail = "")
{
    return t(texts, first) + QLatin1Char(' ') + t(texts, second) + QString::fromLatin1(tail);
}

QString filteredMoisture(const TextSource& x) { return joined(x, "LangFiltered", "LangMoisture", " %"); }
QString averageMoisture(const TextSource& x) { return joined(x, "LangAvg", "LangMoisture", " %"); }
QString filteredUnscaled(const TextSource& x) { return joined(x, "LangFiltered", "LangUnscaled"); }
QString averageUnscaled(const TextSource& x) { return joined(x, "LangAvg", "LangUnscaled"); }
QString filteredUnscaled2(const TextSource& x) { return filteredUnscaled(x) + QStringLiteral(" 2"); }
QString materialTemperature(const TextSource& x) { return joined(x, "LangMaterial", "LangTemperature"); }
const QString brix = QStringLiteral("Brix");

// Code -> text, codes 0 to 11.
QStringList codeTexts(const TextSource& x)
{
    return {joined(x, "LangRaw", "LangMoisture", " %"),
            filteredMoisture(x),
            averageMoisture(x),
            joined(x, "LangRaw", "LangUnscaled"),
            filteredUnscaled(x),
            averageUnscaled(x),
            t(x, "LangRemoteValue"),
            brix,
            t(x, "LangStrain"),
            materialTemperature(x),
            joined(x, "LangRaw", "LangUnscaled", " 2"),
            filteredUnscaled2(x)};
}

QStringList engineeringLines(const TextSource& x, int output, const char* first1, const char* first2,
                             const char* third, const char* channelSuffix = "")
{
    const QString suffix = QString::fromLatin1(channelSuffix);
    return {t(x, output == 1 ? first1 : first2), t(x, "LangEngData2") + suffix, t(x, third) + suffix,
            t(x, "LangEngData4")};
}

constexpr std::array<int, 3> measurementCodes = {0, 2, 3};
constexpr std::array<int, 6> armCodes = {0, 16, 32, 33, 34, 35};

}  // namespace

QStringList OutputVariableItems(const TextSource& texts, bool secondChannel, bool brixAvailable)
{
    QStringList items = {filteredMoisture(texts), averageMoisture(texts), filteredUnscaled(texts),
                         averageUnscaled(texts)};
    if (secondChannel)
        items << filteredUnscaled2(texts);
    if (brixAvailable)
        items << brix;
    items << materialTemperature(texts);
    return items;
}

int OutputVariableCode(const QString& itemText, const TextSource& texts)
{
    if (itemText.isEmpty())
        return -1;
    const QStringList all = codeTexts(texts);
    for (int code = 0; code < all.size(); ++code) {
        if (all.at(code).compare(itemText, Qt::CaseInsensitive) == 0)
            return code;
    }
    return -1;
}

OutputVariableReading ReadOutputVariable(int code, int output, const TextSource& x)
{
    switch (code) {
    case 0: return {filteredMoisture(x), engineeringLines(x, output, "LangEngData1", "LangEngData9", "LangEngData3")};
    case 1: return {filteredMoisture(x), {}};
    case 2: return {averageMoisture(x), {}};
    case 3: return {filteredUnscaled(x), engineeringLines(x, output, "LangEngData5", "LangEngData10", "LangEngData6")};
    case 4: return {filteredUnscaled(x), {}};
    case 5: return {averageUnscaled(x), {}};
    case 6: return {filteredUnscaled(x), engineeringLines(x, output, "LangEngData7", "LangEngData11", "LangEngData6")};
    case 7: return {brix, {}, true};
    case 8: return {filteredUnscaled(x), engineeringLines(x, output, "LangEngData8", "LangEngData12", "LangEngData6")};
    case 9: return {materialTemperature(x), {}};
    case 10:
        return {filteredUnscaled(x), engineeringLines(x, output, "LangEngData5", "LangEngData10", "LangEngData6", " 2")};
    case 11: return {filteredUnscaled2(x), {}};
    default: return {};
    }
}

QStringList OutputTypeItems(const TextSource& x)
{
    return {QStringLiteral("4-20mA"), QStringLiteral("0-20mA (0-10V)"), t(x, "LangCompat")};
}

QStringList Input1Items(const TextSource& x)
{
    return {t(x, "LangUnused"), t(x, "LangAvgHold"), t(x, "LangMT")};
}

QStringList Input2Items(const TextSource& x)
{
    const QString output = QStringLiteral(" (") + t(x, "LangOutput") + QLatin1Char(')');
    return {t(x, "LangUnused"), t(x, "LangMT") + QStringLiteral(" (") + t(x, "LangInput") + QLatin1Char(')'),
            t(x, "LangBinEmpty") + output, joined(x, "LangData", "LangInvalid") + output,
            t(x, "LangProbeOK") + output};
}

QStringList SlewItems(const TextSource& x)
{
    return {t(x, "LangNone"), t(x, "LangLight"), t(x, "LangMedium"), t(x, "LangHeavy")};
}

QStringList FilterItems(const TextSource& x)
{
    return {t(x, "LangDSPUnused"), t(x, "LangDSPVeryLight"), t(x, "LangDSPLight"),
            t(x, "LangDSPMedium"), t(x, "LangDSPHeavy"), t(x, "LangDSPVeryHeavy")};
}

QStringList AverageHoldItems()
{
    return {QStringLiteral("0"), FormatDecimals(0.5, 1), FormatDecimals(1.0, 1), FormatDecimals(1.5, 1), FormatDecimals(2.0, 1),
            FormatDecimals(5.0, 1)};
}

QStringList SmoothingItems()
{
    return {QStringLiteral("0"), FormatDecimals(1.0, 1), FormatDecimals(2.5, 1), FormatDecimals(5.0, 1), FormatDecimals(7.5, 1),
            FormatDecimals(10.0, 1)};
}

QStringList AveragingModeItems(const TextSource& x)
{
    return {t(x, "LangRaw"), t(x, "LangFiltered")};
}

QStringList MeasurementModeItems(const TextSource& x)
{
    return {t(x, "LangStandardMode"), t(x, "LangModeV"), t(x, "LangModeE")};
}

QStringList ArmTypeItems(const TextSource& x)
{
    return {t(x, "LangUnused"), QStringLiteral("KVTA1"), QStringLiteral("KVTA2 560mm"), QStringLiteral("KVTA2 700mm"),
            QStringLiteral("KVTA2 1200mm"), QStringLiteral("KVTA2 1420mm")};
}

int MeasurementModeCode(int item)
{
    return item >= 0 && item < int(measurementCodes.size()) ? measurementCodes.at(item) : -1;
}

int MeasurementModeItem(int code)
{
    for (int i = 0; i < int(measurementCodes.size()); ++i) {
        if (measurementCodes.at(i) == code)
            return i;
    }
    return -1;
}

int ArmTypeCode(int item)
{
    return item >= 0 && item < int(armCodes.size()) ? armCodes.at(item) : -1;
}

int ArmTypeItem(int code)
{
    for (int i = 0; i < int(armCodes.size()); ++i) {
        if (armCodes.at(i) == code)
            return i;
    }
    return -1;
}

}  // namespace dunmere
