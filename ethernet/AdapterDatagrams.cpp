#include "AdapterDatagrams.h"

#include <QStringList>

namespace dunmere {

namespace {

constexpr int QueryLength = 18;
constexpr int ResetLength = 21;

QByteArray query(AdapterDatagramType type)
{
    QByteArray bytes(QueryLength, '\0');
    bytes[3] = char(type);
    return bytes;
}

quint8 byteAt(const QByteArray& bytes, int offset) { return quint8(bytes.at(offset)); }

}  // namespace

std::optional<quint8> DatagramType(const QByteArray& datagram)
{
    if (datagram.size() < 4)
        return std::nullopt;
    return byteAt(datagram, 3);
}

QByteArray ConfigurationQuery() { return query(AdapterDatagramType::ConfigurationQuery); }

QByteArray HardwareAddressQuery() { return query(AdapterDatagramType::HardwareQuery); }

QByteArray AddressResetDatagram(quint8 fifth, quint8 sixth)
{
    QByteArray bytes(ResetLength, '\0');
    bytes[3] = char(AdapterDatagramType::AddressReset);
    bytes.replace(4, 8, "IP-SETUP");
    bytes[14] = char(fifth);
    bytes[15] = char(sixth);
    return bytes;
}

std::optional<ConfigurationRecord> ReadConfigurationRecord(const QByteArray& datagram)
{
    if (datagram.size() < ConfigurationRecordMinimum
        || DatagramType(datagram) != quint8(AdapterDatagramType::ConfigurationRecord))
        return std::nullopt;
    ConfigurationRecord record;
    record.bytes = datagram.left(AdapterDatagramLimit);
    for (int i = 0; i < 4; ++i) {
        record.address[i] = byteAt(datagram, 4 + i);
        record.gateway[i] = byteAt(datagram, 16 + i);
    }
    record.tcpPort = quint16(byteAt(datagram, 24) | byteAt(datagram, 25) << 8);
    return record;
}

std::optional<HardwareAddress> ReadHardwareReply(const QByteArray& datagram)
{
    if (datagram.size() < HardwareReplyMinimum || DatagramType(datagram) != quint8(AdapterDatagramType::HardwareReply))
        return std::nullopt;
    HardwareAddress address{};
    for (int i = 0; i < 6; ++i)
        address[i] = byteAt(datagram, 24 + i);
    return address;
}

QByteArray NewConfigurationRecord(const ConfigurationRecord& read, const Ipv4Parts& address, const Ipv4Parts& gateway,
                                  quint16 tcpPort)
{
    QByteArray bytes = read.bytes;
    if (bytes.size() < ConfigurationRecordMinimum)
        bytes.append(ConfigurationRecordMinimum - bytes.size(), '\0');
    bytes[3] = char(AdapterDatagramType::NewConfiguration);
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = char(address[i]);
        bytes[16 + i] = char(gateway[i]);
    }
    bytes[24] = char(tcpPort & 0xFF);
    bytes[25] = char(tcpPort >> 8);
    return bytes;
}

QString HardwareAddressText(const HardwareAddress& address)
{
    QStringList groups;
    for (quint8 b : address)
        groups << QString::number(b, 16).toUpper();
    return groups.join(QLatin1Char(':'));
}

std::optional<std::pair<quint8, quint8>> ResetBytesOf(const QString& hardwareAddressText)
{
    const QStringList groups = hardwareAddressText.split(QLatin1Char(':'));
    if (groups.size() < 3)
        return std::nullopt;
    bool fifthOk = false;
    bool sixthOk = false;
    const QString& fifthText = groups.at(groups.size() - 2);
    const QString& sixthText = groups.last();
    const uint fifth = fifthText.toUInt(&fifthOk, 16);
    const uint sixth = sixthText.toUInt(&sixthOk, 16);
    if (!fifthOk || !sixthOk || fifth > 0xFF || sixth > 0xFF)
        return std::nullopt;
    return std::pair{quint8(fifth), quint8(sixth)};
}

QString DottedText(const Ipv4Parts& parts)
{
    return QStringLiteral("%1.%2.%3.%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

}  // namespace dunmere
