#include "CliTexts.h"

#include "language/ShippedData.h"
#include "link/DataFolder.h"
#include "link/Settings.h"

#include <QFileInfo>
#include <cstdio>

namespace dunmere::cli {

IniTexts::IniTexts()
{
    // Read only: the command line never seeds or rewrites the data folder.
    path_ = ConfigFilePath();
    if (!QFileInfo::exists(path_))
        path_ = ShippedDataFolder() + QStringLiteral("/config.ini");
    bool ok = false;
    const int language = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Language"), path_).toInt(&ok);
    language_ = ok && language >= 0 ? language : 0;
    section_ = QStringLiteral("Language%1").arg(language_);
}

QString IniTexts::text(const QString& key) const
{
    const QString value = ReadSetting(section_, key, path_);
    return value.isEmpty() ? key : value;
}

bool StderrMessages::show(const QString& text, MessageButtons)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return true;
}

}  // namespace dunmere::cli
