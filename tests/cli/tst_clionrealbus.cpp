// dunmere-cli over its real transports against a running dunmere-sim: an Ethernet adapter on
// 127.0.0.1 and a serial port on a pseudo-terminal, in real time. The simulator keeps its
// state between runs, so a move made by one run is what the next search finds, and a status
// flag set on its console is what diag reports. A simulator of its own is stopped under a
// running watch. Exchange details are tested on the virtual clock elsewhere; this only shows
// the paths carry them.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestCliOnRealBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void searchOverTcp();
    void readOverPseudoTerminal();
    void moveIsWhatTheNextSearchFinds();
    void searchOnSeveralBuses();
    void diagNamesTheSetStatusFlags();
    void backupThenCheck();
    void lostConnectionEndsTheWatch_data();
    void lostConnectionEndsTheWatch();

private:
    // Starts a simulator on both front ends; its TCP endpoint and pseudo-terminal.
    static bool startSim(QProcess& sim, QString& tcp, QString& pty);
    QString cli(const QStringList& arguments, int& status);
    QProcess sim_;
    QString tcp_;
    QString pty_;
    QTemporaryDir dataFolder_;
};

bool TestCliOnRealBus::startSim(QProcess& sim, QString& tcp, QString& pty)
{
#ifndef DUNMERE_SIM
    Q_UNUSED(sim);
    Q_UNUSED(tcp);
    Q_UNUSED(pty);
    return false;
#else
    sim.setProcessChannelMode(QProcess::SeparateChannels);
    // A fast line keeps these real-time runs short; the wire's timing is tested elsewhere.
    sim.start(QStringLiteral(DUNMERE_SIM),
              {QStringLiteral("--sensors"), QStringLiteral("1:89:Q8900017:Mixer 2,4:45"), QStringLiteral("--tcp"),
               QStringLiteral("127.0.0.1:0"), QStringLiteral("--pty"), QStringLiteral("--baud"), QStringLiteral("115200")});
    if (!sim.waitForStarted())
        return false;
    QString output;
    QDeadlineTimer deadline(10000);
    while (!output.contains(QStringLiteral("ready")) && !deadline.hasExpired()) {
        sim.waitForReadyRead(200);
        output += QString::fromLatin1(sim.readAllStandardOutput());
    }
    tcp = QRegularExpression(QStringLiteral("tcp: (127\\.0\\.0\\.1:\\d+)")).match(output).captured(1);
    pty = QRegularExpression(QStringLiteral("pty: (\\S+)")).match(output).captured(1);
    return !tcp.isEmpty() && !pty.isEmpty();
#endif
}

void TestCliOnRealBus::initTestCase()
{
#ifndef DUNMERE_SIM
    QSKIP("dunmere-sim is not built");
#else
    QVERIFY(startSim(sim_, tcp_, pty_));
#endif
}

void TestCliOnRealBus::cleanupTestCase()
{
    if (sim_.state() == QProcess::NotRunning)
        return;
    sim_.terminate();
    if (!sim_.waitForFinished(3000))
        sim_.kill();
}

QString TestCliOnRealBus::cli(const QStringList& arguments, int& status)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder_.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DUNMERE_CLI), arguments);
    status = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLatin1(process.readAllStandardOutput());
}

void TestCliOnRealBus::searchOverTcp()
{
    int status = -1;
    const QString out = cli({QStringLiteral("--tcp"), tcp_, QStringLiteral("--search-speed"), QStringLiteral("200"),
                             QStringLiteral("search")},
                            status);
    QCOMPARE(status, 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("1\tQ8900017\tMixer 2\tQX0089 v1.12\t89\t1.12"));
    QVERIFY(lines[1].startsWith(QStringLiteral("4\t")));
}

void TestCliOnRealBus::readOverPseudoTerminal()
{
    int status = -1;
    const QString out = cli({QStringLiteral("--serial"), pty_, QStringLiteral("read"), QStringLiteral("1"),
                             QStringLiteral("50"), QStringLiteral("15")},
                            status);
    QCOMPARE(status, 0);
    // Parameter 15 is not in the register: the sensor says so.
    QCOMPARE(out, QStringLiteral("QX0089 v1.12\n?\n"));
}

void TestCliOnRealBus::moveIsWhatTheNextSearchFinds()
{
    int status = -1;
    cli({QStringLiteral("--tcp"), tcp_, QStringLiteral("--search-speed"), QStringLiteral("200"), QStringLiteral("move"),
         QStringLiteral("4"), QStringLiteral("9")},
        status);
    QCOMPARE(status, 0);
    const QString out = cli({QStringLiteral("--serial"), pty_, QStringLiteral("--search-speed"), QStringLiteral("200"),
                             QStringLiteral("search")},
                            status);
    QCOMPARE(status, 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].startsWith(QStringLiteral("9\t")), qPrintable(out));
}

void TestCliOnRealBus::searchOnSeveralBuses()
{
    // The simulator serves one bus on both front ends, so each finds the same two sensors.
    int status = -1;
    const QString out = cli({QStringLiteral("--tcp"), tcp_, QStringLiteral("--serial"), pty_, QStringLiteral("--search-speed"),
                             QStringLiteral("200"), QStringLiteral("search")},
                            status);
    QCOMPARE(status, 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines[0].startsWith(tcp_ + QStringLiteral("\t1\tQ8900017\tMixer 2\t")), qPrintable(out));
    QVERIFY(lines[1].startsWith(tcp_ + QLatin1Char('\t')));
    QVERIFY2(lines[2].startsWith(pty_ + QStringLiteral("\t1\tQ8900017\t")), qPrintable(out));
    QVERIFY(lines[3].startsWith(pty_ + QLatin1Char('\t')));
}

void TestCliOnRealBus::diagNamesTheSetStatusFlags()
{
    // Position 9 of parameter 69: electronics too hot.
    sim_.write("flags 1 0000000010\n");
    QDeadlineTimer deadline(5000);
    QString answer;
    while (!answer.contains(QStringLiteral("flags")) && !deadline.hasExpired()) {
        sim_.waitForReadyRead(100);
        answer += QString::fromLatin1(sim_.readAllStandardOutput());
    }
    int status = -1;
    const QString human = cli({QStringLiteral("--tcp"), tcp_, QStringLiteral("diag"), QStringLiteral("1")}, status);
    QCOMPARE(status, 0);
    QVERIFY2(human.contains(QStringLiteral("\nStatus = Electronics Too Hot\n")), qPrintable(human));

    const QString json = cli({QStringLiteral("--tcp"), tcp_, QStringLiteral("--json"), QStringLiteral("diag"), QStringLiteral("1")},
                             status);
    QCOMPARE(status, 0);
    QMap<QString, bool> flags;
    for (const QJsonValue& v : QJsonDocument::fromJson(json.toUtf8()).object().value(QStringLiteral("values")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.contains(QStringLiteral("set")))
            flags.insert(o.value(QStringLiteral("name")).toString(), o.value(QStringLiteral("set")).toBool());
    }
    const QMap<QString, bool> expected{{QStringLiteral("LblStatus_0"), false}, {QStringLiteral("LblStatus_3"), false},
                                       {QStringLiteral("LblStatus_4"), true},  {QStringLiteral("LblStatus_5"), false},
                                       {QStringLiteral("LblStatus_6"), false}};
    QCOMPARE(flags, expected);
    sim_.write("flags 1 0000000000\n");
}

void TestCliOnRealBus::backupThenCheck()
{
    // A simulator of its own, so the write below touches nothing the other tests read.
    QProcess sim;
    QString tcp, pty;
    QVERIFY(startSim(sim, tcp, pty));
    QTemporaryDir folder;
    const QString dir = folder.filePath(QStringLiteral("plant"));  // made by backup
    const QStringList bus{QStringLiteral("--tcp"), tcp, QStringLiteral("--search-speed"), QStringLiteral("200")};
    auto lines = [](const QString& out) { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); };
    int status = -1;

    QString out = cli(bus + QStringList{QStringLiteral("backup"), dir}, status);
    QCOMPARE(status, 0);
    QCOMPARE(lines(out).size(), 2);
    QCOMPARE(lines(out)[0], QStringLiteral("1\tQ8900017\tsaved\t") + dir + QStringLiteral("/Q8900017.txt"));
    const QString secondIdentity = lines(out)[1].section(QLatin1Char('\t'), 1, 1);
    QVERIFY(QFile::exists(dir + QLatin1Char('/') + secondIdentity + QStringLiteral(".txt")));

    out = cli(bus + QStringList{QStringLiteral("check"), dir}, status);
    QCOMPARE(status, 0);
    QCOMPARE(lines(out), (QStringList{QStringLiteral("1\tQ8900017\tequal"), QStringLiteral("4\t") + secondIdentity + QStringLiteral("\tequal")}));

    // One value changed on one sensor: exactly that one is reported, with both values.
    cli(bus + QStringList{QStringLiteral("write"), QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("17.5")}, status);
    QCOMPARE(status, 0);
    out = cli(bus + QStringList{QStringLiteral("check"), dir}, status);
    QCOMPARE(status, 1);
    QCOMPARE(lines(out), (QStringList{QStringLiteral("1\tQ8900017\tdiffers\tHigh %: 20.00 -> 17.50"),
                                      QStringLiteral("4\t") + secondIdentity + QStringLiteral("\tequal")}));

    const QString json = cli(bus + QStringList{QStringLiteral("--json"), QStringLiteral("check"), dir}, status);
    QCOMPARE(status, 1);
    const QJsonArray sensors = QJsonDocument::fromJson(json.toUtf8()).object().value(QStringLiteral("sensors")).toArray();
    QCOMPARE(sensors.size(), 2);
    const QJsonArray differences = sensors[0].toObject().value(QStringLiteral("differences")).toArray();
    QCOMPARE(differences.size(), 1);
    QCOMPARE(differences[0].toObject().value(QStringLiteral("saved")).toString(), QStringLiteral("20.00"));
    QCOMPARE(differences[0].toObject().value(QStringLiteral("present")).toString(), QStringLiteral("17.50"));

    // A bus without the second sensor: its file is saved but not found.
    out = cli({QStringLiteral("--simulate=1:89:Q8900017:Mixer 2"), QStringLiteral("--search-speed"), QStringLiteral("200"),
               QStringLiteral("check"), dir},
              status);
    QCOMPARE(status, 1);
    QVERIFY2(lines(out).contains(QStringLiteral("-\t") + secondIdentity + QStringLiteral("\tsaved but not found\t") + dir
                                 + QLatin1Char('/') + secondIdentity + QStringLiteral(".txt")),
             qPrintable(out));
    sim.kill();
    sim.waitForFinished(5000);
}

void TestCliOnRealBus::lostConnectionEndsTheWatch_data()
{
    QTest::addColumn<bool>("overTcp");
    QTest::addColumn<QString>("message");
    QTest::newRow("Ethernet adapter") << true << "dunmere-cli: the connection to 127.0.0.1:";
    QTest::newRow("serial port") << false << "dunmere-cli: the serial port ";
}

void TestCliOnRealBus::lostConnectionEndsTheWatch()
{
    QFETCH(bool, overTcp);
    QFETCH(QString, message);
    QProcess sim;
    QString tcp, pty;
    QVERIFY(startSim(sim, tcp, pty));
    QProcess watch;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder_.path());
    watch.setProcessEnvironment(env);
    watch.start(QStringLiteral(DUNMERE_CLI), {overTcp ? QStringLiteral("--tcp") : QStringLiteral("--serial"),
                                              overTcp ? tcp : pty, QStringLiteral("watch"), QStringLiteral("1")});
    QString out;
    QDeadlineTimer deadline(10000);
    while (out.count(QLatin1Char('\n')) < 2 && !deadline.hasExpired()) {
        watch.waitForReadyRead(100);
        out += QString::fromLatin1(watch.readAllStandardOutput());
    }
    QVERIFY2(out.count(QLatin1Char('\n')) >= 2, qPrintable(out));
    sim.kill();
    QVERIFY(sim.waitForFinished(5000));
    QVERIFY(watch.waitForFinished(10000));
    out += QString::fromLatin1(watch.readAllStandardOutput());
    const QString err = QString::fromLatin1(watch.readAllStandardError());
    QCOMPARE(watch.exitCode(), 1);
    QVERIFY2(err.contains(message), qPrintable(err));
    // The line that failed is the last one.
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.last().contains(QStringLiteral("-99")), qPrintable(out));
    QVERIFY(!lines[lines.size() - 2].contains(QStringLiteral("-99")));
}

QTEST_GUILESS_MAIN(TestCliOnRealBus)
#include "tst_clionrealbus.moc"
