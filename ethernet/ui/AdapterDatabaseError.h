#pragma once
// The system's message box for an adapter database that cannot be read or written.

#include <QString>

class QWidget;

namespace dunmere {

void ShowAdapterDatabaseError(QWidget* parent, const QString& error, bool programClosing);

}  // namespace dunmere
