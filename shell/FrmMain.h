#pragma once
// The main window: start-up, the task timer that does all of the main window's sensor work
// one step per tick, the menus, the four pages of MainTab, closing. Buttons and menus only
// leave requests; the next tick carries out the one that belongs to the page on show.

#include "shell/core/ExchangeGuard.h"
#include "shell/core/TaskRequests.h"

#include "link/ClockTimer.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class Pagoline;

namespace dunmere {

class FrmHelp;
class FrmMessages;
class LanguageTexts;
class Link;
class MainMenu;
class SensorPage;
class Transport;
struct MenuTicks;

class FrmMain final : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Link& link, LanguageTexts& texts, QWidget* parent = nullptr);
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
    [[nodiscard]] const ExchangeGuard& guard() const { return guard_; }
    [[nodiscard]] int searchProbeTimeoutMs() const { return searchProbeMs_; }
    [[nodiscard]] bool exited() const { return exited_; }
    [[nodiscard]] bool noSensorFound() const;

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
    void restartTimerUnlessNoSensor();
    void serveTransportRequests();
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
    void ShowDemonstrationValues();
    void setDemonstrationDisabled();

    Link& link_;
    LanguageTexts& texts_;
    ExchangeGuard guard_;
    TaskRequests requests_;
    ClockTimer taskTimer_;
    Transport* simulated_ = nullptr;

    Pagoline* mainTab_ = nullptr;
    SensorPage* sensorPage_ = nullptr;
    std::array<QWidget*, 4> pageContainers_{};
    MainMenu* menu_ = nullptr;
    FrmMessages* messages_ = nullptr;
    QPointer<FrmHelp> help_;

    QString configPath_;
    int editionType_ = 0;
    int searchProbeMs_ = 0;
    bool loaded_ = false;
    bool exited_ = false;
};

}  // namespace dunmere
