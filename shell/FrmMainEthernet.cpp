// The main window's side of the Ethernet adapters: the list loaded at start-up, the set-up
// button, and what the adapter windows ask of the main window.

#include "FrmMain.h"

#include "SensorPage.h"

#include "ethernet/EthernetFunctions.h"
#include "ethernet/ui/AdapterDatabaseError.h"
#include "ethernet/ui/EthernetWindows.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "pagoline/core/Pagoline.h"

#include <QLabel>
#include <QTimer>

namespace dunmere {

void FrmMain::loadAdapterList()
{
    QString error;
    if (!LoadAdapterList(adapters_, EthernetDatabasePath(), configPath_, switch_.state().LastIPAddress, error)) {
        DebugLog(QStringLiteral("ReadAdapter Error = ") + error, 10);
        ShowAdapterDatabaseError(this, error, link_.state().ProgramClosing);
    }
}

void FrmMain::adapterMenuClicked(MenuCommand::Kind kind)
{
    // Clicked while a tick or a search waits for a sensor: the adapter windows come once that
    // work is done, not in the middle of it.
    if (guard_.busy()) {
        QTimer::singleShot(50, this, [this, kind] { adapterMenuClicked(kind); });
        return;
    }
    switch (kind) {
    case MenuCommand::Kind::SearchAdapters: {
        // No tick starts inside the search's waits.
        ExchangeGuard::Scope busy(guard_);
        ethernet_->searchAdapters();
        break;
    }
    case MenuCommand::Kind::EditAdapters:
        ethernet_->showAdapterList();
        break;
    case MenuCommand::Kind::AddAdapter:
        ethernet_->addAdapter();
        break;
    default:
        break;
    }
}

void FrmMain::onEthernetSetupClicked()
{
    mainTab_->setEnabled(false);
    if (!noSensorFound()) {
        requests_.EthernetSetupRequest = true;
        return;
    }
    DebugLog(QStringLiteral("Show Ethernet setup - in demo mode"), 20);
    ethernet_->showSetup();
    mainTab_->setEnabled(true);
}

void FrmMain::refreshEthernetDiagnostics() { ethernet_->refreshDiagnostics(); }

void FrmMain::adapterListClosed()
{
    BuildMenu();
    showStatus(QString());
    // Positions may have moved: reconnect to the adapter in use at its new place. After a
    // switch to a serial port there is none to go back to.
    if (link_.state().IPMode && switch_.state().CurrentAdapter != 0 && requests_.ComPortRequest == 0) {
        requests_.AdapterRequest = switch_.state().CurrentAdapter;
        if (!taskTimer_.isActive())
            taskTimer_.start();
    }
}

void FrmMain::showSensorPage()
{
    mainTab_->setTab(0);
    onMainTabClick(mainTab_->Tab());
}

}  // namespace dunmere
