#include "AdapterSetup.h"

#include "AdapterSocket.h"
#include "EthernetFunctions.h"

#include "link/Clock.h"
#include "link/DebugLog.h"

namespace dunmere {

namespace {

constexpr int ProgressStepMs = 100;

}  // namespace

AdapterSetup::AdapterSetup(AdapterSocket& socket, QString adapterAddress)
    : AdapterAddress(std::move(adapterAddress)), socket_(socket)
{
}

void AdapterSetup::setMessages(Messages* messages, const TextSource* texts, const bool* closing)
{
    messages_ = messages;
    texts_ = texts;
    closing_ = closing;
}

void AdapterSetup::message(const char* key)
{
    if (!messages_ || (closing_ && *closing_))
        return;
    const QString k = QString::fromLatin1(key);
    messages_->show(texts_ ? texts_->text(k) : k, MessageButtons::Ok);
}

std::optional<ConfigurationRecord> AdapterSetup::GetCurrentConfiguration()
{
    std::optional<ConfigurationRecord> record;
    if (socket_.connectTo(AdapterAddress, AdapterProtocolPort) && socket_.send(ConfigurationQuery())) {
        localAddress = socket_.localAddress();
        auto& clock = Clock::current();
        for (int attempt = 1; attempt <= ReadTries && !record; ++attempt) {
            const qint64 deadline = clock.nowMs() + ReadWaitMs;
            while (!record && clock.nowMs() < deadline) {
                if (!socket_.waitForData(int(deadline - clock.nowMs())))
                    break;
                // Only this adapter's own record is taken: written back, anything else would
                // give it another adapter's settings.
                const AdapterDatagram datagram = socket_.take();
                if (datagram.sender == AdapterAddress)
                    record = ReadConfigurationRecord(datagram.bytes);
            }
            if (!record && attempt < ReadTries && !socket_.send(ConfigurationQuery()))
                break;
        }
    }
    socket_.close();
    if (!record) {
        DebugLog(QStringLiteral("No configuration record from ") + AdapterAddress, 10);
        message("LangCannotRetrieveConfiguration");
        ConfigReadFailed = true;
        return std::nullopt;
    }
    DhcpMode = record->automatic();
    CurrentPort = record->tcpPort;
    CurrentGateway = DottedText(record->gateway);
    return record;
}

AdapterSetup::WriteResult AdapterSetup::write(const NewAdapterSettings& input, const std::function<void(int)>& progress)
{
    const auto port = ParseBusPort(input.port);
    if (!port || !IsDottedAddress(input.address) || !IsDottedAddress(input.gateway)) {
        message("LangInvalidIPAddressPortGateway");
        return WriteResult::InputRefused;
    }
    const auto record = GetCurrentConfiguration();
    if (!record) {
        message("LangCannotReadCurrentConfig");
        return WriteResult::CannotRead;
    }
    const auto address = input.automatic ? std::optional<Ipv4Parts>(Ipv4Parts{}) : DottedParts(input.address);
    const auto gateway = DottedParts(input.gateway);
    if (!address || !gateway) {
        message("LangErrorDuringConfiguration");
        return WriteResult::Failed;
    }
    const QByteArray datagram = NewConfigurationRecord(*record, *address, *gateway, *port);
    if (!socket_.connectTo(AdapterAddress, AdapterProtocolPort) || !socket_.send(datagram)) {
        DebugLog(QStringLiteral("Sending the new configuration failed: ") + socket_.errorText(), 10);
        socket_.close();
        message("LangErrorDuringConfiguration");
        return WriteResult::Failed;
    }
    auto& clock = Clock::current();
    const qint64 start = clock.nowMs();
    for (qint64 elapsed = 0; elapsed < ApplyMs; elapsed = clock.nowMs() - start) {
        if (progress)
            progress(int(elapsed / 60));
        clock.waitUntil([] { return false; }, qMin(start + ApplyMs, clock.nowMs() + ProgressStepMs));
    }
    if (progress)
        progress(100);
    socket_.close();
    return WriteResult::Written;
}

int ReplaceAdapterEntry(EthernetAdapters& list, int current, const QString& address, quint16 port,
                        const QString& localAddress, const QString& databasePath, QString* error)
{
    const QString key = AdapterKey(address, port);
    EthernetAdapters changed = list;
    changed.Remove(current);
    changed.Add(false, 0, port, address, address, localAddress, key);
    if (!changed.SaveToDB(databasePath, error))
        return 0;
    list = changed;
    QString loadError;
    if (!list.LoadFromDB(databasePath, &loadError))
        DebugLog(QStringLiteral("Reading the adapter list back failed: ") + loadError, 10);
    int position = 0;
    for (int k = 1; k <= list.Count(); ++k)
        if (list.Item(k)->Key == key)
            position = k;
    return position;
}

}  // namespace dunmere
