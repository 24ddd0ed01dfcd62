#pragma once
// The datagrams of the adapters' configuration protocol on UDP port 30718: byte 3 carries the
// type, numbers are low byte first. Builders for what the program sends, readers for what
// adapters send back; a reader never looks past the end of the datagram it was given.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace dunmere {

constexpr quint16 AdapterProtocolPort = 30718;
// Replies are taken up to this many bytes; the rest of a longer datagram is dropped.
constexpr int AdapterDatagramLimit = 124;

enum class AdapterDatagramType : quint8 {
    ConfigurationQuery = 0xF8,
    ConfigurationRecord = 0xF9,
    NewConfiguration = 0xFD,
    HardwareQuery = 0xF6,
    HardwareReply = 0xF7,
    AddressReset = 0xFC,
};

using Ipv4Parts = std::array<quint8, 4>;
using HardwareAddress = std::array<quint8, 6>;

// The type byte of a datagram; nothing when it is shorter than four bytes.
[[nodiscard]] std::optional<quint8> DatagramType(const QByteArray& datagram);

// 18 bytes, all 0 but byte 3.
[[nodiscard]] QByteArray ConfigurationQuery();
[[nodiscard]] QByteArray HardwareAddressQuery();
// 21 bytes: 0xFC, "IP-SETUP", the fifth and sixth hardware-address bytes at 14 and 15.
[[nodiscard]] QByteArray AddressResetDatagram(quint8 fifth, quint8 sixth);

// What a 0xF9 record says. A record shorter than the 26 bytes these fields need is no record.
struct ConfigurationRecord {
    QByteArray bytes;  // the record as taken, for writing back
    Ipv4Parts address{};  // all 0: the adapter obtains its address automatically
    Ipv4Parts gateway{};
    quint16 tcpPort = 0;
    [[nodiscard]] bool automatic() const { return address == Ipv4Parts{}; }
};
constexpr int ConfigurationRecordMinimum = 26;
[[nodiscard]] std::optional<ConfigurationRecord> ReadConfigurationRecord(const QByteArray& datagram);

// The hardware address of a 0xF7 reply (bytes 24-29); nothing for a shorter datagram.
constexpr int HardwareReplyMinimum = 30;
[[nodiscard]] std::optional<HardwareAddress> ReadHardwareReply(const QByteArray& datagram);

// The 0xFD record made from a 0xF9 record: type, address, gateway and port replaced, every
// other byte and the length as read.
[[nodiscard]] QByteArray NewConfigurationRecord(const ConfigurationRecord& read, const Ipv4Parts& address,
                                                const Ipv4Parts& gateway, quint16 tcpPort);

// Upper-case hexadecimal groups without leading zeros joined by ":" ("0:20:4A:6E:C:D").
[[nodiscard]] QString HardwareAddressText(const HardwareAddress& address);
// The last two groups of such a text as bytes; nothing when they are not hexadecimal bytes.
[[nodiscard]] std::optional<std::pair<quint8, quint8>> ResetBytesOf(const QString& hardwareAddressText);

// "a.b.c.d" as four decimal bytes joined by "."
[[nodiscard]] QString DottedText(const Ipv4Parts& parts);

}  // namespace dunmere
