// An adapter's network set-up over UDP on loopback against the simulated adapter (or a
// scripted one): the record read with its tries, the input refused before anything is sent,
// the 0xFD record made from the record read, the 6000 ms with progress, a fixed address that
// moves the adapter and the list entry that follows it.

#include "LoopbackNetwork.h"

#include "ethernet/AdapterDatagrams.h"
#include "ethernet/AdapterSetup.h"
#include "ethernet/AdapterSocket.h"
#include "link/Clock.h"
#include "sim/AdapterConfigServer.h"

#include "../support/VirtualClockFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace dunmere;
using namespace dunmere::test;

namespace {

QByteArray recordFor(int port)
{
    QByteArray r = typed(0xF9, 124);
    r[4] = 127, r[5] = 0, r[6] = 19, r[7] = 20;
    r[16] = 127, r[17] = 0, r[18] = 19, r[19] = char(254);
    r[24] = char(port & 0xFF), r[25] = char(port >> 8);
    r.replace(60, 5, "KEEP!");
    return r;
}

}  // namespace

class TestAdapterSetup : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        clock_ = std::make_unique<VirtualClockScope>();
        messages_.shown.clear();
    }
    void cleanup() { clock_.reset(); }

    void currentSettingsAreRead()
    {
        ScriptedAdapter adapter(QStringLiteral("127.0.19.20"), {recordFor(10001)});
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.20"));
        setup.setMessages(&messages_, &texts_);
        QVERIFY(setup.GetCurrentConfiguration());
        QVERIFY(!setup.DhcpMode);
        QCOMPARE(setup.CurrentPort, quint16(10001));
        QCOMPARE(setup.CurrentGateway, QStringLiteral("127.0.19.254"));
        QCOMPARE(setup.localAddress, QStringLiteral("127.0.0.1"));
        QVERIFY(messages_.shown.isEmpty());
    }

    // Only a whole 0xF9 record counts; anything else is waited past, and after three tries of
    // 3000 ms the read gives up.
    void onlyAWholeRecordIsTaken_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<bool>("read");
        QTest::newRow("hardware reply first") << QList<QByteArray>{typed(0xF7, 30), recordFor(4001)} << true;
        QTest::newRow("10-byte record") << QList<QByteArray>{recordFor(4001).left(10)} << false;
        QTest::newRow("one byte") << QList<QByteArray>{QByteArray(1, char(0xF9))} << false;
        QTest::newRow("silence") << QList<QByteArray>{} << false;
    }
    void onlyAWholeRecordIsTaken()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(bool, read);
        ScriptedAdapter adapter(QStringLiteral("127.0.19.21"), replies);
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.21"));
        setup.setMessages(&messages_, &texts_);
        const qint64 start = Clock::current().nowMs();
        QCOMPARE(setup.GetCurrentConfiguration().has_value(), read);
        QCOMPARE(setup.ConfigReadFailed, !read);
        if (read) {
            QCOMPARE(setup.CurrentPort, quint16(4001));
        } else {
            QCOMPARE(Clock::current().nowMs() - start, 3 * AdapterSetup::ReadWaitMs);
            QTRY_COMPARE_WITH_TIMEOUT(adapter.received.size(), 3, 1000);
            QCOMPARE(messages_.shown, QStringList{"LangCannotRetrieveConfiguration"});
        }
    }

    void inputIsRefusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QString>("port");
        QTest::newRow("port 1024") << false << "127.0.19.30" << "127.0.19.254" << "1024";
        QTest::newRow("port 14005") << false << "127.0.19.30" << "127.0.19.254" << "14005";
        QTest::newRow("port 30718") << false << "127.0.19.30" << "127.0.19.254" << "30718";
        QTest::newRow("port text") << false << "127.0.19.30" << "127.0.19.254" << "10001.5";
        QTest::newRow("address") << false << "127.0.19" << "127.0.19.254" << "10001";
        QTest::newRow("gateway") << false << "127.0.19.30" << "gw" << "10001";
        QTest::newRow("automatic still needs the address") << true << "" << "127.0.19.254" << "10001";
    }
    void inputIsRefusedBeforeAnythingIsSent()
    {
        QFETCH(bool, automatic);
        QFETCH(QString, address);
        QFETCH(QString, gateway);
        QFETCH(QString, port);
        ScriptedAdapter adapter(QStringLiteral("127.0.19.22"), {recordFor(10001)});
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.22"));
        setup.setMessages(&messages_, &texts_);
        QCOMPARE(setup.write({automatic, address, gateway, port}), AdapterSetup::WriteResult::InputRefused);
        QCOMPARE(messages_.shown, QStringList{"LangInvalidIPAddressPortGateway"});
        QTest::qWait(20);
        QVERIFY(adapter.received.isEmpty());
    }

    void newRecordCarriesTheReadBytes()
    {
        ScriptedAdapter adapter(QStringLiteral("127.0.19.23"), {recordFor(10001)});
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.23"));
        setup.setMessages(&messages_, &texts_);
        QList<int> progress;
        const qint64 start = Clock::current().nowMs();
        QCOMPARE(setup.write({false, QStringLiteral("127.0.19.40"), QStringLiteral("127.0.19.1"), QStringLiteral("10200")},
                             [&](int p) { progress << p; }),
                 AdapterSetup::WriteResult::Written);
        QVERIFY(Clock::current().nowMs() - start >= AdapterSetup::ApplyMs);
        QCOMPARE(progress.first(), 0);
        QCOMPARE(progress.last(), 100);
        QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
        QTRY_COMPARE_WITH_TIMEOUT(adapter.received.size(), 2, 1000);
        QByteArray expected = recordFor(10001);
        expected[3] = char(0xFD);
        expected[4] = 127, expected[5] = 0, expected[6] = 19, expected[7] = 40;
        expected[19] = 1;
        expected[24] = char(0xD8), expected[25] = 0x27;
        QCOMPARE(adapter.received.at(1), expected);
        QVERIFY(messages_.shown.isEmpty());
    }

    void automaticAddressingWritesZeros()
    {
        ScriptedAdapter adapter(QStringLiteral("127.0.19.24"), {recordFor(10001)});
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.24"));
        QCOMPARE(setup.write({true, QStringLiteral("1.2.3.4"), QStringLiteral("127.0.19.1"), QStringLiteral("10001")}),
                 AdapterSetup::WriteResult::Written);
        QTRY_COMPARE_WITH_TIMEOUT(adapter.received.size(), 2, 1000);
        QCOMPARE(adapter.received.at(1).mid(4, 4), QByteArray(4, '\0'));
    }

    void aPartAboveAByteIsAnErrorAndNothingIsWritten()
    {
        ScriptedAdapter adapter(QStringLiteral("127.0.19.25"), {recordFor(10001)});
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.25"));
        setup.setMessages(&messages_, &texts_);
        QCOMPARE(setup.write({false, QStringLiteral("127.0.19.300"), QStringLiteral("127.0.19.1"), QStringLiteral("10001")}),
                 AdapterSetup::WriteResult::Failed);
        QCOMPARE(messages_.shown, QStringList{"LangErrorDuringConfiguration"});
        QTest::qWait(20);
        QCOMPARE(adapter.received.size(), 1);  // the read only
    }

    void noRecordBeforeTheWrite()
    {
        ScriptedAdapter mute(QStringLiteral("127.0.19.26"));
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.26"));
        setup.setMessages(&messages_, &texts_);
        QCOMPARE(setup.write({false, QStringLiteral("127.0.19.27"), QStringLiteral("127.0.19.1"), QStringLiteral("10001")}),
                 AdapterSetup::WriteResult::CannotRead);
        QCOMPARE(messages_.shown, (QStringList{"LangCannotRetrieveConfiguration", "LangCannotReadCurrentConfig"}));
    }

    void aFixedAddressMovesTheAdapterAndItsEntry()
    {
        sim::AdapterConfigServer adapter;
        adapter.setApplyDelayMs(3000);
        QString error;
        QVERIFY2(adapter.bind(QHostAddress(QStringLiteral("127.0.19.28")), AdapterProtocolPort, error), qPrintable(error));
        AdapterSetup setup(socket_, QStringLiteral("127.0.19.28"));
        setup.setMessages(&messages_, &texts_);
        QVERIFY(setup.GetCurrentConfiguration());
        QCOMPARE(setup.write({false, QStringLiteral("127.0.19.29"), setup.CurrentGateway, QStringLiteral("10200")}),
                 AdapterSetup::WriteResult::Written);
        setup.moveTo(QStringLiteral("127.0.19.29"));
        QVERIFY(setup.GetCurrentConfiguration());
        QCOMPARE(setup.CurrentPort, quint16(10200));

        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("EthernetDB.mdb"));
        EthernetAdapters list;
        for (const char* host : {"127.0.19.9", "127.0.19.28", "127.0.19.10"})
            list.Add(true, 1, 10001, QString::fromLatin1(host), QString::fromLatin1(host), QStringLiteral("127.0.0.1"),
                     QString::fromLatin1(host) + QStringLiteral(":10001"));
        const int position = ReplaceAdapterEntry(list, 2, setup.AdapterAddress, setup.CurrentPort, setup.localAddress, db);
        QCOMPARE(position, 3);
        QCOMPARE(list.Count(), 3);
        QCOMPARE(list.Item(2)->Key, QStringLiteral("127.0.19.10:10001"));
        const EthernetAdapter* moved = list.Item(3);
        QCOMPARE(moved->Key, QStringLiteral("127.0.19.29:10200"));
        QVERIFY(!moved->bAutomaticallyFound);
        QCOMPARE(moved->strLocalIPAddress, QStringLiteral("127.0.0.1"));
        QVERIFY(messages_.shown.isEmpty());
    }

private:
    std::unique_ptr<VirtualClockScope> clock_;
    AdapterSocket socket_;
    RecordedMessages messages_;
    KeyTexts texts_;
};

QTEST_GUILESS_MAIN(TestAdapterSetup)
#include "tst_adaptersetup.moc"
