#include "ShippedData.h"

#include "link/DataFolder.h"
#include "link/DebugLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dunmere {

namespace {

bool runFromBuildTree()
{
    if (!QCoreApplication::instance())
        return false;
    const QString build = QDir::cleanPath(QStringLiteral(DUNMERE_BUILD_DIR)) + QLatin1Char('/');
    return (QCoreApplication::applicationDirPath() + QLatin1Char('/')).startsWith(build);
}

// Copies through a temporary name so that a failed copy never leaves a partial file that
// would stop the next start from seeding again.
bool copyWhole(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return false;
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial))
        return false;
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

}  // namespace

QString ShippedDataFolder()
{
    if (runFromBuildTree())
        return QStringLiteral(DUNMERE_SOURCE_DATA_DIR);
    if (QCoreApplication::instance()) {
        const QString besideProgram = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../")
                                                      + QStringLiteral(DUNMERE_INSTALL_DATA_SUBDIR));
        if (QFileInfo::exists(besideProgram + QStringLiteral("/config.ini")))
            return besideProgram;
    }
    return QStringLiteral(DUNMERE_INSTALL_DATA_DIR);
}

QStringList SeedDataFolder(const QString& shippedDataDir)
{
    const QString target = DataFolder();
    if (QFileInfo::exists(target + QStringLiteral("config.ini")))
        return {};
    if (!QDir().mkpath(target)) {
        DebugLog(QStringLiteral("Unable to create data folder ") + target, 10);
        return {};
    }
    QStringList copied;
    const QDir shipped(shippedDataDir);
    // Help files first: config.ini is what marks the folder as seeded.
    const QDir help(shipped.filePath(QStringLiteral("help")));
    const QStringList helpFiles = help.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : helpFiles) {
        if (copyWhole(help.filePath(name), target + name))
            copied << name;
    }
    if (copyWhole(shipped.filePath(QStringLiteral("config.ini")), target + QStringLiteral("config.ini")))
        copied << QStringLiteral("config.ini");
    else
        DebugLog(QStringLiteral("Unable to copy config.ini from ") + shippedDataDir, 10);
    return copied;
}

}  // namespace dunmere
