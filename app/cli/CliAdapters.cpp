#include "CliAdapters.h"

#include "CliOptions.h"

#include "ethernet/AdapterDiscovery.h"
#include "ethernet/AdapterSetup.h"
#include "ethernet/AdapterSocket.h"
#include "ethernet/EthernetFunctions.h"
#include "link/DataFolder.h"
#include "link/LocalAddresses.h"

#include <QDir>
#include <cstdio>

namespace dunmere::cli {

namespace {

void out(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int usage(const QString& text)
{
    std::fprintf(stderr, "dunmere-cli: %s\n%s", text.toLocal8Bit().constData(),
                 commandHelp(QStringLiteral("adapters")).toLocal8Bit().constData());
    return ExitUsage;
}

int storeFailure(const QString& error)
{
    std::fprintf(stderr, "dunmere-cli: %s: %s\n", AdapterDatabaseErrorText, error.toLocal8Bit().constData());
    return ExitFailure;
}

void printList(const EthernetAdapters& list)
{
    int k = 0;
    for (const EthernetAdapter& a : list)
        out(QStringList{QString::number(++k), a.strIPAddress, QString::number(a.lPortNumber), a.strLocalIPAddress,
                        a.bAutomaticallyFound ? QStringLiteral("automatic") : QStringLiteral("manual")}
                .join(QLatin1Char('\t')));
}

// --local and --target as the address seam sees them.
class ChosenAddresses final : public LocalAddressSource {
public:
    QStringList addresses() const override { return locals.isEmpty() ? systemLocals : locals; }
    QStringList broadcastTargets() const override
    {
        return targets.isEmpty() ? LocalAddressSource::broadcastTargets() : targets;
    }
    QStringList locals;
    QStringList targets;
    QStringList systemLocals;
};

struct Store {
    QString path = EthernetDatabasePath();
    EthernetAdapters list;
    QString error;
    bool load()
    {
        QDir().mkpath(DataFolder());
        return list.LoadFromDB(path, &error);
    }
};

int add(Store& store, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("adapters add takes HOST:PORT"));
    const QString host = args[0].section(QLatin1Char(':'), 0, -2);
    const auto port = ParseAdapterPort(args[0].section(QLatin1Char(':'), -1));
    if (!args[0].contains(QLatin1Char(':')) || !IsDottedAddress(host) || !port)
        return usage(QStringLiteral("\"%1\" is not an address and a port 1-65535 such as 192.168.0.10:10001").arg(args[0]));
    EthernetAdapters changed = store.list;
    changed.Add(false, -1, *port, host, host, QStringLiteral("0.0.0.0"), AdapterKey(host, *port));
    if (!changed.SaveToDB(store.path, &store.error) || !store.list.LoadFromDB(store.path, &store.error))
        return storeFailure(store.error);
    printList(store.list);
    return ExitOk;
}

int remove(Store& store, const QStringList& args)
{
    bool ok = false;
    const int n = args.size() == 1 ? args[0].toInt(&ok) : 0;
    if (!ok || n < 1 || n > store.list.Count())
        return usage(QStringLiteral("adapters remove takes a position from 1 to %1").arg(store.list.Count()));
    EthernetAdapters changed = store.list;
    changed.Remove(n);
    if (!changed.SaveToDB(store.path, &store.error))
        return storeFailure(store.error);
    printList(changed);
    return ExitOk;
}

int search(Store& store, const QStringList& args, Messages& messages, const TextSource& texts)
{
    ChosenAddresses chosen;
    for (int i = 0; i < args.size(); ++i) {
        const bool local = args[i] == QLatin1String("--local");
        if ((!local && args[i] != QLatin1String("--target")) || i + 1 >= args.size())
            return usage(QStringLiteral("adapters search takes --local ADDR and --target HOST"));
        (local ? chosen.locals : chosen.targets) << args[++i];
    }
    chosen.systemLocals = LocalAddresses();
    SetLocalAddressSource(&chosen);
    AdapterSocket socket;
    AdapterDiscovery discovery(socket, store.list, store.path);
    discovery.setMessages(&messages, &texts);
    const SearchOutcome outcome = discovery.SearchAdapters();
    SetLocalAddressSource(nullptr);
    printList(store.list);
    if (!outcome.saved && !outcome.failed)
        return storeFailure(outcome.saveError);
    return outcome.failed ? ExitFailure : ExitOk;
}

int setup(Store& store, const QStringList& args, Messages& messages, const TextSource& texts)
{
    if (args.isEmpty())
        return usage(QStringLiteral("adapters setup needs the adapter's address"));
    NewAdapterSettings settings;
    bool dhcp = false;
    bool fixed = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        if (a == QLatin1String("--dhcp"))
            dhcp = true;
        else if (a == QLatin1String("--fixed") && value(settings.address))
            fixed = true;
        else if (!(a == QLatin1String("--gateway") && value(settings.gateway)) && !(a == QLatin1String("--port") && value(settings.port)))
            return usage(QStringLiteral("unknown or incomplete option ") + a);
    }
    if (dhcp == fixed || settings.port.isEmpty())
        return usage(QStringLiteral("adapters setup takes --dhcp or --fixed IP --gateway GW, and --port P"));
    settings.automatic = dhcp;
    AdapterSocket socket;
    AdapterSetup adapter(socket, args[0]);
    adapter.setMessages(&messages, &texts);
    const auto record = adapter.GetCurrentConfiguration();
    if (!record)
        return ExitFailure;
    const QString oldKey = AdapterKey(adapter.AdapterAddress, adapter.CurrentPort);
    out(QStringLiteral("%1\t%2\t%3\tgateway %4").arg(adapter.AdapterAddress).arg(adapter.CurrentPort)
            .arg(adapter.DhcpMode ? QStringLiteral("automatic") : QStringLiteral("fixed"), adapter.CurrentGateway));
    // Automatic addressing keeps the address text, which only has to be dotted.
    if (dhcp && settings.address.isEmpty())
        settings.address = adapter.AdapterAddress;
    if (dhcp && settings.gateway.isEmpty())
        settings.gateway = adapter.CurrentGateway;
    const AdapterSetup::WriteResult result = adapter.write(settings, [](int percent) {
        std::fprintf(stderr, "\r%3d%%", percent);
        if (percent >= 100)
            std::fputc('\n', stderr);
    });
    if (result == AdapterSetup::WriteResult::InputRefused)
        return ExitUsage;
    if (result != AdapterSetup::WriteResult::Written)
        return ExitFailure;
    if (dhcp) {
        out(QStringLiteral("automatic addressing written; find the adapter with: dunmere-cli adapters search"));
        return ExitOk;
    }
    adapter.moveTo(settings.address);
    adapter.CurrentPort = quint16(settings.port.trimmed().toUInt());
    const bool read = adapter.GetCurrentConfiguration().has_value();
    int current = 0;
    for (int k = 1; k <= store.list.Count(); ++k)
        if (store.list.Item(k)->Key == oldKey)
            current = k;
    if (ReplaceAdapterEntry(store.list, current, adapter.AdapterAddress, adapter.CurrentPort, adapter.localAddress,
                            store.path, &store.error) == 0)
        return storeFailure(store.error);
    out(QStringLiteral("%1\t%2").arg(adapter.AdapterAddress).arg(adapter.CurrentPort));
    return read ? ExitOk : ExitFailure;
}

}  // namespace

int runAdaptersCommand(const QStringList& args, Messages& messages, const TextSource& texts)
{
    const QString what = args.value(0);
    const QStringList rest = args.mid(1);
    Store store;
    if (!store.load())
        return storeFailure(store.error);
    if (what == QLatin1String("list") && rest.isEmpty()) {
        printList(store.list);
        return ExitOk;
    }
    if (what == QLatin1String("add"))
        return add(store, rest);
    if (what == QLatin1String("remove"))
        return remove(store, rest);
    if (what == QLatin1String("search"))
        return search(store, rest, messages, texts);
    if (what == QLatin1String("setup"))
        return setup(store, rest, messages, texts);
    return usage(QStringLiteral("adapters takes list, add, remove, search or setup"));
}

}  // namespace dunmere::cli
