// Discovery and the hardware-address reset over real UDP sockets on loopback: the PC's
// addresses and the broadcast hosts are injected, the adapters are the simulator's (or
// scripted ones), time is virtual. Nothing here leaves 127.0.0.0/8.

#include "LoopbackNetwork.h"

#include "ethernet/AdapterDatagrams.h"
#include "ethernet/AdapterDiscovery.h"
#include "ethernet/AdapterSocket.h"
#include "ethernet/EthernetFunctions.h"
#include "link/Clock.h"
#include "sim/AdapterConfigServer.h"

#include "../support/VirtualClockFixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace dunmere;
using namespace dunmere::test;

namespace {

const QString PcAddress = QStringLiteral("127.0.0.1");

std::unique_ptr<sim::AdapterConfigServer> simulatedAdapter(const QString& address, quint16 tcpPort = 10001)
{
    auto adapter = std::make_unique<sim::AdapterConfigServer>();
    sim::AdapterSettings settings;
    settings.tcpPort = tcpPort;
    adapter->setSettings(settings);
    adapter->setApplyDelayMs(3000);
    QString error;
    if (!adapter->bind(QHostAddress(address), AdapterProtocolPort, error))
        qWarning("%s", qPrintable(error));
    return adapter;
}

class Watcher final : public DiscoveryReport {
public:
    void searchStarted() override { events << QStringLiteral("started"); }
    void checkingAddress(const QString& line) override { events << line; }
    bool cancelRequested() const override { return cancel; }
    void searchEnded() override { events << QStringLiteral("ended"); }
    QStringList events;
    bool cancel = false;
};

}  // namespace

class TestAdapterDiscovery : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        clock_ = std::make_unique<VirtualClockScope>();
        QVERIFY(dir_.isValid());
        db_ = dir_.filePath(QStringLiteral("EthernetDB.mdb"));
        QFile::remove(db_);
        list_.Clear();
        messages_.shown.clear();
        watcher_ = Watcher{};
        discovery_ = std::make_unique<AdapterDiscovery>(socket_, list_, db_);
        discovery_->setReport(&watcher_);
        discovery_->setMessages(&messages_, &texts_);
    }
    void cleanup() { discovery_.reset(); clock_.reset(); }

    void twoAdaptersOnOneAddressAreNumberedInTurn()
    {
        const auto a = simulatedAdapter(QStringLiteral("127.0.19.2"), 10001);
        const auto b = simulatedAdapter(QStringLiteral("127.0.19.3"), 4001);
        LoopbackNetwork net({PcAddress}, {QStringLiteral("127.0.19.2"), QStringLiteral("127.0.19.3")});
        const SearchOutcome outcome = discovery_->SearchAdapters();
        QCOMPARE(outcome.added, 2);
        QVERIFY(outcome.saved);
        QCOMPARE(list_.Count(), 2);
        const EthernetAdapter* first = list_.Item(1);
        QCOMPARE(first->Key, QStringLiteral("127.0.19.2:10001"));
        QCOMPARE(first->iAdapterNumber, qint16(1));
        QVERIFY(first->bAutomaticallyFound);
        QCOMPARE(first->strIPAddress, QStringLiteral("127.0.19.2"));
        QCOMPARE(first->strHostname, QStringLiteral("127.0.19.2"));
        QCOMPARE(first->strLocalIPAddress, PcAddress);
        QCOMPARE(list_.Item(2)->Key, QStringLiteral("127.0.19.3:4001"));
        QCOMPARE(list_.Item(2)->iAdapterNumber, qint16(2));
        QCOMPARE(watcher_.events, (QStringList{"started", "Checking IP Address 127.0.0.1", "ended"}));
        QVERIFY(messages_.shown.isEmpty());
        EthernetAdapters stored;
        QVERIFY(stored.LoadFromDB(db_));
        QCOMPARE(stored.Count(), 2);
    }

    void aKnownAdapterStaysAsItIsButStillCounts()
    {
        const auto a = simulatedAdapter(QStringLiteral("127.0.19.2"), 10001);
        const auto b = simulatedAdapter(QStringLiteral("127.0.19.3"), 4001);
        list_.Add(false, -1, 10001, QStringLiteral("127.0.19.2"), QStringLiteral("127.0.19.2"), QStringLiteral("0.0.0.0"),
                  QStringLiteral("127.0.19.2:10001"));
        LoopbackNetwork net({PcAddress}, {QStringLiteral("127.0.19.2"), QStringLiteral("127.0.19.3")});
        QCOMPARE(discovery_->SearchAdapters().added, 1);
        QCOMPARE(list_.Count(), 2);
        QVERIFY(!list_.Item(1)->bAutomaticallyFound);
        QCOMPARE(list_.Item(2)->iAdapterNumber, qint16(2));
    }

    void otherAndShortRepliesArePassedOver()
    {
        QByteArray record = typed(0xF9, 124);
        record[24] = 0x11, record[25] = 0x27;
        // A hardware-address reply, a 10-byte record, then a whole record.
        ScriptedAdapter scripted(QStringLiteral("127.0.19.4"), {typed(0xF7, 30), record.left(10), record});
        QVERIFY(scripted.bound());
        LoopbackNetwork net({PcAddress}, {QStringLiteral("127.0.19.4")});
        QCOMPARE(discovery_->SearchAdapters().added, 1);
        QCOMPARE(list_.Item(1)->Key, QStringLiteral("127.0.19.4:10001"));
        QCOMPARE(list_.Item(1)->iAdapterNumber, qint16(1));
        QCOMPARE(scripted.received.first(), typed(0xF8, 18));
    }

    void silenceAsksFourTimesOnEveryAddress()
    {
        ScriptedAdapter mute(QStringLiteral("127.0.19.5"));
        LoopbackNetwork net({PcAddress, QStringLiteral("127.0.0.2")}, {QStringLiteral("127.0.19.5")});
        const qint64 start = Clock::current().nowMs();
        const SearchOutcome outcome = discovery_->SearchAdapters();
        QCOMPARE(outcome.added, 0);
        QVERIFY(outcome.saved);
        QCOMPARE(Clock::current().nowMs() - start, 2 * 3 * AdapterDiscovery::ReplyWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(mute.received.size(), 8, 1000);
        QCOMPARE(watcher_.events, (QStringList{"started", "Checking IP Address 127.0.0.1",
                                               "Checking IP Address 127.0.0.2", "ended"}));
        QCOMPARE(messages_.shown, QStringList{"LangNoEAFound"});
        QVERIFY(QFile::exists(db_));
    }

    void cancelInTheFirstWaitAddsNothingAndStillSaves()
    {
        const auto late = simulatedAdapter(QStringLiteral("127.0.19.6"));
        list_.Add(false, -1, 1, QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.1"), QStringLiteral("0.0.0.0"),
                  QStringLiteral("10.0.0.1:1"));
        // Nothing answers at the address searched first; the user cancels after a second.
        LoopbackNetwork net({PcAddress, QStringLiteral("127.0.0.2")}, {QStringLiteral("127.0.19.7")});
        auto& clock = Clock::current();
        const qint64 start = clock.nowMs();
        clock.schedule(start + 1000, [this] { watcher_.cancel = true; });
        const SearchOutcome outcome = discovery_->SearchAdapters();
        QVERIFY(outcome.cancelled);
        QCOMPARE(outcome.added, 0);
        QCOMPARE(clock.nowMs() - start, 1000);
        QCOMPARE(watcher_.events.last(), QStringLiteral("ended"));
        QVERIFY(!watcher_.events.contains(QStringLiteral("Checking IP Address 127.0.0.2")));
        QVERIFY(outcome.saved);
        EthernetAdapters stored;
        QVERIFY(stored.LoadFromDB(db_));
        QCOMPARE(stored.Count(), 1);
    }

    void aLocalAddressThatCannotBeBoundEndsTheSearchUnsaved()
    {
        LoopbackNetwork net({QStringLiteral("not an address")}, {QStringLiteral("127.0.19.7")});
        const SearchOutcome outcome = discovery_->SearchAdapters();
        QVERIFY(outcome.failed);
        QVERIFY(!outcome.saved);
        QVERIFY(!QFile::exists(db_));
        QCOMPARE(messages_.shown, QStringList{"LangEASearchError"});
        QCOMPARE(watcher_.events.last(), QStringLiteral("ended"));
    }

    void hardwareAddressOfOneAdapter()
    {
        const auto a = simulatedAdapter(QStringLiteral("127.0.19.2"));
        const auto b = simulatedAdapter(QStringLiteral("127.0.19.3"));
        sim::AdapterSettings other = b->settings();
        other.hardwareAddress = {0x00, 0x20, 0x4A, 0x01, 0x02, 0xAB};
        b->setSettings(other);
        LoopbackNetwork net({PcAddress}, {QStringLiteral("127.0.19.2"), QStringLiteral("127.0.19.3")});
        QCOMPARE(discovery_->QueryAdapterMac(QStringLiteral("127.0.19.3")), QStringLiteral("0:20:4A:1:2:AB"));
        QCOMPARE(discovery_->QueryAdapterMac(QStringLiteral("127.0.19.2")), QStringLiteral("0:20:4A:6E:C:D"));
        QCOMPARE(discovery_->QueryAdapterMac(QStringLiteral("127.0.19.9")), QString());
    }

    void resetReachesTheAdapterWithThatHardwareAddress()
    {
        const auto a = simulatedAdapter(QStringLiteral("127.0.19.2"));
        QSignalSpy applied(a.get(), &sim::AdapterConfigServer::settingsApplied);
        LoopbackNetwork net({PcAddress}, {QStringLiteral("127.0.19.2")});
        QVERIFY(discovery_->ResetAdapterAddress(QStringLiteral("0:20:4A:6E:C:E")));
        QVERIFY(!discovery_->ResetAdapterAddress(QStringLiteral("nonsense")));
        QVERIFY(discovery_->ResetAdapterAddress(QStringLiteral("0:20:4A:6E:C:D")));
        static_cast<VirtualClock&>(Clock::current()).advance(3100);
        QCOMPARE(applied.count(), 1);
        QVERIFY(a->settings().automatic);
    }

private:
    std::unique_ptr<VirtualClockScope> clock_;
    QTemporaryDir dir_;
    QString db_;
    AdapterSocket socket_;
    EthernetAdapters list_;
    RecordedMessages messages_;
    KeyTexts texts_;
    Watcher watcher_;
    std::unique_ptr<AdapterDiscovery> discovery_;
};

QTEST_GUILESS_MAIN(TestAdapterDiscovery)
#include "tst_adapterdiscovery.moc"
