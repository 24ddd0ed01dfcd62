#include "Screenshots.h"

#include "FrmHelp.h"
#include "FrmMain.h"
#include "MainMenu.h"

#include "link/Clock.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace dunmere {

namespace {

constexpr int PageSettleMs = 3000;
const char* const pageNames[] = {"sensor", "configuration", "diagnostics", "advanced"};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
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
}

}  // namespace dunmere
