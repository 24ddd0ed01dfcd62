// The main window's side of the Sensor page: its buttons and lists, the search and the rows.

#include "FrmMain.h"

#include "FrmMessages.h"
#include "SensorPage.h"

#include "language/LanguageTexts.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "link/Transport.h"

#include <QComboBox>
#include <QPushButton>

namespace dunmere {

void FrmMain::connectSensorPage()
{
    connect(sensorPage_, &SensorPage::searchClicked, this, &FrmMain::onSearchClicked);
    connect(sensorPage_, &SensorPage::addressOkClicked, this, &FrmMain::onAddressOkClicked);
    connect(sensorPage_, &SensorPage::trendClicked, this, &FrmMain::onTrendClicked);
    connect(sensorPage_, &SensorPage::valueListChosen, this,
            [this](int index) { onValueListChosen(QStringLiteral("ListValue"), index); });
    connect(sensorPage_, &SensorPage::tempListChosen, this,
            [this](int index) { onValueListChosen(QStringLiteral("ListTemp"), index); });
}

void FrmMain::onSearchClicked()
{
    if (link_.state().IPMode && (!link_.transport() || !link_.transport()->isOpen())) {
        messages_->show(texts_.text(QStringLiteral("LangEstablishEAConnection")), MessageButtons::Ok);
        return;
    }
    sensorPage_->CmdSearch()->setEnabled(false);
    requests_.ReinitRequest = true;
    if (!taskTimer_.isActive())
        taskTimer_.start();
}

void FrmMain::onAddressOkClicked(int row) { requests_.AddressChangeRow = row; }

void FrmMain::onTrendClicked()
{
    sensorPage_->CmdTrend()->hide();
    requests_.TrendRequest = true;
}

bool FrmMain::noSensorFound() const { return true; }
int FrmMain::currentTypeCode() const { return 0; }
bool FrmMain::secondChannel() const { return false; }
bool FrmMain::brixAvailable() const { return editionType_ == 1; }
void FrmMain::runSensorSearch() {}
void FrmMain::reselectRowAddresses() {}
void FrmMain::sensorPageTick() {}
void FrmMain::ShowDemonstrationValues() {}
void FrmMain::setDemonstrationDisabled() {}

}  // namespace dunmere
