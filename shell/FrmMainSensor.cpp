// The main window's side of the Sensor page: its buttons and lists, the search, the rows as
// the sensor model keeps them, and the live readings of each tick.

#include "FrmMain.h"

#include "FrmMessages.h"
#include "SensorPage.h"
#include "shell/pages/core/PageControls.h"
#include "shell/pages/core/PagesCore.h"
#include "shell/pages/core/SelectedSensor.h"

#include "language/LanguageTexts.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "pagoline/core/Pagoline.h"
#include "sensor/LiveReadings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dunmere {

void FrmMain::connectSensorPage()
{
    connect(sensorPage_, &SensorPage::searchClicked, this, &FrmMain::onSearchClicked);
    connect(sensorPage_, &SensorPage::addressOkClicked, this, &FrmMain::onAddressOkClicked);
    connect(sensorPage_, &SensorPage::trendClicked, this, &FrmMain::onTrendClicked);
    connect(sensorPage_, &SensorPage::checkBoxClicked, this, &FrmMain::onBoxClicked);
    connect(sensorPage_, &SensorPage::rowOptionClicked, this, &FrmMain::onRowOptionClicked);
    connect(sensorPage_, &SensorPage::valueListChosen, this,
            [this](int index) { onValueListChosen(QStringLiteral("ListValue"), index); });
    connect(sensorPage_, &SensorPage::tempListChosen, this,
            [this](int index) { onValueListChosen(QStringLiteral("ListTemp"), index); });
    for (int r = 0; r < SensorPage::RowCount; ++r) {
        const SensorPage::Row& row = sensorPage_->row(r);
        connect(row.TextName, &QLineEdit::textEdited, this, [this, r](const QString& name) { sensorModel_.setRowName(r, name); });
        connect(row.ListAddress, &QComboBox::activated, this, [this, r](int item) { sensorModel_.setRowListItem(r, item); });
    }
}

// ---- the user's actions

void FrmMain::onSearchClicked()
{
    if (link_.state().IPMode && (!link_.transport() || !link_.transport()->isOpen())) {
        messages_->show(texts_.text(QStringLiteral("LangEstablishEAConnection")), MessageButtons::Ok);
        return;
    }
    sensorPage_->CmdSearch()->setEnabled(false);
    requests_.ReinitRequest = true;
    wakeTaskTimer();
}

void FrmMain::onAddressOkClicked(int row) { requests_.AddressChangeRow = row; }

void FrmMain::onTrendClicked()
{
    sensorPage_->CmdTrend()->hide();
    requests_.TrendRequest = true;
}

// A tick or another exchange is waiting: a change of rows or selection now would reach the
// sensors (the pages adapt to the selected one) from inside that wait, so it waits too.
void FrmMain::onBoxClicked(int box, bool ticked)
{
    if (guard_.busy()) {
        deferredBoxClicks_.append({box, ticked});
        return;
    }
    sensorModel_.CheckBoxClicked(box, ticked);
}

void FrmMain::onRowOptionClicked(int row)
{
    // The option button is drawn by the model, not by the click.
    rowChanged(row);
    if (guard_.busy()) {
        deferredRowSelection_ = row;
        return;
    }
    sensorModel_.SelectRow(row);
}

void FrmMain::runDeferredSensorClicks()
{
    const auto boxes = std::exchange(deferredBoxClicks_, {});
    for (const auto& [box, ticked] : boxes)
        sensorModel_.CheckBoxClicked(box, ticked);
    if (const int row = std::exchange(deferredRowSelection_, -1); row >= 0 && sensorModel_.row(row).optionVisible)
        sensorModel_.SelectRow(row);
}

void FrmMain::onValueListChosen(const QString& key, int index)
{
    if (index >= 0)
        WriteSetting(QStringLiteral("Settings"), key, QString::number(index), configPath_);
}

// ---- search and tick

void FrmMain::runSensorSearch()
{
    sensorBus_.setProbeTimeout(searchProbeMs_);
    sensorBus_.SensorSearch();
}

void FrmMain::sensorPageTick()
{
    if (requests_.AddressChangeRow != TaskRequests::NoRow) {
        sensorPage_->CmdSearch()->setEnabled(false);
        mainTab_->setEnabled(false);
        sensorBus_.UpdateSensorAddr(requests_.AddressChangeRow);
        mainTab_->setEnabled(true);
        sensorPage_->CmdSearch()->setEnabled(true);
        requests_.AddressChangeRow = TaskRequests::NoRow;
    }
    DebugLog(QStringLiteral("Task Timer Reading Sensors"), 17);
    ReadSensors(link_, sensorModel_, sensorPage_->ListValue()->currentIndex(), sensorPage_->ListTemp()->currentIndex(),
                secondChannel());
    DebugLog(QStringLiteral("Task Timer Finished Reading Sensors"), 17);
}

int FrmMain::currentTypeCode() const { return pages_->typeState().CurrentTypeCode; }
bool FrmMain::secondChannel() const { return pages_->typeState().SecondChannel; }
bool FrmMain::brixAvailable() const { return pages_->typeState().BrixAvailable; }

void FrmMain::reselectRowAddresses()
{
    // The refilled lists show "1"; each row shows its own address again, so an update after
    // a rename never moves the sensor to address 1.
    for (int r = 0; r < SensorModel::RowCount; ++r)
        rowChanged(r);
}

// ---- what the sensor model reports

void FrmMain::boxChanged(int box)
{
    const SensorModel::AddressBox& state = sensorModel_.box(box);
    QCheckBox* check = sensorPage_->CheckAddr(box);
    check->setChecked(state.ticked);
    check->setEnabled(state.enabled);
}

void FrmMain::rowChanged(int r)
{
    const SensorModel::DisplayRow& state = sensorModel_.row(r);
    const SensorPage::Row& row = sensorPage_->row(r);
    row.FrameSensor->setTitle(state.caption);
    row.ListAddress->setCurrentIndex(state.listItem);
    if (row.TextName->text() != state.name)
        row.TextName->setText(state.name);
    row.LblReading->setText(state.reading);
    row.LblTemp->setText(state.temp);
    row.FrameSensor->setVisible(state.frameVisible);
    row.OptSensor->setVisible(state.optionVisible);
    sensorPage_->SelectSensorBox(r, state.optionSet);
}

void FrmMain::rowsInUse(bool any)
{
    sensorPage_->CmdTrend()->setVisible(any);
    sensorPage_->ListValue()->setVisible(any);
    sensorPage_->ListTemp()->setVisible(any);
    // With no row left no page may work on a sensor, the Advanced page included.
    setPagesEnabled(any, any, any);
}

void FrmMain::setPagesEnabled(bool configuration, bool diagnostics, bool advanced)
{
    mainTab_->setTabEnabled(1, configuration);
    mainTab_->setTabEnabled(2, diagnostics);
    mainTab_->setTabEnabled(3, advanced);
}

void FrmMain::adaptPages()
{
    const PageSensor sensor = SelectedPageSensor(sensorModel_);
    // The requests raised for the sensor selected before must not reach another one.
    if (sensor.address != adaptedAddress_)
        requests_.clearSelectedSensorRequests();
    adaptedAddress_ = sensor.address;
    if (sensor.address < 1)
        return;
    sensorModel_.CurrentAddress = sensor.address;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pages_->setSelectedSensor(sensor);
    pages_->adaptToSensorType();
    QApplication::restoreOverrideCursor();
}

void FrmMain::searchStarted()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setPagesEnabled(false, false, false);
}

void FrmMain::sensorsFound()
{
    pages_->setDemonstration(false);
    EnableControls(pages_->model(),
                   {"CmdConfigWrite", "CmdOutputTest", "cmdWater", "cmdAir", "cmdFactoryUpdate", "CmdUpgrade",
                    "CmdCoeffUpdate", "FrameAutoCal"},
                   true);
    const SensorPage::Row& row = sensorPage_->row(0);
    row.CmdAddrOK->setEnabled(true);
    row.ListAddress->setEnabled(true);
}

void FrmMain::demonstrationMode() { ShowDemonstrationValues(); }

void FrmMain::searchProbing(int address)
{
    showStatus(texts_.text(QStringLiteral("LangSearch")) + QStringLiteral(": ") + texts_.text(QStringLiteral("LangAddress"))
               + QStringLiteral(" %1 / %2").arg(address).arg(LastBusAddress));
}

void FrmMain::searchFinished()
{
    QApplication::restoreOverrideCursor();
    showConnectedVia();
}

void FrmMain::ShowDemonstrationValues()
{
    sensorModel_.ShowDemonstrationRow();
    sensorPage_->ListValue()->show();
    sensorPage_->ListTemp()->show();
    setPagesEnabled(true, true, true);
    const SensorPage::Row& row = sensorPage_->row(0);
    row.CmdAddrOK->setEnabled(false);
    row.ListAddress->setEnabled(false);
    sensorPage_->CmdTrend()->setEnabled(false);
    pages_->setDemonstration(true);
    pages_->showDemonstrationValues();
}

}  // namespace dunmere
