#include "LanguageTexts.h"

#include <QHash>

namespace dunmere {

namespace {

// Lower-case key name -> its first read slot.
const QHash<QString, int>& slotIndex()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> built;
        const auto& keys = LanguageKeySlots();
        for (int slot = 0; slot < LanguageSlotCount; ++slot) {
            const QString name = QString::fromLatin1(keys[slot]).toLower();
            if (!built.contains(name))
                built.insert(name, slot);
        }
        return built;
    }();
    return index;
}

}  // namespace

LanguageTexts::LanguageTexts(QObject* parent) : QObject(parent) {}

LanguageTexts& LanguageTexts::program()
{
    static LanguageTexts texts;
    return texts;
}

QString LanguageTexts::text(const QString& key) const
{
    const auto found = slotIndex().constFind(key.toLower());
    return found == slotIndex().cend() ? QString() : slots_[*found];
}

void LanguageTexts::replace(const LanguageSlots& readTexts, int editionType)
{
    slots_ = readTexts;
    editionType_ = editionType;
    buildDerivedTexts();
    emit textsLoaded();
}

void LanguageTexts::buildDerivedTexts()
{
    const QString blank = QStringLiteral(" ");
    const QString calibration = text(QStringLiteral("LangCalibration"));
    noSensor_ = text(QStringLiteral("LangNo")) + blank + text(QStringLiteral("LangSensor"));
    noCalibration_ = text(QStringLiteral("LangNo")) + blank + calibration;
    writeFailed_ = text(QStringLiteral("LangWrite")) + blank + text(QStringLiteral("LangFailed"));
    invalidCalibration_ = text(QStringLiteral("LangInvalid")) + blank + calibration;
    deleteCalibration_ = text(QStringLiteral("LangDelete")) + blank + calibration + QStringLiteral("?");
}

}  // namespace dunmere
