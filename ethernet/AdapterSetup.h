#pragma once
// Reading and writing an adapter's network settings over the configuration protocol, sent to
// the one adapter's address: its 0xF9 record read (three tries), the new settings checked,
// the 0xFD record made from the record read and sent, and the 6000 ms the adapter takes to
// use them. The set-up window and dunmere-cli both run this.

#include "AdapterDatagrams.h"
#include "EthernetAdapter.h"

#include "link/Messages.h"

#include <QString>
#include <functional>
#include <optional>

namespace dunmere {

class AdapterSocket;

struct NewAdapterSettings {
    bool automatic = false;  // DHCP: address 0.0.0.0
    QString address;         // checked in both modes, used for a fixed address
    QString gateway;
    QString port;
};

class AdapterSetup {
public:
    static constexpr int ReadWaitMs = 3000;
    static constexpr int ReadTries = 3;
    static constexpr int ApplyMs = 6000;

    enum class WriteResult {
        InputRefused,  // LangInvalidIPAddressPortGateway; nothing sent
        CannotRead,    // no record before the write; nothing sent
        Failed,        // a part outside 0-255 or a socket failure (LangErrorDuringConfiguration)
        Written,       // sent, and the 6000 ms have passed
    };

    AdapterSetup(AdapterSocket& socket, QString adapterAddress);
    void setMessages(Messages* messages, const TextSource* texts, const bool* closing = nullptr);

    // Reads the adapter's record; shows LangCannotRetrieveConfiguration when none came.
    std::optional<ConfigurationRecord> GetCurrentConfiguration();
    // Checks the input, reads the record again, sends the new one and lets the adapter take
    // it over, reporting the elapsed part (0-100) as it goes.
    WriteResult write(const NewAdapterSettings& input, const std::function<void(int)>& progress = {});
    // After a fixed address was written: talk to the adapter at its new address and read it.
    void moveTo(const QString& address) { AdapterAddress = address; }

    // What the window shows.
    QString AdapterAddress;
    quint16 CurrentPort = 0;
    QString CurrentGateway;
    bool DhcpMode = false;
    bool ConfigReadFailed = false;
    QString localAddress;  // of the socket at the last read

private:
    void message(const char* key);

    AdapterSocket& socket_;
    Messages* messages_ = nullptr;
    const TextSource* texts_ = nullptr;
    const bool* closing_ = nullptr;
};

// The list entry of an adapter given a fixed address: the entry at position current goes, a
// hand-made entry for the new address and port is added, the list saved and read back.
// Returns the position of the new key (0 when the store could not be written).
int ReplaceAdapterEntry(EthernetAdapters& list, int current, const QString& address, quint16 port,
                        const QString& localAddress, const QString& databasePath, QString* error = nullptr);

}  // namespace dunmere
