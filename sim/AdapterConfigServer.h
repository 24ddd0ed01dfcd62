#pragma once
// The Ethernet adapter's configuration protocol on UDP: the 0xF8 query answered with the 0xF9
// record (address, gateway, TCP port), the 0xF6 query with the 0xF7 hardware address, the
// 0xFD record taking new settings after a delay, and the 0xFC address reset. Bound to one
// loopback address only, never a real interface.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <array>

namespace dunmere::sim {

struct AdapterSettings {
    bool automatic = false;                       // obtains its address automatically (DHCP)
    std::array<quint8, 4> address{127, 0, 0, 2};  // the fixed address
    std::array<quint8, 4> gateway{127, 0, 0, 254};
    quint16 tcpPort = 10001;
    std::array<quint8, 6> hardwareAddress{0x00, 0x20, 0x4A, 0x6E, 0x0C, 0x0D};
};

class AdapterConfigServer final : public QObject {
    Q_OBJECT
public:
    explicit AdapterConfigServer(QObject* parent = nullptr);
    AdapterConfigServer(const AdapterConfigServer&) = delete;
    AdapterConfigServer& operator=(const AdapterConfigServer&) = delete;

    static constexpr quint16 ProtocolPort = 30718;
    static constexpr int RecordLength = 124;

    // Refuses addresses outside 127.0.0.0/8. The fixed address in the record becomes this one.
    [[nodiscard]] bool bind(const QHostAddress& address, quint16 port, QString& error);
    [[nodiscard]] quint16 port() const { return socket_.localPort(); }

    void setSettings(const AdapterSettings& settings) { settings_ = settings; }
    [[nodiscard]] const AdapterSettings& settings() const { return settings_; }
    // How long a new configuration takes before the adapter uses it.
    void setApplyDelayMs(qint64 ms) { applyDelayMs_ = ms; }

    [[nodiscard]] QByteArray configurationRecord() const;
    [[nodiscard]] QByteArray hardwareAddressReply() const;

signals:
    // New settings are in use (after 0xFD or 0xFC and the delay).
    void settingsApplied(const AdapterSettings& settings);

private:
    void readDatagrams();
    // The reply to one datagram; empty when none is due.
    [[nodiscard]] QByteArray handle(const QByteArray& datagram);
    void takeRecord(const QByteArray& record);
    void takeReset(const QByteArray& datagram);
    void applyLater(const AdapterSettings& settings);
    void apply(AdapterSettings settings);

    QUdpSocket socket_;
    AdapterSettings settings_;
    QByteArray extraBytes_;  // the record's other bytes, carried as the program wrote them
    qint64 applyDelayMs_ = 3000;
};

}  // namespace dunmere::sim
