// The main window's side of the transports: which one start-up opens, the switches the task
// timer serves, the status label and what the menus show of it.

#include "FrmMain.h"

#include "MainMenu.h"
#include "SensorPage.h"

#include "language/LanguageTexts.h"
#include "link/Link.h"
#include "link/Transport.h"
#include "shell/core/MenuKeys.h"

#include <QLabel>

namespace dunmere {

void FrmMain::openLastTransport()
{
    if (simulated_) {
        link_.setTransport(simulated_);
        showConnectedVia();
        RefreshMenuTicks();
    }
}

void FrmMain::switchToComPort(int port)
{
    Q_UNUSED(port);
}

void FrmMain::switchToAdapter(int adapter, bool automatic)
{
    Q_UNUSED(adapter);
    Q_UNUSED(automatic);
}

std::array<bool, 17> FrmMain::availablePorts() const { return {}; }

QStringList FrmMain::adapterKeys() const { return {}; }

void FrmMain::reindexCurrentAdapter(const QStringList& keys) { Q_UNUSED(keys); }

MenuTicks FrmMain::menuTicks() const
{
    MenuTicks ticks;
    ticks.language = texts_.language();
    ticks.comPortOpen = link_.state().ComPortOpen && link_.transport() != simulated_;
    ticks.ipMode = link_.state().IPMode;
    ticks.searchProbeMs = searchProbeMs_;
    return ticks;
}

void FrmMain::showConnectedVia()
{
    QLabel* label = sensorPage_->lblConnectedVia();
    const QString via = texts_.text(QStringLiteral("LangConnectedVia"));
    if (simulated_ && link_.transport() == simulated_ && (link_.state().ComPortOpen || link_.state().IPMode)) {
        label->setText(via + QStringLiteral(" the simulated bus"));
        label->show();
        return;
    }
    label->clear();
    label->hide();
}

}  // namespace dunmere
