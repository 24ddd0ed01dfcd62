#include "ReadingCatalogue.h"

#include "link/Messages.h"

namespace dunmere {

QStringList ReadingNames(const TextSource& texts, bool brixAvailable, bool secondChannel)
{
    auto t = [&](const char* key) { return texts.text(QString::fromLatin1(key)); };
    const QString space = QStringLiteral(" ");
    const QString unscaled = t("LangUnscaled");
    const QString temperature = t("LangTemperature");
    return {
        t("LangFiltered") + space + unscaled,
        t("LangAvg") + space + unscaled,
        t("LangFiltered") + space + unscaled + QStringLiteral(" 2"),
        t("LangFiltered") + space + t("LangMoisture") + QStringLiteral(" %"),
        t("LangAvg") + space + t("LangMoisture") + QStringLiteral(" %"),
        t("LangElectronic") + space + temperature + QStringLiteral(" °C"),
        t("LangResonator") + space + temperature + QStringLiteral(" °C"),
        t("LangMaterial") + space + temperature + QStringLiteral(" °C"),
        brixAvailable ? QStringLiteral("Brix") : QString(),
        t("LangRaw") + space + unscaled,
        secondChannel ? t("LangRaw") + space + unscaled + QStringLiteral(" 2") : QString(),
    };
}

QList<int> OfferedReadings(const QStringList& names)
{
    QList<int> offered;
    for (int r = 0; r < names.size(); ++r) {
        if (!names[r].isEmpty())
            offered << r;
    }
    return offered;
}

int ReadingDecimals(int reading)
{
    switch (reading) {
    case 0: case 1: case 2: case RawReading1: case RawReading2:
        return 2;
    default:
        return 1;
    }
}

int TickedCount(const ReadingFlags& ticked)
{
    int n = 0;
    for (bool t : ticked)
        n += t ? 1 : 0;
    return n;
}

}  // namespace dunmere
