#include "ValueLists.h"

#include "link/NumberRules.h"

#include <cmath>

namespace dunmere {

QStringList ValueListItems(const TextSource& texts, bool secondChannel, bool brixAvailable)
{
    auto t = [&](const char* key) { return texts.text(QString::fromLatin1(key)); };
    const QString unscaled = t("LangUnscaled");
    const QString temperature = t("LangTemperature");
    QStringList items;
    items << t("LangFiltered") + QLatin1Char(' ') + unscaled << t("LangAvg") + QLatin1Char(' ') + unscaled;
    if (secondChannel)
        items << t("LangFiltered") + QLatin1Char(' ') + unscaled + QStringLiteral(" 2");
    items << t("LangFiltered") + QLatin1Char(' ') + t("LangMoisture") + QStringLiteral(" %")
          << t("LangAvg") + QLatin1Char(' ') + t("LangMoisture") + QStringLiteral(" %")
          << t("LangElectronic") + QLatin1Char(' ') + temperature + QStringLiteral(" °C")
          << t("LangResonator") + QLatin1Char(' ') + temperature + QStringLiteral(" °C")
          << t("LangMaterial") + QLatin1Char(' ') + temperature + QStringLiteral(" °C");
    if (brixAvailable)
        items << QStringLiteral("Brix");
    return items;
}

int RestoredListIndex(const QString& stored, int count)
{
    if (count <= 0)
        return -1;
    bool ok = false;
    const double value = ToNumber(stored, &ok);
    if (!ok || value != std::floor(value) || value < 0 || value >= count)
        return 0;
    return static_cast<int>(value);
}

}  // namespace dunmere
