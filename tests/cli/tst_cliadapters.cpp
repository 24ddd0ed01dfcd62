// dunmere-cli adapters run as a program on a data folder of the test's own: the list kept in
// the store, a search from 127.0.0.1 whose query goes to a simulated adapter on loopback (the
// test's event loop answers for it while the program runs), and wrong arguments refused.

#include "sim/AdapterConfigServer.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

}  // namespace

class TestCliAdapters : public QObject {
    Q_OBJECT
private slots:
    void listIsKeptInTheStore()
    {
        Run r = run({"adapters", "list"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString());
        QVERIFY(QFile::exists(dataFolder_.path() + QStringLiteral("/Quelmar/Dunmere/EthernetDB.mdb")));
        r = run({"adapters", "add", "10.0.0.1:010001"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("1\t10.0.0.1\t10001\t0.0.0.0\tmanual\n"));
        QCOMPARE(run({"adapters", "add", "10.0.0.1:10001"}).out, QStringLiteral("1\t10.0.0.1\t10001\t0.0.0.0\tmanual\n"));
        QCOMPARE(run({"adapters", "add", "10.0.0.2:4001"}).status, 0);
        r = run({"adapters", "remove", "1"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("1\t10.0.0.2\t4001\t0.0.0.0\tmanual\n"));
        QCOMPARE(run({"adapters", "list"}).out, r.out);
        QCOMPARE(run({"adapters", "remove", "1"}).status, 0);
    }

    void wrongArgumentsAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("decimal port") << QStringList{"adapters", "add", "10.0.0.1:10001.0"};
        QTest::newRow("no port") << QStringList{"adapters", "add", "10.0.0.1"};
        QTest::newRow("two dots") << QStringList{"adapters", "add", "10.0.1:10001"};
        QTest::newRow("remove beyond") << QStringList{"adapters", "remove", "5"};
        QTest::newRow("unknown") << QStringList{"adapters", "frobnicate"};
        QTest::newRow("search option") << QStringList{"adapters", "search", "--local"};
        QTest::newRow("setup without mode") << QStringList{"adapters", "setup", "127.0.19.71", "--port", "10001"};
    }
    void wrongArgumentsAreRefused()
    {
        QFETCH(QStringList, arguments);
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains(QStringLiteral("adapters")));
    }

    void searchFindsTheSimulatedAdapter()
    {
        dunmere::sim::AdapterConfigServer adapter;
        QString error;
        QVERIFY2(adapter.bind(QHostAddress(QStringLiteral("127.0.19.70")), 30718, error), qPrintable(error));
        const Run r = run({"adapters", "search", "--local", "127.0.0.1", "--target", "127.0.19.70"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("1\t127.0.19.70\t10001\t127.0.0.1\tautomatic\n"));
        QCOMPARE(run({"adapters", "remove", "1"}).status, 0);
    }

private:
    Run run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder_.path());
        process.setProcessEnvironment(env);
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QStringLiteral(DUNMERE_CLI), arguments);
        Run r;
        // Events keep running meanwhile: a simulated adapter of the test answers from here.
        if (!finished.wait(60000))
            return r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        return r;
    }

    QTemporaryDir dataFolder_;
};

QTEST_GUILESS_MAIN(TestCliAdapters)
#include "tst_cliadapters.moc"
