// The main window's side of the transports: which one start-up opens, the switches the task
// timer serves, the status label and what the menus show of it.

#include "FrmMain.h"

#include "MainMenu.h"
#include "SensorPage.h"
#include "shell/core/MenuKeys.h"
#include "shell/core/StartupSettings.h"

#include "language/LanguageTexts.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "link/Transport.h"

#include <QLabel>
#include <QPushButton>

namespace dunmere {

namespace {

// The adapter opened at start-up: the last one whose key is the last connection's.
int adapterOf(const EthernetAdapters& adapters, const QString& lastIPAddress)
{
    int found = 0;
    for (int k = 1; k <= adapters.Count(); ++k) {
        if (adapters.Item(k)->Key == lastIPAddress)
            found = k;
    }
    return found;
}

}  // namespace

void FrmMain::openLastTransport()
{
    const bool closing = link_.state().ProgramClosing;
    // The simulated bus stands in for every real device: nothing is probed or opened.
    if (!simulated_)
        switch_.EnumerateComPorts();
    loadAdapterList();
    if (!closing)
        BuildMenu();
    if (simulated_) {
        link_.setTransport(simulated_);
        showConnectedVia();
        RefreshMenuTicks();
        return;
    }
    switch_.watchDevices();
    switch (ReadLastComms(configPath_)) {
    case LastTransport::Serial:
        switch_.SetComPort(ReadPortSetting(configPath_));
        break;
    case LastTransport::Tcp:
        switch_.SetIPPort(adapterOf(adapters_, switch_.state().LastIPAddress), true);
        break;
    case LastTransport::None:
        if (const int lowest = switch_.ports().lowestAvailablePort(); lowest != 0)
            switch_.SetComPort(lowest);
        break;
    }
}

void FrmMain::switchToComPort(int port) { switch_.SetComPort(port); }

void FrmMain::switchToAdapter(int adapter, bool automatic) { switch_.SetIPPort(adapter, automatic); }

std::array<bool, 17> FrmMain::availablePorts() const
{
    std::array<bool, 17> available{};
    for (int port = 1; port <= ComPorts::MaxPort; ++port)
        available[port] = switch_.ports().PortAvailable(port);
    return available;
}

QStringList FrmMain::adapterKeys() const
{
    QStringList keys;
    for (const EthernetAdapter& adapter : adapters_)
        keys << adapter.Key;
    return keys;
}

void FrmMain::reindexCurrentAdapter(const QStringList& keys)
{
    TransportState& state = switch_.state();
    state.CurrentAdapter = ReindexCurrentAdapter(keys, state.LastIPAddress, state.CurrentAdapter);
    // The socket itself stays as it is; only the program stops counting on it.
    if (state.CurrentAdapter == 0 && link_.state().IPMode && link_.transport() != simulated_)
        link_.ClearIPMode();
}

MenuTicks FrmMain::menuTicks() const
{
    MenuTicks ticks;
    ticks.language = texts_.language();
    const bool real = link_.transport() != simulated_;
    ticks.comPortOpen = link_.state().ComPortOpen && real;
    ticks.currentComPort = switch_.state().CurrentComPort;
    ticks.ipMode = link_.state().IPMode && real;
    ticks.currentAdapter = switch_.state().CurrentAdapter;
    ticks.searchProbeMs = searchProbeMs_;
    return ticks;
}

void FrmMain::showConnectedVia()
{
    const QString via = texts_.text(QStringLiteral("LangConnectedVia"));
    const TransportState& state = switch_.state();
    if (simulated_ && link_.transport() == simulated_ && link_.state().ComPortOpen)
        // The simulator's own name: the same in every language.
        showStatus(via + QStringLiteral(" dunmere-sim"));
    else if (link_.state().IPMode)
        showStatus(via + QLatin1Char(' ') + state.RemoteHostText + QLatin1Char(':') + QString::number(state.RemotePortValue));
    else if (link_.state().ComPortOpen)
        showStatus(via + QLatin1Char(' ') + texts_.text(QStringLiteral("LangComPort")) + QLatin1Char(' ')
                   + QString::number(state.CurrentComPort));
    else
        showStatus(switch_.noPortStatus());
}

void FrmMain::setCommunicationsMenuEnabled(bool enabled)
{
    menu_->setItemEnabled(QStringLiteral("mnuCommunications"), enabled);
}

void FrmMain::showStatus(const QString& text)
{
    sensorPage_->lblConnectedVia()->setText(text);
    sensorPage_->lblConnectedVia()->show();
}

void FrmMain::hideStatus()
{
    sensorPage_->lblConnectedVia()->clear();
    sensorPage_->lblConnectedVia()->hide();
}

void FrmMain::clearSensorRows()
{
    sensorModel_.RemoveSensorInfo();
    sensorPage_->CmdSearch()->setEnabled(false);
}

}  // namespace dunmere
