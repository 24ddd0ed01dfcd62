#pragma once
// The main window's adapter windows and its search socket (WinsockSearch): the add window and
// the set-up window modal, the list and the diagnostics windows loaded once and kept, the
// search window for the length of a search.

#include "EthernetContext.h"
#include "FrmEditEthernetAdapters.h"
#include "FrmEthernetDiags.h"

#include "ethernet/AdapterSocket.h"

#include <QObject>
#include <QPointer>

namespace dunmere {

class Link;
struct TransportState;

class EthernetWindows final : public QObject {
    Q_OBJECT
public:
    EthernetWindows(EthernetAdapters& list, QString databasePath, Messages* messages, const TextSource& texts,
                    const Link& link, const TransportState& transport, EthernetWindowHost& host);
    ~EthernetWindows() override;
    EthernetWindows(const EthernetWindows&) = delete;
    EthernetWindows& operator=(const EthernetWindows&) = delete;

    // "mnuAddTCPIP": the add window, modal; the menus are rebuilt when it closes.
    void addAdapter();
    // "mnuSearchEA": the search, then the menus rebuilt.
    void searchAdapters();
    // "mnuEditEA": the list window, not modal.
    void showAdapterList();
    // cmdEASettings (through the task timer, or at once in demonstration mode): the set-up
    // window, modal.
    void showSetup();
    // cmdEADiagnostics: the diagnostics window centred over the main window, not modal.
    void showDiagnostics();
    // After a connect: the diagnostics window shows the new connection.
    void refreshDiagnostics();
    void applyTexts();
    // ExitApp: the diagnostics window goes first of all windows.
    void unloadDiagnostics();
    void unloadAll();

    [[nodiscard]] bool EditListOpen() const { return !list_.isNull(); }
    [[nodiscard]] FrmEditEthernetAdapters* listWindow() const { return list_; }
    [[nodiscard]] FrmEthernetDiags* diagnosticsWindow() const { return diags_; }
    [[nodiscard]] AdapterSocket& searchSocket() { return socket_; }
    [[nodiscard]] const EthernetContext& context() const { return ctx_; }

private:
    AdapterSocket socket_;
    EthernetContext ctx_;
    const Link& link_;
    const TransportState& transport_;
    QPointer<FrmEditEthernetAdapters> list_;
    QPointer<FrmEthernetDiags> diags_;
};

}  // namespace dunmere
