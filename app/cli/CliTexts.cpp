#include "CliTexts.h"

#include "CliOutput.h"

#include "language/ShippedData.h"
#include "link/DataFolder.h"
#include "link/Settings.h"

#include <QFileInfo>

namespace dunmere::cli {

IniTexts::IniTexts(int language)
{
    // Read only: the command line never seeds or rewrites the data folder.
    path_ = ConfigFilePath();
    if (!QFileInfo::exists(path_))
        path_ = ShippedDataFolder() + QStringLiteral("/config.ini");
    if (language < 0) {
        bool ok = false;
        language = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Language"), path_).toInt(&ok);
        if (!ok || language < 0)
            language = 0;
    }
    language_ = language;
    section_ = QStringLiteral("Language%1").arg(language_);
}

bool IniTexts::languageKnown() const
{
    return !ReadSetting(section_, QStringLiteral("LangLanguage"), path_).isEmpty();
}

QString IniTexts::text(const QString& key) const
{
    const QString value = ReadSetting(section_, key, path_);
    return value.isEmpty() ? key : value;
}

bool StderrMessages::show(const QString& text, MessageButtons)
{
    output_.message(text);
    return true;
}

}  // namespace dunmere::cli
