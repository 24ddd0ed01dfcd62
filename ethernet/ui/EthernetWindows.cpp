#include "EthernetWindows.h"

#include "FrmAddEthernetAdapter.h"
#include "FrmEditEthernetAdapters.h"
#include "FrmEthernetDiags.h"
#include "FrmEthernetSetup.h"
#include "FrmIPSearchActive.h"

#include "link/Link.h"

namespace dunmere {

EthernetWindows::EthernetWindows(EthernetAdapters& list, QString databasePath, Messages* messages,
                                 const TextSource& texts, const Link& link, const TransportState& transport,
                                 EthernetWindowHost& host)
    : ctx_{list, std::move(databasePath), socket_, messages, texts, link.state().ProgramClosing, host},
      link_(link),
      transport_(transport)
{
}

EthernetWindows::~EthernetWindows() { unloadAll(); }

void EthernetWindows::addAdapter()
{
    {
        FrmAddEthernetAdapter window(ctx_, ctx_.host.mainWindow());
        CentreOver(window, ctx_.host.mainWindow());
        window.exec();
    }
    ctx_.host.rebuildMenus();
}

void EthernetWindows::searchAdapters()
{
    FrmIPSearchActive::run(ctx_, list_);
    ctx_.host.rebuildMenus();
}

void EthernetWindows::showAdapterList()
{
    if (!list_)
        list_ = new FrmEditEthernetAdapters(ctx_, ctx_.host.mainWindow());
    list_->show();
    list_->raise();
    list_->activateWindow();
}

void EthernetWindows::showSetup()
{
    bool search = false;
    {
        FrmEthernetSetup window(ctx_, ctx_.host.mainWindow());
        CentreOver(window, ctx_.host.mainWindow());
        window.show();
        window.load();
        if (window.isVisible())
            window.exec();
        search = window.searchWanted();
    }
    if (search) {
        ctx_.host.showSensorPage();
        searchAdapters();
    }
}

void EthernetWindows::showDiagnostics()
{
    if (!diags_)
        diags_ = new FrmEthernetDiags(link_, transport_, ctx_.texts, ctx_.host.mainWindow());
    diags_->hide();
    CentreOver(*diags_, ctx_.host.mainWindow());
    diags_->show();
}

void EthernetWindows::refreshDiagnostics()
{
    if (diags_ && !ctx_.closing)
        diags_->UpdateData();
}

void EthernetWindows::applyTexts()
{
    if (diags_)
        diags_->applyTexts();
}

void EthernetWindows::unloadDiagnostics() { delete diags_; }

void EthernetWindows::unloadAll()
{
    unloadDiagnostics();
    if (list_) {
        // The list window's own unload would write the list; the program ends without it.
        QString error;
        (void)ctx_.list.SaveToDB(ctx_.databasePath, &error);
        delete list_;
    }
}

}  // namespace dunmere
