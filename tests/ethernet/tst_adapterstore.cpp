// The adapter database and the checks of typed addresses and ports: the store made on first
// use with its table, columns and key; rows saved in one transaction with bound values, in
// list order; a failed save leaving file and list as they were. Discovery is elsewhere.

#include "ethernet/EthernetAdapter.h"
#include "ethernet/EthernetFunctions.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;

namespace {

void addByHand(EthernetAdapters& list, const QString& address, int port)
{
    list.Add(false, -1, port, address, address, QStringLiteral("0.0.0.0"), AdapterKey(address, port));
}

// The table's columns as SQLite reports them: name, declared type, primary-key flag.
QStringList columnsOf(const QString& path)
{
    QStringList columns;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(QStringLiteral("PRAGMA table_info(EthernetAdapters)"), db);
            while (q.next())
                columns << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString() + QLatin1Char(' ')
                               + q.value(5).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
    return columns;
}

}  // namespace

class TestAdapterStore : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); path_ = dir_.filePath(QStringLiteral("EthernetDB.mdb")); QFile::remove(path_); }

    void missingStoreIsCreatedEmpty()
    {
        EthernetAdapters list;
        addByHand(list, QStringLiteral("10.0.0.1"), 10001);
        QString error;
        QVERIFY2(list.LoadFromDB(path_, &error), qPrintable(error));
        QVERIFY(QFile::exists(path_));
        QCOMPARE(list.Count(), 0);
        QCOMPARE(columnsOf(path_), (QStringList{"bAutomaticallyFound BOOLEAN 0", "strIPAddress VARCHAR(50) 0",
                                                "strLocalIPAddress VARCHAR(50) 0", "lPortNumber INTEGER 0",
                                                "strHostname VARCHAR(50) 0", "Key VARCHAR(50) 1"}));
    }

    void entriesComeBackInOrderWithTheirValues()
    {
        EthernetAdapters list;
        list.Add(true, 7, 10001, QStringLiteral("192.168.0.20"), QStringLiteral("192.168.0.20"),
                 QStringLiteral("192.168.0.5"), QStringLiteral("192.168.0.20:10001"));
        addByHand(list, QStringLiteral("10.0.0.9"), 4001);
        addByHand(list, QStringLiteral("10.0.0.1"), 4001);
        QVERIFY(list.SaveToDB(path_));
        EthernetAdapters loaded;
        QVERIFY(loaded.LoadFromDB(path_));
        QCOMPARE(loaded.Count(), 3);
        const EthernetAdapter* first = loaded.Item(1);
        QVERIFY(first->bAutomaticallyFound);
        QCOMPARE(first->iAdapterNumber, qint16(1));  // the position, not what was stored
        QCOMPARE(first->lPortNumber, 10001);
        QCOMPARE(first->strLocalIPAddress, QStringLiteral("192.168.0.5"));
        QCOMPARE(loaded.Item(2)->Key, QStringLiteral("10.0.0.9:4001"));
        QCOMPARE(loaded.Item(3)->Key, QStringLiteral("10.0.0.1:4001"));
        QCOMPARE(loaded.Item(3)->iAdapterNumber, qint16(3));
    }

    void anExistingKeyLeavesOneEntryWithTheLaterValues()
    {
        EthernetAdapters list;
        addByHand(list, QStringLiteral("10.0.0.1"), 10001);
        addByHand(list, QStringLiteral("10.0.0.2"), 10001);
        list.Add(true, 1, 10001, QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.5"),
                 QStringLiteral("10.0.0.1:10001"));
        QVERIFY(list.SaveToDB(path_));
        QVERIFY(list.LoadFromDB(path_));
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.Item(1)->Key, QStringLiteral("10.0.0.1:10001"));
        QVERIFY(list.Item(1)->bAutomaticallyFound);
        QCOMPARE(list.Item(1)->strLocalIPAddress, QStringLiteral("10.0.0.5"));
    }

    void aQuoteInATextIsStoredAndFound()
    {
        EthernetAdapters list;
        const QString odd = QStringLiteral("10.0.0.1'; DROP TABLE EthernetAdapters; --");
        list.Add(false, -1, 1, odd, odd, QStringLiteral("0.0.0.0"), QStringLiteral("it's:1"));
        list.Add(false, -1, 2, odd, odd, QStringLiteral("0.0.0.0"), QStringLiteral("it's:1"));
        QString error;
        QVERIFY2(list.SaveToDB(path_, &error), qPrintable(error));
        EthernetAdapters loaded;
        QVERIFY(loaded.LoadFromDB(path_));
        QCOMPARE(loaded.Count(), 1);
        QCOMPARE(loaded.Item(1)->strIPAddress, odd);
        QVERIFY(loaded.Exists(QStringLiteral("it's:1")));
        QCOMPARE(loaded.Item(1)->lPortNumber, 2);
    }

    void aFailedSaveLeavesTheFileAndTheListAsTheyWere()
    {
        EthernetAdapters list;
        addByHand(list, QStringLiteral("10.0.0.1"), 10001);
        QVERIFY(list.SaveToDB(path_));
        // A text longer than its 50 characters is refused half-way through the rows.
        addByHand(list, QStringLiteral("10.0.0.2"), 10001);
        addByHand(list, QStringLiteral("1.1.1.") + QString(60, QLatin1Char('1')), 10001);
        QString error;
        QVERIFY(!list.SaveToDB(path_, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(list.Count(), 3);
        EthernetAdapters loaded;
        QVERIFY(loaded.LoadFromDB(path_));
        QCOMPARE(loaded.Count(), 1);
        QCOMPARE(loaded.Item(1)->Key, QStringLiteral("10.0.0.1:10001"));
    }

    void anUnreadableStoreKeepsTheListAndSaysWhy()
    {
        QFile file(path_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        EthernetAdapters list;
        addByHand(list, QStringLiteral("10.0.0.1"), 10001);
        QString error;
        QVERIFY(!list.LoadFromDB(path_, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(list.Count(), 1);
    }

    void dottedAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dotted");
        QTest::addColumn<bool>("usable");  // every part 0-255
        QTest::newRow("plain") << "192.168.0.10" << true << true;
        QTest::newRow("part above 255") << "300.1.1.1" << true << false;
        QTest::newRow("two dots") << "192.168.0" << false << false;
        QTest::newRow("four dots") << "1.2.3.4.5" << false << false;
        QTest::newRow("empty part") << "1..3.4" << false << false;
        QTest::newRow("trailing dot") << "1.2.3." << false << false;
        QTest::newRow("letters") << "1.2.3.x" << false << false;
        QTest::newRow("sign") << "1.2.3.-4" << false << false;
        QTest::newRow("host name") << "adapter.local" << false << false;
        QTest::newRow("empty") << "" << false << false;
    }
    void dottedAddresses()
    {
        QFETCH(QString, text);
        QFETCH(bool, dotted);
        QFETCH(bool, usable);
        QCOMPARE(IsDottedAddress(text), dotted);
        QCOMPARE(DottedParts(text).has_value(), usable);
    }

    void typedPorts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("adapterPort");  // 0: refused
        QTest::addColumn<bool>("busPort");
        QTest::newRow("1") << "1" << 1 << false;
        QTest::newRow("1024") << "1024" << 1024 << false;
        QTest::newRow("1025") << "1025" << 1025 << true;
        QTest::newRow("9999") << "9999" << 9999 << false;
        QTest::newRow("10001") << "10001" << 10001 << true;
        QTest::newRow("leading zero") << "010001" << 10001 << true;
        QTest::newRow("13999") << "13999" << 13999 << true;
        QTest::newRow("14000") << "14000" << 14000 << false;
        QTest::newRow("14009") << "14009" << 14009 << false;
        QTest::newRow("14010") << "14010" << 14010 << true;
        QTest::newRow("30704") << "30704" << 30704 << false;
        QTest::newRow("30718") << "30718" << 30718 << false;
        QTest::newRow("65535") << "65535" << 65535 << true;
        QTest::newRow("65536") << "65536" << 0 << false;
        QTest::newRow("0") << "0" << 0 << false;
        QTest::newRow("decimal") << "10001.0" << 0 << false;
        QTest::newRow("exponent") << "1e10" << 0 << false;
        QTest::newRow("negative") << "-5" << 0 << false;
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("huge") << "99999999999999999999" << 0 << false;
    }
    void typedPorts()
    {
        QFETCH(QString, text);
        QFETCH(int, adapterPort);
        QFETCH(bool, busPort);
        const auto port = ParseAdapterPort(text);
        QCOMPARE(port ? int(*port) : 0, adapterPort);
        QCOMPARE(ParseBusPort(text).has_value(), busPort);
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

QTEST_GUILESS_MAIN(TestAdapterStore)
#include "tst_adapterstore.moc"
