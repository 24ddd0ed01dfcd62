#include "AdapterDatabaseError.h"

#include "ethernet/EthernetFunctions.h"
#include "link/DebugLog.h"

#include <QMessageBox>

namespace dunmere {

void ShowAdapterDatabaseError(QWidget* parent, const QString& error, bool programClosing)
{
    DebugLog(QString::fromLatin1(AdapterDatabaseErrorText) + QStringLiteral(": ") + error, 10);
    if (programClosing)
        return;
    QMessageBox::critical(parent, QStringLiteral("Error"),
                          QString::fromLatin1(AdapterDatabaseErrorText) + QLatin1Char('\n') + error);
}

}  // namespace dunmere
