#pragma once
// Finding adapters on the network and resetting one's address, over the configuration
// protocol: SearchAdapters broadcasts the configuration query from each of the PC's own
// addresses and adds every adapter that answers; QueryAdapterMac asks one adapter for its
// hardware address; ResetAdapterAddress sends the address reset for a hardware address.
// The local addresses and the broadcast hosts come from the LocalAddresses seam.

#include "EthernetAdapter.h"

#include "link/Messages.h"

#include <QString>

namespace dunmere {

class AdapterSocket;

// What a search shows while it runs: the search window with its Cancel button, the main
// window (and the adapter list window) hidden meanwhile. Every step does nothing by default.
class DiscoveryReport {
public:
    virtual ~DiscoveryReport() = default;
    virtual void searchStarted() {}
    // messagelabel2: "Checking IP Address " and the address.
    virtual void checkingAddress(const QString& line) { Q_UNUSED(line) }
    // bButtonPressed of the search window.
    [[nodiscard]] virtual bool cancelRequested() const { return false; }
    virtual void searchEnded() {}
};

struct SearchOutcome {
    int added = 0;
    bool cancelled = false;
    bool failed = false;  // a socket could not be bound or a send failed; nothing saved
    bool saved = false;
    QString saveError;
};

class AdapterDiscovery {
public:
    static constexpr int ReplyWaitMs = 5000;
    static constexpr int Tries = 3;
    static constexpr int MoreRepliesMs = 800;

    AdapterDiscovery(AdapterSocket& socket, EthernetAdapters& list, QString databasePath);

    void setReport(DiscoveryReport* report) { report_ = report; }
    // Messages are not shown while closing is set (see LinkState::ProgramClosing).
    void setMessages(Messages* messages, const TextSource* texts, const bool* closing = nullptr);

    // Adds the adapters that answer, then saves the list (unless the search failed).
    SearchOutcome SearchAdapters();
    // The hardware address of the adapter at address, as "0:20:4A:6E:C:D"; empty when no
    // adapter with that address answered.
    [[nodiscard]] QString QueryAdapterMac(const QString& address);
    // Broadcasts the address reset for that hardware address from every local address.
    // False when the text does not end in two hexadecimal byte groups.
    bool ResetAdapterAddress(const QString& hardwareAddress);

private:
    // Sends the query and waits for a first reply, resending after each fruitless wait.
    [[nodiscard]] bool queryAndWait(const QByteArray& query);
    [[nodiscard]] bool sendToAll(const QByteArray& datagram);
    [[nodiscard]] bool cancelled() const { return report_ && report_->cancelRequested(); }
    void message(const char* key);

    AdapterSocket& socket_;
    EthernetAdapters& list_;
    QString databasePath_;
    DiscoveryReport* report_ = nullptr;
    Messages* messages_ = nullptr;
    const TextSource* texts_ = nullptr;
    const bool* closing_ = nullptr;
};

}  // namespace dunmere
