#include "AdapterConfigServer.h"

#include "LoopbackAddress.h"
#include "link/Clock.h"

#include <QNetworkDatagram>
#include <QPointer>

namespace dunmere::sim {

namespace {

constexpr char Query = char(0xF8);
constexpr char Record = char(0xF9);
constexpr char NewRecord = char(0xFD);
constexpr char HardwareQuery = char(0xF6);
constexpr char HardwareReply = char(0xF7);
constexpr char Reset = char(0xFC);
constexpr int TakenLength = 124;

QByteArray defaultExtraBytes()
{
    QByteArray bytes(AdapterConfigServer::RecordLength, '\0');
    // A netmask and a device name in the bytes the program carries unchanged.
    bytes[8] = char(255), bytes[9] = char(255), bytes[10] = char(255), bytes[11] = 0;
    bytes.replace(40, 11, "DUNMERE-SIM");
    return bytes;
}

}  // namespace

AdapterConfigServer::AdapterConfigServer(QObject* parent) : QObject(parent), extraBytes_(defaultExtraBytes())
{
    connect(&socket_, &QUdpSocket::readyRead, this, &AdapterConfigServer::readDatagrams);
}

bool AdapterConfigServer::bind(const QHostAddress& address, quint16 port, QString& error)
{
    if (!isLoopback(address)) {
        error = QStringLiteral("%1 is not a loopback address; adapter datagrams stay on 127.0.0.0/8").arg(address.toString());
        return false;
    }
    socket_.close();
    if (!socket_.bind(address, port)) {
        error = socket_.errorString();
        return false;
    }
    const quint32 ip = address.toIPv4Address();
    settings_.address = {quint8(ip >> 24), quint8(ip >> 16), quint8(ip >> 8), quint8(ip)};
    return true;
}

QByteArray AdapterConfigServer::configurationRecord() const
{
    QByteArray record = extraBytes_;
    record[3] = Record;
    for (int i = 0; i < 4; ++i) {
        record[4 + i] = settings_.automatic ? char(0) : char(settings_.address[i]);
        record[16 + i] = char(settings_.gateway[i]);
    }
    record[24] = char(settings_.tcpPort & 0xFF);
    record[25] = char(settings_.tcpPort >> 8);
    return record;
}

QByteArray AdapterConfigServer::hardwareAddressReply() const
{
    QByteArray reply(30, '\0');
    reply[3] = HardwareReply;
    for (int i = 0; i < 6; ++i)
        reply[24 + i] = char(settings_.hardwareAddress[i]);
    return reply;
}

void AdapterConfigServer::readDatagrams()
{
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram(TakenLength);
        // Answers go back only to the machine itself.
        if (!isLoopback(datagram.senderAddress()))
            continue;
        const QByteArray reply = handle(datagram.data());
        if (!reply.isEmpty())
            socket_.writeDatagram(reply, datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

QByteArray AdapterConfigServer::handle(const QByteArray& datagram)
{
    if (datagram.size() < 4)
        return {};
    switch (datagram[3]) {
    case Query: return configurationRecord();
    case HardwareQuery: return hardwareAddressReply();
    case NewRecord: takeRecord(datagram); return {};
    case Reset: takeReset(datagram); return {};
    default: return {};
    }
}

void AdapterConfigServer::takeRecord(const QByteArray& record)
{
    if (record.size() < 26)
        return;
    AdapterSettings next = settings_;
    bool allZero = true;
    for (int i = 0; i < 4; ++i) {
        next.address[i] = quint8(record[4 + i]);
        next.gateway[i] = quint8(record[16 + i]);
        allZero = allZero && next.address[i] == 0;
    }
    next.automatic = allZero;
    if (allZero)
        next.address = settings_.address;  // automatic addressing here means: stay where we are
    next.tcpPort = quint16(quint8(record[24]) | (quint8(record[25]) << 8));
    QByteArray extra = record.left(RecordLength);
    if (extra.size() < RecordLength)
        extra.append(RecordLength - extra.size(), '\0');
    extraBytes_ = extra;
    applyLater(next);
}

void AdapterConfigServer::takeReset(const QByteArray& datagram)
{
    if (datagram.size() < 16 || datagram.mid(4, 8) != "IP-SETUP")
        return;
    if (quint8(datagram[14]) != settings_.hardwareAddress[4] || quint8(datagram[15]) != settings_.hardwareAddress[5])
        return;
    AdapterSettings next = settings_;
    next.automatic = true;
    applyLater(next);
}

void AdapterConfigServer::applyLater(const AdapterSettings& settings)
{
    auto& clock = Clock::current();
    clock.schedule(clock.nowMs() + applyDelayMs_, [self = QPointer<AdapterConfigServer>(this), settings] {
        if (self)
            self->apply(settings);
    }, Clock::Runs::AlsoDuringSleep);
}

void AdapterConfigServer::apply(AdapterSettings settings)
{
    const QHostAddress wanted(quint32(settings.address[0]) << 24 | quint32(settings.address[1]) << 16
                              | quint32(settings.address[2]) << 8 | settings.address[3]);
    const QHostAddress bound = socket_.localAddress();
    if (!settings.automatic && wanted != bound) {
        // The adapter moves only within loopback; elsewhere it stays where it can be reached,
        // and its record says so, so that nothing is sent to a real network.
        QString error;
        const quint16 port = socket_.localPort();
        if ((!isLoopback(wanted) || !bind(wanted, port, error)) && !bind(bound, port, error))
            qWarning("adapter configuration socket lost: %s", qPrintable(error));
        settings.address = settings_.address;
    }
    settings_ = settings;
    emit settingsApplied(settings_);
}

}  // namespace dunmere::sim
