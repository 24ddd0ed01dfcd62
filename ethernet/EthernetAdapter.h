#pragma once
// The Ethernet adapters the program knows: one entry per adapter and the ordered list the
// communications menu and the TCP connection address by 1-based position, kept between runs
// in the adapter database (SaveToDB and LoadFromDB live in EthernetStore.cpp).

#include <QList>
#include <QString>
#include <QtGlobal>

namespace dunmere {

struct EthernetAdapter {
    bool bAutomaticallyFound = false;  // the network search found it
    qint16 iAdapterNumber = 0;         // kept in memory only; nothing reads it
    qint32 lPortNumber = 0;            // the adapter's TCP port for the bus
    QString strHostname;               // always equal to strIPAddress
    QString strIPAddress;              // the adapter's IPv4 address, the remote host
    QString strLocalIPAddress;         // the PC's address it was found on; "0.0.0.0" if typed in
    QString Key;                       // address ":" port; menu caption, compared with LastIPAddress
};

class EthernetAdapters {
public:
    using const_iterator = QList<EthernetAdapter>::const_iterator;

    // Appends an entry and returns it (valid until the list changes).
    EthernetAdapter& Add(bool bAutomaticallyFound, qint16 iAdapterNumber, qint32 lPortNumber,
                         const QString& strHostname, const QString& strIPAddress,
                         const QString& strLocalIPAddress, const QString& Key);
    // Position 1 to Count(); nullptr outside that range. Inline, so the transport switch in
    // the link library can read the list without linking this one.
    [[nodiscard]] EthernetAdapter* Item(int position)
    {
        return position >= 1 && position <= Count() ? &items_[position - 1] : nullptr;
    }
    [[nodiscard]] const EthernetAdapter* Item(int position) const
    {
        return position >= 1 && position <= Count() ? &items_[position - 1] : nullptr;
    }
    [[nodiscard]] int Count() const { return int(items_.size()); }
    // Later entries move up one position; a position outside the list changes nothing.
    void Remove(int position);
    // Some entry's Key equals the text exactly (case-sensitive).
    [[nodiscard]] bool Exists(const QString& key) const;
    void Clear() { items_.clear(); }

    // Replaces the table's rows by the list in one transaction; a failure leaves the file as
    // it was (and the list untouched) and says why in error. Creates the file when missing.
    [[nodiscard]] bool SaveToDB(const QString& databasePath, QString* error = nullptr) const;
    // Replaces the list by the table's rows, creating an empty store first when the file is
    // missing. On a failure the list keeps the rows read before it and error says why.
    [[nodiscard]] bool LoadFromDB(const QString& databasePath, QString* error = nullptr);

    // Visits the entries in list order.
    [[nodiscard]] const_iterator begin() const { return items_.cbegin(); }
    [[nodiscard]] const_iterator end() const { return items_.cend(); }

private:
    QList<EthernetAdapter> items_;
};

}  // namespace dunmere
