// The in-memory adapter list (1-based positions, removal moving later entries up, exact key
// match) and the local address list (IPv4 only, no loopback, replaceable). The adapter store
// on disk is not here.

#include "ethernet/EthernetAdapter.h"
#include "link/LocalAddresses.h"

#include <QHostAddress>
#include <QTest>

using namespace dunmere;

namespace {

class FixedAddresses final : public LocalAddressSource {
public:
    QStringList addresses() const override { return {QStringLiteral("127.0.0.2"), QStringLiteral("127.0.0.3")}; }
};

EthernetAdapters threeAdapters()
{
    EthernetAdapters list;
    for (int i = 1; i <= 3; ++i) {
        const QString host = QStringLiteral("10.0.0.%1").arg(i);
        list.Add(i == 2, qint16(i), 10000 + i, host, host, QStringLiteral("0.0.0.0"),
                 host + QStringLiteral(":") + QString::number(10000 + i));
    }
    return list;
}

}  // namespace

class TestAdapterListAndAddresses : public QObject {
    Q_OBJECT
private slots:
    void positionsCountFromOne();
    void removeMovesLaterEntriesUp();
    void existsMatchesTheWholeKeyExactly_data();
    void existsMatchesTheWholeKeyExactly();
    void systemAddressesAreIpv4WithoutLoopback();
    void installedSourceReplacesTheSystem();
};

void TestAdapterListAndAddresses::positionsCountFromOne()
{
    const EthernetAdapters list = threeAdapters();
    QCOMPARE(list.Count(), 3);
    QVERIFY(list.Item(0) == nullptr);
    QVERIFY(list.Item(4) == nullptr);
    QCOMPARE(list.Item(1)->strIPAddress, QStringLiteral("10.0.0.1"));
    QCOMPARE(list.Item(2)->lPortNumber, 10002);
    QVERIFY(list.Item(2)->bAutomaticallyFound);
    QCOMPARE(list.Item(3)->Key, QStringLiteral("10.0.0.3:10003"));
    QStringList order;
    for (const EthernetAdapter& a : list)
        order.append(a.strHostname);
    QCOMPARE(order, (QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
}

void TestAdapterListAndAddresses::removeMovesLaterEntriesUp()
{
    EthernetAdapters list = threeAdapters();
    list.Remove(1);
    list.Remove(7);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.Item(1)->strIPAddress, QStringLiteral("10.0.0.2"));
    QCOMPARE(list.Item(2)->strIPAddress, QStringLiteral("10.0.0.3"));
}

void TestAdapterListAndAddresses::existsMatchesTheWholeKeyExactly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exists");
    QTest::newRow("exact") << "10.0.0.2:10002" << true;
    QTest::newRow("prefix") << "10.0.0.2:1000" << false;
    QTest::newRow("longer") << "10.0.0.2:100021" << false;
    QTest::newRow("host only") << "10.0.0.2" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAdapterListAndAddresses::existsMatchesTheWholeKeyExactly()
{
    QFETCH(QString, key);
    QFETCH(bool, exists);
    QCOMPARE(threeAdapters().Exists(key), exists);
}

void TestAdapterListAndAddresses::systemAddressesAreIpv4WithoutLoopback()
{
    for (const QString& text : LocalAddresses()) {
        QHostAddress address;
        QVERIFY2(address.setAddress(text), qPrintable(text));
        QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
        QVERIFY2(!address.isLoopback(), qPrintable(text));
        QCOMPARE(text.count(QLatin1Char('.')), 3);
    }
}

void TestAdapterListAndAddresses::installedSourceReplacesTheSystem()
{
    FixedAddresses fixed;
    SetLocalAddressSource(&fixed);
    QCOMPARE(LocalAddresses(), (QStringList{"127.0.0.2", "127.0.0.3"}));
    SetLocalAddressSource(nullptr);
    QVERIFY(!LocalAddresses().contains(QStringLiteral("127.0.0.2")));
}

QTEST_GUILESS_MAIN(TestAdapterListAndAddresses)
#include "tst_adapterlistandaddresses.moc"
