#include "LanguageLoading.h"

#include "link/DataFolder.h"
#include "link/NumberRules.h"
#include "link/Settings.h"

#include <cmath>
#include <limits>
#include <optional>

namespace dunmere {

namespace {

const QString settingsSection = QStringLiteral("Settings");

QString readSettingsKey(const QString& key) { return ReadSetting(settingsSection, key, ConfigFilePath()); }

QString languageSection(int number) { return QStringLiteral("Language") + QString::number(number); }

// A settings value taken as a 16-bit integer: halves round to even, out of range or not a
// number gives nothing.
std::optional<int> toInt16(const QString& text)
{
    bool ok = false;
    const double value = std::nearbyint(ToNumber(text, &ok));
    if (!ok || value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

int HighestLanguageNumber()
{
    const QString raw = readSettingsKey(QStringLiteral("NumLangs"));
    if (raw.isEmpty())
        return 0;
    const auto number = toInt16(raw);
    return number && *number >= 1 && *number <= 14 ? *number : 1;
}

void LoadLanguageSettings(LanguageTexts& texts)
{
    const int highest = HighestLanguageNumber();
    const QString raw = readSettingsKey(QStringLiteral("Language"));
    const auto number = raw.isEmpty() ? std::nullopt : toInt16(raw);
    if (number && *number >= 1 && *number <= highest) {
        texts.setLanguage(*number);
    } else {
        texts.setLanguage(0);
        if (!raw.isEmpty() && raw != QLatin1String("0"))
            WriteSetting(settingsSection, QStringLiteral("Language"), QStringLiteral("0"), ConfigFilePath());
    }
    LoadLanguageTexts(texts);
}

void LoadLanguageTexts(LanguageTexts& texts)
{
    const int editionType = toInt16(readSettingsKey(QStringLiteral("Type"))).value_or(0);
    const QString section = languageSection(texts.language());
    const QString path = ConfigFilePath();
    LanguageSlots readTexts;
    const auto& keys = LanguageKeySlots();
    for (int slot = 0; slot < LanguageSlotCount; ++slot)
        readTexts[slot] = ReadSetting(section, QString::fromLatin1(keys[slot]), path);
    texts.replace(readTexts, editionType);
}

bool SetLanguage(int number, LanguageTexts& texts)
{
    if (number < 0 || number > HighestLanguageNumber())
        return false;
    WriteSetting(settingsSection, QStringLiteral("Language"), QString::number(number), ConfigFilePath());
    texts.setLanguage(number);
    LoadLanguageTexts(texts);
    return true;
}

QStringList LanguageNames()
{
    QStringList names;
    const QString path = ConfigFilePath();
    const int highest = HighestLanguageNumber();
    for (int number = 0; number <= highest; ++number)
        names << ReadSetting(languageSection(number), QStringLiteral("Lang"), path);
    return names;
}

QString HelpFileName(int language, const QString& ownName)
{
    static const QStringList fixedNames = {
        QStringLiteral("Russian"), QStringLiteral("Japanese"), QStringLiteral("Chinese"),
        QStringLiteral("Vietnamese"), QStringLiteral("Korean")};
    const QString name = language >= 8 && language <= 12 ? fixedNames[language - 8] : ownName;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    return name + QStringLiteral(".txt");
}

QString HelpFilePath(int language, const QString& ownName)
{
    const QString name = HelpFileName(language, ownName);
    return name.isEmpty() ? QString() : DataFolder() + name;
}

}  // namespace dunmere
