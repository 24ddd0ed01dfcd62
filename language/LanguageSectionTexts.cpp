#include "LanguageSectionTexts.h"

#include "link/Settings.h"

namespace dunmere {

LanguageSectionTexts::LanguageSectionTexts(int language, QString configPath)
    : section_(QStringLiteral("Language") + QString::number(language)), path_(std::move(configPath))
{
}

QString LanguageSectionTexts::text(const QString& key) const
{
    return ReadSetting(section_, key, path_);
}

}  // namespace dunmere
