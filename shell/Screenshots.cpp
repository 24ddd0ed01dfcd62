#include "Screenshots.h"

#include "FrmHelp.h"
#include "FrmMain.h"
#include "MainMenu.h"
#include "SensorPage.h"
#include "datalog/ui/FrmData.h"
#include "datalog/ui/FrmResonator.h"
#include "shell/pages/core/PagesCore.h"

#include "calibration/CalibrationNumbers.h"
#include "calibration/CalibrationStore.h"
#include "language/LanguageTexts.h"
#include "link/Clock.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

namespace dunmere {

namespace {

constexpr int PageSettleMs = 3000;
constexpr int TrendSettleMs = 8000;
constexpr int ResonatorSettleMs = 2000;
const char* const pageNames[] = {"sensor", "configuration", "diagnostics", "advanced"};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void letTimePass(int ms)
{
    auto& clock = Clock::current();
    clock.waitUntil([] { return false; }, clock.nowMs() + ms);
}

}  // namespace

Screenshots::Screenshots(const QString& folder) : folder_(folder) { QDir().mkpath(folder_); }

bool Screenshots::write(QWidget& window, const QString& name)
{
    settle();
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    const bool ok = window.grab().save(path, "PNG");
    (ok ? written_ : failed_) << path;
    return ok;
}

void Screenshots::writeMainWindow(FrmMain& main)
{
    Pagoline& tabs = main.mainTab();
    const short shown = tabs.Tab();
    const bool advancedVisible = tabs.TabVisible(3);
    for (short tab = 0; tab < 4; ++tab) {
        // The Advanced page is hidden below the full access level; shown for its own picture.
        const bool enabled = tabs.TabEnabled(tab);
        if (tab == 3)
            tabs.setTabVisible(3, true);
        tabs.setTabEnabled(tab, true);
        tabs.setTab(tab);
        // Let a few ticks fill the page from the sensors.
        auto& clock = Clock::current();
        clock.waitUntil([] { return false; }, clock.nowMs() + PageSettleMs);
        write(main, QStringLiteral("main-%1-%2").arg(tab).arg(QString::fromLatin1(pageNames[tab])));
        tabs.setTab(shown);
        tabs.setTabEnabled(tab, enabled);
    }
    tabs.setTabVisible(3, advancedVisible);
    tabs.setTab(shown);

    if (QAction* help = main.menu().item(QStringLiteral("mnuHelp")))
        help->trigger();
    if (FrmHelp* window = main.helpWindow()) {
        write(*window, QStringLiteral("help"));
        window->close();
    }
    writeDataWindow(main);
    writeResonatorWindow(main);
}

void Screenshots::writeDataWindow(FrmMain& main)
{
    QPushButton* trend = main.sensorPage().CmdTrend();
    if (!trend->isVisible() || !trend->isEnabled())
        return;
    trend->click();
    auto& clock = Clock::current();
    clock.waitUntil([&main] { return main.dataWindow() != nullptr; }, clock.nowMs() + PageSettleMs);
    if (FrmData* data = main.dataWindow()) {
        letTimePass(TrendSettleMs);
        data->UpdateGraph();
        write(*data, QStringLiteral("frmdata"));
        data->close();
        clock.waitUntil([&main] { return main.dataWindow() == nullptr || main.isVisible(); }, clock.nowMs() + PageSettleMs);
    }
}

void Screenshots::writeResonatorWindow(FrmMain& main)
{
    if (main.noSensorFound())
        return;
    // The window is offered at the full access level: the code 8251 on the keypad (Key(i)
    // enters the digit i + 1), and log out again afterwards.
    PagesCore& pages = main.pages();
    for (int key : {7, 1, 4, 0})
        pages.buttonClicked(QStringLiteral("Key_%1").arg(key));
    pages.buttonClicked(QStringLiteral("cmdResonator"));
    if (FrmResonator* window = main.resonatorWindow()) {
        letTimePass(ResonatorSettleMs);
        write(*window, QStringLiteral("frmresonator"));
        window->close();
    }
    pages.buttonClicked(QStringLiteral("CmdLogOut_0"));
}

void Screenshots::writeCalibrationWindows(FrmMain& main)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("calibdb.mdb"));
    {
        const TextSource& texts = LanguageTexts::program();
        CalibrationStore store(CalibrationKind::Moisture);
        if (store.open(path) != CalibrationStore::OpenResult::Created || !store.add(QStringLiteral("Sand"), texts).done())
            return;
        CalibrationRecord r = *store.record(QStringLiteral("Sand"));
        const char* const points[][3] = {{"3 May", "38", "5.2"}, {"4 May", "45", "7.9"}, {"5 May", "52", "9.1"}, {"6 May", "41", "6.6"}};
        for (size_t i = 0; i < std::size(points); ++i)
            r.rows[i] = {true, QString::fromLatin1(points[i][0]), QString::fromLatin1(points[i][1]), QString::fromLatin1(points[i][2])};
        (void)store.save(r, texts);
    }
    FrmCalM* window = main.openCalibrationWindowOn(path);
    if (!window)
        return;
    auto& clock = Clock::current();
    clock.waitUntil([] { return false; }, clock.nowMs() + PageSettleMs);
    write(*window, QStringLiteral("frmcalm"));
    if (auto* calc = window->findChild<QPushButton*>(QStringLiteral("CmdMoistureCalc"))) {
        calc->click();
        if (auto* calculator = window->findChild<QWidget*>(QStringLiteral("FrmMoisture"))) {
            const char* const weights[][2] = {{"TextA", "0.25"}, {"TextB", "1.30"}, {"TextC", "1.21"}};
            for (const auto& w : weights)
                if (auto* box = calculator->findChild<QLineEdit*>(QString::fromLatin1(w[0])))
                    box->setText(WithSystemSeparator(QString::fromLatin1(w[1])));
            if (auto* button = calculator->findChild<QPushButton*>(QStringLiteral("CmdCalculate")))
                button->click();
            write(*calculator, QStringLiteral("frmmoisture"));
        }
    }
    window->close();
    clock.waitUntil([&main] { return main.calibrationWindow() == nullptr; }, clock.nowMs() + PageSettleMs);
}

}  // namespace dunmere
