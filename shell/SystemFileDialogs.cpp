#include "SystemFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace dunmere {

namespace {

// "Text|*.txt" pairs as Qt's "Text (*.txt)" entries; a text that shows its pattern already,
// such as "(*.txt)", is taken as it stands.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString shown = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        entries << (shown.contains(pattern) ? shown : shown + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace

QString SystemFileDialogs::openFile(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner_, QString(), folder, qtFilter(filter));
}

QString SystemFileDialogs::saveFile(const QString& folder, const QString& proposedName, const QString& filter)
{
    // The program asks its own replace question, in the user's language.
    return QFileDialog::getSaveFileName(owner_, QString(), QDir(folder).filePath(proposedName), qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

}  // namespace dunmere
