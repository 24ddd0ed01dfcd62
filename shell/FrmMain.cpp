#include "FrmMain.h"

#include "FrmHelp.h"
#include "datalog/ui/FrmData.h"
#include "datalog/ui/FrmResonator.h"
#include "FrmMessages.h"
#include "MainMenu.h"
#include "SensorPage.h"
#include "calibration/ui/FrmCalM.h"
#include "shell/core/MenuKeys.h"
#include "shell/core/StartupSettings.h"
#include "shell/core/ValueLists.h"
#include "shell/core/Twips.h"
#include "shell/maintab/MainTabLayout.h"

#include "language/LanguageLoading.h"
#include "language/LanguageTexts.h"
#include "link/Clock.h"
#include "link/DataFolder.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/NumberRules.h"
#include "link/Settings.h"
#include "link/ValueFormat.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"
#include "shell/pages/core/PagesCore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace dunmere {

namespace {

constexpr int WidthTwips = 10785;
constexpr int HeightTwips = 8160;
constexpr int TaskIntervalMs = 200;
constexpr int TabMargin = 6;

QByteArray storedMainTab()
{
    QFile file(QStringLiteral(":/dunmere/MainTab.bag"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

FrmMain::FrmMain(Link& link, LanguageTexts& texts, TransportFactory& factory, QWidget* parent)
    : QMainWindow(parent),
      link_(link),
      texts_(texts),
      configPath_(ConfigFilePath()),
      guard_(link),
      messages_(new FrmMessages(link.state(), texts, this)),
      switch_(link, factory, adapters_, configPath_),
      sensorBus_(link, sensorModel_, messages_, &texts)
{
    setObjectName(QStringLiteral("FrmMain"));
    taskTimer_.setObjectName(QStringLiteral("TaskTimer"));
    taskTimer_.setInterval(TaskIntervalMs);
    connect(&taskTimer_, &ClockTimer::timeout, this, &FrmMain::onTaskTimer);

    link_.setMessages(messages_);
    link_.setTexts(&texts_);
    switch_.setHost(this);
    switch_.setMessages(messages_);
    switch_.setTexts(&texts_);
    sensorModel_.setReport(this);
    // Over TCP every search starts from a fresh connection to the adapter in use.
    sensorBus_.setReconnect([this] { switch_.SetIPPort(switch_.state().CurrentAdapter, false); });

    menu_ = new MainMenu(menuBar(), texts_);
    connect(menu_, &MainMenu::clicked, this, &FrmMain::onMenuClicked);

    buildMainTab();
    connectSensorPage();
    connect(&texts_, &LanguageTexts::textsLoaded, this, &FrmMain::applyTexts);
}

FrmMain::~FrmMain()
{
    taskTimer_.stop();
    sensorModel_.setReport(nullptr);
    switch_.setHost(nullptr);
    link_.setMessages(nullptr);
}

FrmHelp* FrmMain::helpWindow() const { return help_; }

FrmData* FrmMain::dataWindow() const { return data_; }

FrmResonator* FrmMain::resonatorWindow() const { return resonator_; }

// ---- layout

void FrmMain::buildMainTab()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("FrmMainClient"));
    setCentralWidget(central);
    mainTab_ = new Pagoline(central);
    mainTab_->setObjectName(QStringLiteral("MainTab"));

    // The page containers are the host controls the saved form recorded per tab.
    sensorPage_ = new SensorPage(mainTab_);
    pageContainers_[0] = sensorPage_;
    buildPages();
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(TabMargin, TabMargin, TabMargin, TabMargin);
    layout->addWidget(mainTab_);
    resize(Twips(WidthTwips), Twips(HeightTwips));
    QMainWindow::layout()->activate();
    layout->activate();
    placePageContainers();
    if (!mainTab_->ReadProperties(PropertyBag::fromBytes(storedMainTab())))
        DebugLog(QStringLiteral("MainTab properties could not be read"), 10);
    connect(mainTab_, &Pagoline::Click, this, [this](short previousTab) { onMainTabClick(previousTab); });
}

void FrmMain::placePageContainers()
{
    // Below two rows of tabs, so the pages fit whether or not the Advanced tab is on show.
    const int top = 2 * maintab::TabHeightPixels + 6;
    const QRect page(4, top, mainTab_->width() - 8, mainTab_->height() - top - 4);
    for (QWidget* container : pageContainers_)
        container->setGeometry(page);
}

// ---- start-up

void FrmMain::load()
{
    DebugLog(QStringLiteral("Main form loading"), 15);
    const QSize size(Twips(WidthTwips), Twips(HeightTwips));
    resize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));

    mainTab_->setTab(0);
    mainTab_->setTabEnabled(1, false);
    mainTab_->setTabEnabled(2, false);
    mainTab_->setTabVisible(3, false);
    mainTab_->setTabsPerRow(maintab::TabsPerRow);

    if (!settingsFilePresent())
        return;

    editionType_ = ReadEditionType(configPath_);
    // Before the texts: some captions depend on the edition ("High Brix" against "High %").
    applyEditionLayout();
    if (!link_.state().ProgramClosing)
        LoadLanguageSettings(texts_);
    pages_->accessLevels().setStoredConfigurationLock(ReadDisableConfig(configPath_));
    searchProbeMs_ = ReadSearchSpeed(configPath_);

    setVisible(!link_.state().ProgramClosing);
    FillColourTable();
    QCoreApplication::processEvents();
    SetDecimalComma(ProbeDecimalComma());

    openLastTransport();
    Clock::current().sleep(100);
    InitTasks();
    exitIfClosing();
}

bool FrmMain::settingsFilePresent()
{
    QDir().mkpath(DataFolder());
    if (QFileInfo::exists(configPath_))
        return true;
    // The language texts live in the missing file, so this one message cannot be translated.
    DebugLog(QStringLiteral("Settings file missing: ") + configPath_, 10);
    if (!link_.state().ProgramClosing)
        messages_->show(QStringLiteral("The settings file %1 is missing; Dunmere cannot start without it.")
                            .arg(QDir::toNativeSeparators(configPath_)),
                        MessageButtons::Ok);
    ExitApp();
    return false;
}

void FrmMain::applyEditionLayout()
{
    const bool brix = editionType_ == 1;
    pages_->setEditionType(editionType_);
    setWindowTitle(MainWindowCaption(brix));
}

// ---- InitTasks and the task timer

void FrmMain::InitTasks()
{
    // Inside a tick the tick restarts the timer as its last step; on its own the search must
    // not let the timer fire from inside its waits either.
    const bool insideTick = guard_.tickInProgress();
    taskTimer_.stop();
    ExchangeGuard::Scope busy(guard_);
    requests_.clearForInitTasks();
    pages_->endOutputTest();
    sensorPage_->CmdSearch()->setEnabled(false);
    mainTab_->setEnabled(false);
    if (!link_.state().ProgramClosing)
        runSensorSearch();
    mainTab_->setEnabled(true);
    sensorPage_->CmdSearch()->setEnabled(true);
    // Clicks on the rows of before the search no longer mean anything.
    deferredBoxClicks_.clear();
    deferredRowSelection_ = -1;
    if (noSensorFound())
        sensorPage_->CmdSearch()->setEnabled(transportActive());
    else if (!insideTick && !link_.state().ProgramClosing)
        taskTimer_.start();
}

bool FrmMain::transportActive() const { return link_.state().ComPortOpen || link_.state().IPMode; }

void FrmMain::onTaskTimer()
{
    // Fired from inside the wait of a search or exchange that is not a tick's own: that work
    // is not finished, so this tick has nothing it may do yet.
    if (exited_ || guard_.busy())
        return;
    // The calibration window has the bus until it leaves; it restarts this timer then.
    if (calibrationWindow_) {
        taskTimer_.stop();
        return;
    }
    DebugLog(QStringLiteral("Running Task Timer"), 15);
    taskTimer_.stop();
    bool restart = false;
    {
        ExchangeGuard::Scope busy(guard_);
        runDeferredSensorClicks();
        if (transportActive()) {
            switch (mainTab_->Tab()) {
            case 0: sensorPageTick(); break;
            case 1: configurationPageTick(); break;
            default: diagnosticsPageTick(); break;
            }
        }
        QCoreApplication::processEvents();
        Clock::current().sleep(10);

        if (requests_.CalibrationWindowRequest && !link_.state().ProgramClosing)
            openCalibrationWindow();
        requests_.CalibrationWindowRequest = false;
        // The adapter set-up and data windows come with their own parts of the program; their
        // buttons stay disabled until then, so a request that reached here anyway is dropped
        // rather than left to fire later.
        if (requests_.EthernetSetupRequest) {
            requests_.EthernetSetupRequest = false;
            mainTab_->setEnabled(true);
        }
        if (calibrationWindow_) {
            // The calibration window runs its own timer until it leaves.
        } else if (requests_.TrendRequest) {
            // The data window keeps the task timer stopped until it exits.
            openDataWindow();
        } else if (link_.state().ProgramClosing && !link_.exchangeInProgress()) {
            DebugLog(QStringLiteral("Run ExitApp"), 15);
        } else if (transportActive()) {
            restart = true;
        } else if (!noSensorFound()) {
            // The transport went away under known sensors: look again (this also stops the
            // timer when nothing answers any more).
            InitTasks();
            restart = true;
        }
        if (!link_.state().ProgramClosing && serveTransportRequests())
            restart = true;
        DebugLog(QStringLiteral("Task timer complete"), 15);
    }
    // The very last step, so no tick can start inside this one's waits. A port or search asked
    // for during this tick's last search still needs a tick, sensors or not.
    const bool transportRequested = requests_.ComPortRequest != 0 || requests_.AdapterRequest != 0 || requests_.ReinitRequest;
    if (((restart && !noSensorFound()) || transportRequested) && !exited_ && !link_.state().ProgramClosing)
        taskTimer_.start();
    exitIfClosing();
}

void FrmMain::wakeTaskTimer()
{
    // A tick in progress restarts the timer itself at its end.
    if (!guard_.tickInProgress() && !taskTimer_.isActive() && !exited_ && !calibrationWindow_)
        taskTimer_.start();
}

bool FrmMain::serveTransportRequests()
{
    if (requests_.ComPortRequest != 0) {
        const int port = std::exchange(requests_.ComPortRequest, 0);
        switchToComPort(port);
        requests_.ReinitRequest = true;
        menu_->setItemEnabled(QStringLiteral("mnuCommunications"), true);
    }
    if (requests_.AdapterRequest != 0) {
        const int adapter = std::exchange(requests_.AdapterRequest, 0);
        switchToAdapter(adapter, true);
        requests_.ReinitRequest = true;
        menu_->setItemEnabled(QStringLiteral("mnuCommunications"), true);
    }
    // Cleared before the search, so a Search pressed during it asks for one more.
    if (!std::exchange(requests_.ReinitRequest, false))
        return false;
    InitTasks();
    return true;
}

void FrmMain::configurationPageTick() { pages_->runConfigurationTick(); }

void FrmMain::diagnosticsPageTick() { pages_->runDiagnosticsTick(); }

// ---- closing

void FrmMain::closeEvent(QCloseEvent* event)
{
    if (exited_) {
        event->accept();
        return;
    }
    // The window stays until ExitApp has unloaded everything.
    event->ignore();
    if (!(noSensorFound() && !guard_.busy())) {
        link_.blockForClosing();
        // A tick or a search is waiting inside an exchange: every wait now ends at once and
        // that work runs ExitApp when it returns. Unloading here would pull the windows away
        // from under it.
        if (guard_.busy())
            return;
        DebugLog(QStringLiteral("Main form unloading"), 15);
    }
    ExitApp();
}

void FrmMain::exitIfClosing()
{
    if (link_.state().ProgramClosing && !guard_.busy() && !exited_ && !link_.exchangeInProgress())
        ExitApp();
}

void FrmMain::ExitApp()
{
    if (exited_)
        return;
    exited_ = true;
    DebugLog(QStringLiteral("ExitApp running"), 15);
    taskTimer_.stop();
    link_.blockForClosing();
    // The data window's log gets its final flush before the program goes.
    if (data_)
        data_->unload();
    if (calibrationWindow_) {
        calibrationWindow_->updateTimer().stop();
        calibrationWindow_->deleteLater();
    }
    if (help_)
        help_->close();
    messages_->hide();
    if (resonator_)
        resonator_->close();
    hide();
    emit exitApp();
}

// ---- menus

void FrmMain::BuildMenu()
{
    MenuContents contents;
    contents.languageNames = LanguageNames();
    contents.portAvailable = availablePorts();
    contents.adapterKeys = adapterKeys();
    reindexCurrentAdapter(contents.adapterKeys);
    menu_->build(contents, menuTicks());
    // Adapters are managed in windows that come with the adapter part of the program.
    for (const char* key : {"mnuAddTCPIP", "mnuSearchEA", "mnuEditEA"})
        menu_->setItemEnabled(QString::fromLatin1(key), false);
}

void FrmMain::RefreshMenuTicks() { menu_->refreshTicks(menuTicks()); }

void FrmMain::onMenuClicked(const QString& key)
{
    const MenuCommand command = ParseMenuKey(key);
    switch (command.kind) {
    case MenuCommand::Kind::Language:
        chooseLanguage(command.number);
        break;
    case MenuCommand::Kind::ComPort:
        if (requests_.AdapterRequest != 0)
            break;
        requests_.ComPortRequest = command.number;
        menu_->setItemEnabled(QStringLiteral("mnuCommunications"), false);
        wakeTaskTimer();
        break;
    case MenuCommand::Kind::Adapter:
        DebugLog(key, 20);
        if (requests_.ComPortRequest != 0)
            break;
        requests_.AdapterRequest = command.number;
        menu_->setItemEnabled(QStringLiteral("mnuCommunications"), false);
        wakeTaskTimer();
        break;
    case MenuCommand::Kind::Help:
        showHelp();
        break;
    case MenuCommand::Kind::SearchSpeed:
        chooseSearchSpeed(command.number);
        break;
    case MenuCommand::Kind::SearchAdapters:
    case MenuCommand::Kind::EditAdapters:
    case MenuCommand::Kind::AddAdapter:
    case MenuCommand::Kind::None:
        break;
    }
}

void FrmMain::chooseLanguage(int language)
{
    if (!SetLanguage(language, texts_)) {
        // A language item exists for every number up to NumLangs, so this means the file
        // changed under the program: show the menu as the file now says.
        BuildMenu();
    }
}

void FrmMain::showHelp()
{
    const QString path = HelpFilePath(texts_.language(), texts_.text(QStringLiteral("Lang")));
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        messages_->show(texts_.text(QStringLiteral("LangHelp")) + QLatin1Char(' ') + texts_.text(QStringLiteral("LangInvalid")),
                        MessageButtons::Ok);
        return;
    }
    if (help_)
        return;
    help_ = new FrmHelp(path, texts_.text(QStringLiteral("LangHelp")), this);
    help_->load(link_.state().ProgramClosing);
}

void FrmMain::chooseSearchSpeed(int probeMs)
{
    searchProbeMs_ = probeMs;
    RefreshMenuTicks();
    WriteSetting(QStringLiteral("Settings"), QStringLiteral("SearchSpeed"), QString::number(probeMs), configPath_);
}

void FrmMain::onMainTabClick(int previousTab)
{
    const int tab = mainTab_->Tab();
    for (const char* key : {"mnuCommunications", "mnuLanguage", "mnuSearchSpeed"})
        menu_->setItemEnabled(QString::fromLatin1(key), tab == 0);
    if (tab == 1) {
        pages_->configurationPageEntered();
    } else if (tab == 2 || tab == 3) {
        AdapterConnection connection;
        connection.viaTcp = link_.state().IPMode;
        connection.remoteHost = switch_.state().RemoteHostText;
        connection.remotePort = QString::number(switch_.state().RemotePortValue);
        connection.localAddress = switch_.state().LocalIPText;
        pages_->diagnosticsPageEntered(previousTab, connection);
    }
}

// ---- texts

void FrmMain::applyTexts()
{
    BuildMenu();
    static const char* const tabKeys[] = {"LangSensor", "LangConfiguration", "LangDiagnostics", "LangAdvancedConfig"};
    for (int tab = 0; tab < maintab::PageCount; ++tab)
        mainTab_->setTabCaption(short(tab), texts_.text(QString::fromLatin1(tabKeys[tab])));
    applyMainTexts();
    pages_->applyTexts();
    // The refill of the page on show reads the sensor, so it waits for the next tick.
    const int tab = mainTab_->Tab();
    if (tab == 1 && !noSensorFound()) {
        requests_.FillConfigRequest = true;
    } else if (tab == 2 || tab == 3) {
        requests_.FullRefreshRequest = true;
        requests_.DiagnosticsTick = 5;
    }
}

void FrmMain::applyMainTexts()
{
    auto t = [this](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    sensorPage_->CmdSearch()->setText(t("LangSearch"));
    // A doubled ampersand shows as one.
    sensorPage_->CmdTrend()->setText(t("LangTrend") + QLatin1Char(' ') + t("LangGraph") + QStringLiteral(" && ") + t("LangLogging"));
    for (int r = 0; r < SensorPage::RowCount; ++r)
        sensorPage_->row(r).CmdAddrOK->setText(t("LangUpdate"));
    showConnectedVia();
    sensorPage_->fillAddressLists();
    reselectRowAddresses();
    refillValueLists();
}

void FrmMain::refillValueLists()
{
    const QStringList items = ValueListItems(texts_, secondChannel(), brixAvailable());
    const std::pair<QComboBox*, const char*> lists[] = {{sensorPage_->ListValue(), "ListValue"},
                                                         {sensorPage_->ListTemp(), "ListTemp"}};
    for (const auto& [list, key] : lists) {
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(RestoredListIndex(ReadSetting(QStringLiteral("Settings"), QString::fromLatin1(key), configPath_),
                                                int(items.size())));
    }
}

}  // namespace dunmere
