#pragma once
// The main window: start-up, the task timer that does all of the main window's sensor work
// one step per tick, the menus, the four pages of MainTab, closing. Buttons and menus only
// leave requests; the next tick carries out the one that belongs to the page on show.

#include "shell/core/ExchangeGuard.h"
#include "shell/core/TaskRequests.h"

#include "calibration/ui/FrmCalM.h"
#include "ethernet/EthernetAdapter.h"
#include "link/ClockTimer.h"
#include "link/FileDialogs.h"
#include "link/TransportSwitch.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class Pagoline;

namespace dunmere {

class FrmData;
class FrmHelp;
class FrmMessages;
class FrmResonator;
class LanguageTexts;
class Link;
class MainMenu;
class SensorPage;
class Transport;
struct MenuTicks;

class PagesCore;

class FrmMain final : public QMainWindow, private SensorPageReport, private TransportHost {
    Q_OBJECT
public:
    // factory: where the serial ports and adapter connections come from.
    FrmMain(Link& link, LanguageTexts& texts, TransportFactory& factory, QWidget* parent = nullptr);
    ~FrmMain() override;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // --simulate: start-up opens this in place of the last used transport. Not owned.
    void setSimulatedTransport(Transport* transport) { simulated_ = transport; }

    // The start-up sequence, up to the first search.
    void load();
    // Clears the requests, searches the bus and starts or stops the task timer.
    void InitTasks();
    // Unloads every window, once.
    void ExitApp();

    // For the other windows: refill the Configuration page, make the next refresh a full one.
    void requestConfigurationFill() { requests_.FillConfigRequest = true; }
    void requestFullRefresh() { requests_.FullRefreshRequest = true; }

    [[nodiscard]] TaskRequests& requests() { return requests_; }
    [[nodiscard]] ClockTimer& taskTimer() { return taskTimer_; }
    [[nodiscard]] FrmMessages& messages() { return *messages_; }
    [[nodiscard]] MainMenu& menu() { return *menu_; }
    [[nodiscard]] SensorPage& sensorPage() { return *sensorPage_; }
    [[nodiscard]] Pagoline& mainTab() { return *mainTab_; }
    [[nodiscard]] QWidget* pageContainer(int tab) const { return pageContainers_.at(tab); }
    [[nodiscard]] FrmHelp* helpWindow() const;
    [[nodiscard]] FrmData* dataWindow() const;
    [[nodiscard]] FrmResonator* resonatorWindow() const;
    [[nodiscard]] const ExchangeGuard& guard() const { return guard_; }
    [[nodiscard]] int searchProbeTimeoutMs() const { return searchProbeMs_; }
    [[nodiscard]] bool exited() const { return exited_; }
    [[nodiscard]] bool noSensorFound() const { return sensorModel_.NoSensorFound; }
    [[nodiscard]] SensorModel& sensorModel() { return sensorModel_; }
    [[nodiscard]] TransportSwitch& transportSwitch() { return switch_; }
    [[nodiscard]] EthernetAdapters& adapters() { return adapters_; }
    [[nodiscard]] PagesCore& pages() { return *pages_; }
    // The open calibration window, or nullptr.
    [[nodiscard]] FrmCalM* calibrationWindow() const;
    // What the moisture calibration window is opened with: the Sensor page's rows in use, the
    // calibration lock, the store in the data folder, the report's save dialog.
    [[nodiscard]] FrmCalM::Setup calibrationWindowSetup();
    // --screenshot: the calibration window on a store of its own; nullptr when it did not open.
    FrmCalM* openCalibrationWindowOn(const QString& storePath);

signals:
    // ExitApp has run: the program ends.
    void exitApp();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout
    void buildMainTab();
    void placePageContainers();

    // Start-up pieces
    [[nodiscard]] bool settingsFilePresent();
    void applyEditionLayout();
    void openLastTransport();

    // Task timer
    void onTaskTimer();
    void sensorPageTick();
    void configurationPageTick();
    void diagnosticsPageTick();
    // Starts the timer for a request a handler left, unless a tick will do it at its end.
    void wakeTaskTimer();
    // Serves the port, adapter and search requests; true when a search ran.
    bool serveTransportRequests();
    [[nodiscard]] bool transportActive() const;
    void exitIfClosing();

    // Transports
    void switchToComPort(int port);
    void switchToAdapter(int adapter, bool automatic);
    [[nodiscard]] std::array<bool, 17> availablePorts() const;
    [[nodiscard]] QStringList adapterKeys() const;
    void reindexCurrentAdapter(const QStringList& keys);
    [[nodiscard]] MenuTicks menuTicks() const;

    // Menus and pages
    void BuildMenu();
    void RefreshMenuTicks();
    void onMenuClicked(const QString& key);
    void chooseLanguage(int language);
    void showHelp();
    void chooseSearchSpeed(int probeMs);
    void onMainTabClick(int previousTab);

    // Texts
    void applyTexts();
    void applyMainTexts();
    void refillValueLists();
    void showConnectedVia();

    // Sensor page
    void runSensorSearch();
    void reselectRowAddresses();
    [[nodiscard]] int currentTypeCode() const;
    [[nodiscard]] bool secondChannel() const;
    [[nodiscard]] bool brixAvailable() const;
    void connectSensorPage();
    void onSearchClicked();
    void onAddressOkClicked(int row);
    void onTrendClicked();
    void onValueListChosen(const QString& key, int index);
    void onBoxClicked(int box, bool ticked);
    void onRowOptionClicked(int row);
    void runDeferredSensorClicks();
    void ShowDemonstrationValues();
    void setPagesEnabled(bool configuration, bool diagnostics, bool advanced);

    // The data and resonator windows, which stand in for the main window while they are open.
    void openDataWindow();
    void openResonatorWindow();
    // Calibration window: it hides this window and keeps the task timer stopped until it leaves.
    void openCalibrationWindow(const QString& storePath = {});
    void calibrationWindowLeft(bool sensorKnown);

    // Pages 1-3
    void buildPages();
    void applyAccessLayout();

    // SensorPageReport: the sensor model tells the Sensor page what changed.
    void boxChanged(int box) override;
    void rowChanged(int row) override;
    void rowsInUse(bool any) override;
    void adaptPages() override;
    void searchStarted() override;
    void searchProbing(int address) override;
    void sensorsFound() override;
    void demonstrationMode() override;
    void searchFinished() override;

    // TransportHost: what a transport switch asks of the main window.
    void stopTaskTimer() override { taskTimer_.stop(); }
    void setTransportChanged() override { sensorModel_.TransportChanged = true; }
    void setCommunicationsMenuEnabled(bool enabled) override;
    void refreshCommunicationsMenu() override { RefreshMenuTicks(); }
    void rebuildMenus() override { BuildMenu(); }
    void showStatus(const QString& text) override;
    void hideStatus() override;
    void clearSensorRows() override;
    void initTasks() override { InitTasks(); }
    [[nodiscard]] bool busy() const override { return guard_.busy(); }

    Link& link_;
    LanguageTexts& texts_;
    QString configPath_;
    ExchangeGuard guard_;
    TaskRequests requests_;
    ClockTimer taskTimer_;
    FrmMessages* messages_;
    Transport* simulated_ = nullptr;
    EthernetAdapters adapters_;
    TransportSwitch switch_;
    SensorModel sensorModel_;
    SensorBus sensorBus_;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<PagesCore> pages_;
    // User clicks that arrived while an exchange was waiting; the next tick carries them out.
    QList<std::pair<int, bool>> deferredBoxClicks_;
    int deferredRowSelection_ = -1;
    int adaptedAddress_ = -1;  // the sensor the pages were last adapted to

    Pagoline* mainTab_ = nullptr;
    SensorPage* sensorPage_ = nullptr;
    std::array<QWidget*, 4> pageContainers_{};
    MainMenu* menu_ = nullptr;
    QPointer<FrmHelp> help_;
    QPointer<FrmData> data_;
    QPointer<FrmResonator> resonator_;
    QPointer<FrmCalM> calibrationWindow_;

    int editionType_ = 0;
    int searchProbeMs_ = 0;
    bool exited_ = false;
};

}  // namespace dunmere
