// The main window's side of the Configuration, Diagnostics and Advanced pages: their widgets
// in MainTab, and what the pages ask of the main window.

#include "FrmMain.h"

#include "FrmMessages.h"
#include "SensorPage.h"
#include "SystemFileDialogs.h"
#include "shell/pages/AdvancedPage.h"
#include "shell/pages/ConfigurationPage.h"
#include "shell/pages/DiagnosticsPage.h"
#include "shell/pages/core/PagesCore.h"

#include "language/LanguageTexts.h"
#include "pagoline/core/Pagoline.h"

#include <QApplication>

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
    connect(pages_.get(), &PagesCore::valueListsRefilled, this, &FrmMain::refillValueLists);
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

}  // namespace dunmere
