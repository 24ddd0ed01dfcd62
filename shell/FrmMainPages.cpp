// The main window's side of the Configuration, Diagnostics and Advanced pages: their widgets
// in MainTab, and what the pages ask of the main window.

#include "FrmMain.h"

#include "FrmMessages.h"
#include "datalog/ui/FrmData.h"
#include "datalog/ui/FrmResonator.h"
#include "shell/core/StartupSettings.h"
#include "SensorPage.h"
#include "SystemFileDialogs.h"
#include "shell/pages/AdvancedPage.h"
#include "shell/pages/ConfigurationPage.h"
#include "shell/pages/DiagnosticsPage.h"
#include "shell/pages/core/PagesCore.h"

#include "firmware/FirmwareUpgrade.h"
#include "language/LanguageTexts.h"
#include "link/DebugLog.h"
#include "pagoline/core/Pagoline.h"

#include <QApplication>
#include <QPushButton>

namespace dunmere {

void FrmMain::buildPages()
{
    fileDialogs_ = std::make_unique<SystemFileDialogs>(this);
    pages_ = std::make_unique<PagesCore>(link_, texts_, messages_, requests_, configPath_);
    pages_->setConfigurationFiles(fileDialogs_.get(), [this] { return texts_.language(); });
    pageContainers_[1] = new ConfigurationPage(*pages_, mainTab_);
    pageContainers_[2] = new DiagnosticsPage(*pages_, mainTab_);
    pageContainers_[3] = new AdvancedPage(*pages_, mainTab_);

    connect(pages_.get(), &PagesCore::busyChanged, this, [this](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        mainTab_->setEnabled(!busy);
    });
    connect(pages_.get(), &PagesCore::writePending, this, [this](bool pending) { mainTab_->setEnabled(!pending); });
    connect(pages_.get(), &PagesCore::hourglassChanged, this, [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(pages_.get(), &PagesCore::firmwareUpgraded, this, [this](int address, const QString& firmwareText) {
        TakeUpgradedFirmware(sensorModel_.SensorTable.at(address), firmwareText);
    });
    pages_->firmware().setFileDialogs(fileDialogs_.get());
    connect(pages_.get(), &PagesCore::valueListsRefilled, this, &FrmMain::refillValueLists);
    connect(pages_.get(), &PagesCore::resonatorRequested, this, &FrmMain::openResonatorWindow);
    connect(pages_.get(), &PagesCore::calibrationWindowRequested, this, [this] {
        // Demonstration mode has no ticks: the window opens at once.
        if (noSensorFound() && !guard_.busy()) {
            requests_.CalibrationWindowRequest = false;
            openCalibrationWindow();
        }
    });
    connect(&pages_->accessLevels(), &AccessLevels::layoutChanged, this, &FrmMain::applyAccessLayout);
    connect(&pages_->accessLevels(), &AccessLevels::pageEntryRerun, this,
            [this] { onMainTabClick(mainTab_->Tab()); });
}

void FrmMain::applyAccessLayout()
{
    const bool advanced = pages_->accessLevels().advancedTabVisible();
    if (mainTab_->TabVisible(3) != advanced)
        mainTab_->setTabVisible(3, advanced);
    mainTab_->setTabsPerRow(short(pages_->accessLevels().tabsPerRow()));
}

void FrmMain::openDataWindow()
{
    DebugLog(QStringLiteral("Task Timer loading trend page"), 15);
    taskTimer_.stop();
    data_ = new FrmData(DataWindowContext{link_, texts_, *messages_, guard_, sensorModel_, brixAvailable(), secondChannel(),
                                          ProgramVersionText},
                        this);
    connect(data_, &FrmData::exited, this, [this] {
        setEnabled(true);
        sensorPage_->CmdTrend()->show();
        if (link_.state().ProgramClosing)
            return;
        taskTimer_.start();
        show();
    });
    data_->open(this);
    requests_.TrendRequest = false;
}

void FrmMain::openResonatorWindow()
{
    if (resonator_ || sensorModel_.selectedAddress() < 0)
        return;
    resonator_ = new FrmResonator(link_, texts_, guard_, taskTimer_, this);
    connect(resonator_, &FrmResonator::closed, this, [this] {
        if (!link_.state().ProgramClosing)
            show();
    });
    resonator_->open(this, sensorModel_.selectedAddress());
}

}  // namespace dunmere
