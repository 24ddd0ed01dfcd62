// Discovery as it runs on a real network, with no seam installed: the PC's addresses read from
// the system's interfaces and the query broadcast to 255.255.255.255. It runs only inside a
// network namespace of its own (the program starts itself again under "unshare -n"), with a
// veth pair and addresses of its own, so nothing reaches the machine's real interfaces. Where
// no namespace can be made, the test is skipped and says so.

#include "LoopbackNetwork.h"

#include "ethernet/AdapterDiscovery.h"
#include "ethernet/AdapterSocket.h"
#include "link/LocalAddresses.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

const char* const InsideMark = "DUNMERE_OWN_NETNS";

bool sh(const QString& program, const QStringList& args)
{
    return QProcess::execute(program, args) == 0;
}

// Two ends of a veth pair, 10.77.0.1 and 10.77.0.2, in this namespace.
bool makeNetwork()
{
    return sh("ip", {"link", "set", "lo", "up"}) && sh("ip", {"link", "add", "dmv0", "type", "veth", "peer", "name", "dmv1"})
           && sh("ip", {"addr", "add", "10.77.0.1/24", "dev", "dmv0"}) && sh("ip", {"addr", "add", "10.77.0.2/24", "dev", "dmv1"})
           && sh("ip", {"link", "set", "dmv0", "up"}) && sh("ip", {"link", "set", "dmv1", "up"});
}

}  // namespace

class TestAdapterNamespace : public QObject {
    Q_OBJECT
private slots:
    void broadcastSearchFindsTheAdapterOnTheNamespacesNetwork()
    {
        if (!qEnvironmentVariableIsSet(InsideMark)) {
            if (!sh("unshare", {"-n", "true"}))
                QSKIP("no network namespace can be made here (unshare -n refused): the broadcast search is not tried");
            // Run this test again inside a namespace of its own.
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(InsideMark), QStringLiteral("1"));
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QStringLiteral("unshare"), {QStringLiteral("-n"), QCoreApplication::applicationFilePath(),
                                                    QStringLiteral("broadcastSearchFindsTheAdapterOnTheNamespacesNetwork")});
            QVERIFY(child.waitForStarted(5000) && child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
            return;
        }
        // A fresh namespace has loopback only; anything else means this is not one of ours.
        SetLocalAddressSource(nullptr);
        if (!LocalAddresses().isEmpty())
            QFAIL("not inside a network namespace of this test's own: nothing is sent");
        if (!makeNetwork())
            QSKIP("the veth pair could not be made in the namespace");
        // Nothing installed: the system's own interfaces and the real broadcast address.
        SetLocalAddressSource(nullptr);
        const QStringList locals = LocalAddresses();
        QCOMPARE(locals.size(), 2);
        QVERIFY(locals.contains(QStringLiteral("10.77.0.1")) && locals.contains(QStringLiteral("10.77.0.2")));
        QCOMPARE(BroadcastTargets(), QStringList{"255.255.255.255"});

        QByteArray record = typed(0xF9, 124);
        record[24] = 0x11, record[25] = 0x27;
        ScriptedAdapter adapter(QStringLiteral("0.0.0.0"), {record});
        QVERIFY(adapter.bound());
        QTemporaryDir dir;
        EthernetAdapters list;
        AdapterSocket socket;
        AdapterDiscovery discovery(socket, list, dir.filePath(QStringLiteral("EthernetDB.mdb")));
        const SearchOutcome outcome = discovery.SearchAdapters();
        QVERIFY(!outcome.failed);
        QVERIFY(outcome.saved);
        QVERIFY(list.Count() >= 1);
        QCOMPARE(adapter.received.first(), typed(0xF8, 18));
        for (const EthernetAdapter& a : list) {
            QCOMPARE(a.lPortNumber, 10001);
            QVERIFY(locals.contains(a.strIPAddress));
            QVERIFY(locals.contains(a.strLocalIPAddress));
        }
    }
};

QTEST_GUILESS_MAIN(TestAdapterNamespace)
#include "tst_adapternamespace.moc"
