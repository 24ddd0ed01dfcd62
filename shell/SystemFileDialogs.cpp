#include "SystemFileDialogs.h"

#include <QFileDialog>

namespace dunmere {

SystemFileDialogs::SystemFileDialogs(QWidget* window) : QObject(window), window_(window) {}

QString SystemFileDialogs::openFile(const QString& filter, const QString& startFolder)
{
    // Only an existing file can be picked; cancel gives an empty name.
    return QFileDialog::getOpenFileName(window_, QString(), startFolder, filter, nullptr, QFileDialog::ReadOnly);
}

}  // namespace dunmere
