#include "AdapterDiscovery.h"

#include "AdapterDatagrams.h"
#include "AdapterSocket.h"
#include "EthernetFunctions.h"

#include "link/DebugLog.h"
#include "link/LocalAddresses.h"

namespace dunmere {

AdapterDiscovery::AdapterDiscovery(AdapterSocket& socket, EthernetAdapters& list, QString databasePath)
    : socket_(socket), list_(list), databasePath_(std::move(databasePath))
{
}

void AdapterDiscovery::setMessages(Messages* messages, const TextSource* texts, const bool* closing)
{
    messages_ = messages;
    texts_ = texts;
    closing_ = closing;
}

void AdapterDiscovery::message(const char* key)
{
    if (!messages_ || (closing_ && *closing_))
        return;
    const QString k = QString::fromLatin1(key);
    messages_->show(texts_ ? texts_->text(k) : k, MessageButtons::Ok);
}

bool AdapterDiscovery::sendToAll(const QByteArray& datagram)
{
    const QStringList targets = BroadcastTargets();
    for (const QString& target : targets)
        if (!socket_.send(datagram, target, AdapterProtocolPort))
            return false;
    return true;
}

bool AdapterDiscovery::queryAndWait(const QByteArray& query)
{
    if (!sendToAll(query))
        return false;
    for (int attempt = 1; attempt <= Tries; ++attempt) {
        if (socket_.hasData() || cancelled())
            return true;
        if (socket_.waitForData(ReplyWaitMs, [this] { return cancelled(); }) || cancelled())
            return true;
        // The last fruitless wait sends once more, as every wait before it did.
        if (!sendToAll(query))
            return false;
    }
    return true;
}

SearchOutcome AdapterDiscovery::SearchAdapters()
{
    SearchOutcome outcome;
    const QStringList locals = LocalAddresses();
    if (report_)
        report_->searchStarted();
    const QByteArray query = ConfigurationQuery();
    for (const QString& local : locals) {
        if (!socket_.bindTo(local)) {
            DebugLog(QStringLiteral("Adapter search cannot bind to ") + local + QStringLiteral(": ") + socket_.errorText(), 10);
            outcome.failed = true;
            break;
        }
        if (report_)
            report_->checkingAddress(QStringLiteral("Checking IP Address ") + local);
        if (!queryAndWait(query)) {
            DebugLog(QStringLiteral("Adapter search cannot send from ") + local + QStringLiteral(": ") + socket_.errorText(), 10);
            outcome.failed = true;
            break;
        }
        if (cancelled()) {
            outcome.cancelled = true;
            break;
        }
        int k = 0;
        while (socket_.hasData()) {
            const AdapterDatagram datagram = socket_.take();
            // Anything but a whole configuration record (another adapter's hardware-address
            // reply, a short datagram) is passed over.
            if (const auto record = ReadConfigurationRecord(datagram.bytes)) {
                const QString key = AdapterKey(datagram.sender, record->tcpPort);
                if (!list_.Exists(key)) {
                    list_.Add(true, qint16(k + 1), record->tcpPort, datagram.sender, datagram.sender, local, key);
                    ++outcome.added;
                }
                ++k;
            }
            socket_.waitForData(MoreRepliesMs, [this] { return cancelled(); });
            if (cancelled())
                break;
        }
        if (cancelled()) {
            outcome.cancelled = true;
            break;
        }
        socket_.close();
    }
    socket_.close();
    if (report_)
        report_->searchEnded();
    if (outcome.failed) {
        message("LangEASearchError");
        return outcome;
    }
    if (list_.Count() == 0)
        message("LangNoEAFound");
    outcome.saved = SaveAdapterList(list_, databasePath_, &outcome.saveError);
    if (!outcome.saved)
        DebugLog(QStringLiteral("Saving the adapter list failed: ") + outcome.saveError, 10);
    return outcome;
}

QString AdapterDiscovery::QueryAdapterMac(const QString& address)
{
    const QStringList locals = LocalAddresses();
    const QByteArray query = HardwareAddressQuery();
    for (const QString& local : locals) {
        if (!socket_.bindTo(local) || !queryAndWait(query)) {
            socket_.close();
            if (report_)
                report_->searchEnded();
            message("LangEASearchError");
            return {};
        }
        QString result;
        while (socket_.hasData()) {
            const AdapterDatagram datagram = socket_.take();
            if (const auto mac = ReadHardwareReply(datagram.bytes); mac && datagram.sender == address)
                result = HardwareAddressText(*mac);
            socket_.waitForData(MoreRepliesMs);
        }
        socket_.close();
        if (!result.isEmpty())
            return result;
    }
    return {};
}

bool AdapterDiscovery::ResetAdapterAddress(const QString& hardwareAddress)
{
    const auto bytes = ResetBytesOf(hardwareAddress);
    if (!bytes)
        return false;
    const QByteArray datagram = AddressResetDatagram(bytes->first, bytes->second);
    const QStringList locals = LocalAddresses();
    for (const QString& local : locals) {
        // Errors of a single address are passed over: the reset is tried from every one.
        if (socket_.bindTo(local))
            (void)sendToAll(datagram);
        socket_.close();
    }
    return true;
}

}  // namespace dunmere
