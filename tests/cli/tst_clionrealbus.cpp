// dunmere-cli over its real transports against a running dunmere-sim: an Ethernet adapter on
// 127.0.0.1 and a serial port on a pseudo-terminal, in real time. The simulator keeps its
// state between runs, so a move made by one run is what the next search finds. Exchange
// details are tested on the virtual clock elsewhere; this only shows the paths carry them.

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

private:
    QString cli(const QStringList& arguments, int& status);
    QProcess sim_;
    QString tcp_;
    QString pty_;
    QTemporaryDir dataFolder_;
};

void TestCliOnRealBus::initTestCase()
{
#ifndef DUNMERE_SIM
    QSKIP("dunmere-sim is not built");
#else
    sim_.setProcessChannelMode(QProcess::SeparateChannels);
    sim_.start(QStringLiteral(DUNMERE_SIM),
               {QStringLiteral("--sensors"), QStringLiteral("1:89:Q8900017:Mixer 2,4:45"), QStringLiteral("--tcp"),
                QStringLiteral("127.0.0.1:0"), QStringLiteral("--pty")});
    QVERIFY(sim_.waitForStarted());
    QString output;
    QDeadlineTimer deadline(10000);
    while (!output.contains(QStringLiteral("ready")) && !deadline.hasExpired()) {
        sim_.waitForReadyRead(200);
        output += QString::fromLatin1(sim_.readAllStandardOutput());
    }
    QVERIFY2(output.contains(QStringLiteral("ready")), qPrintable(output));
    tcp_ = QRegularExpression(QStringLiteral("tcp: (127\\.0\\.0\\.1:\\d+)")).match(output).captured(1);
    pty_ = QRegularExpression(QStringLiteral("pty: (\\S+)")).match(output).captured(1);
    QVERIFY(!tcp_.isEmpty() && !pty_.isEmpty());
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

QTEST_GUILESS_MAIN(TestCliOnRealBus)
#include "tst_clionrealbus.moc"
