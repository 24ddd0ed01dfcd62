#include "DataFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace dunmere {

QString DataFolder()
{
    QString base = qEnvironmentVariable("ALLUSERSPROFILE");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(base + QStringLiteral("/Quelmar/Dunmere")) + QLatin1Char('/');
}

QString ConfigFilePath() { return DataFolder() + QStringLiteral("config.ini"); }

QString DocumentsFolder()
{
    const QString folder = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                           + QStringLiteral("/Dunmere"));
    QDir().mkpath(folder);
    return folder;
}

}  // namespace dunmere
