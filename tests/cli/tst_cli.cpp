// dunmere-cli as a black box on its in-process simulated bus, in real time: the search's
// output lines, the exit statuses, the \xNN escapes of command and the --trace lines. The
// procedures behind the commands are tested on the virtual clock in tests/sensor; TCP and
// serial buses are left to the transport tests.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

const QString Bus = QStringLiteral("5:45,1:89:Q8900017:Mixer 2");

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void searchPrintsOneLinePerSensorInAddressOrder();
    void exitStatus_data();
    void exitStatus();
    void commandTakesByteEscapes();
    void traceShowsEveryFrameInHex();

private:
    Run run(const QStringList& arguments);
    QTemporaryDir dataFolder_;
};

void TestCli::initTestCase() { QVERIFY(dataFolder_.isValid()); }

Run TestCli::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // An empty data folder: the shipped texts, nothing of the user's.
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder_.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DUNMERE_CLI), arguments);
    Run r;
    if (!process.waitForFinished(60000))
        return r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromLatin1(process.readAllStandardOutput());
    r.err = QString::fromLatin1(process.readAllStandardError());
    return r;
}

void TestCli::searchPrintsOneLinePerSensorInAddressOrder()
{
    const Run r = run({QStringLiteral("--simulate"), Bus, QStringLiteral("--search-speed"), QStringLiteral("200"),
                       QStringLiteral("search")});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("1\tQ8900017\tMixer 2\tQX0089 v1.12\t89\t1.12"));
    const QStringList second = lines[1].split(QLatin1Char('\t'));
    QCOMPARE(second.size(), 6);
    QCOMPARE(second[0], QStringLiteral("5"));
    QCOMPARE(second[4], QStringLiteral("45"));
}

void TestCli::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("good read") << QStringList{"--simulate", Bus, "read", "1", "64", "50"} << 0;
    QTest::newRow("missing parameter is a reply") << QStringList{"--simulate", Bus, "read", "5", "46"} << 0;
    QTest::newRow("silent address") << QStringList{"--simulate", Bus, "action", "9", "1"} << 1;
    QTest::newRow("no bus") << QStringList{"search"} << 2;
    QTest::newRow("two buses") << QStringList{"--simulate", Bus, "--tcp", "127.0.0.1:1", "search"} << 2;
    QTest::newRow("address out of range") << QStringList{"--simulate", Bus, "read", "17", "64"} << 2;
    QTest::newRow("unknown command") << QStringList{"--simulate", Bus, "reboot"} << 2;
    QTest::newRow("bad sensor list") << QStringList{"--simulate", "1:89,1:77", "search"} << 2;
    QTest::newRow("text to a number parameter") << QStringList{"--simulate", Bus, "write", "1", "7", "high"} << 2;
    QTest::newRow("index beyond the list") << QStringList{"--simulate", Bus, "write", "1", "5", "3"} << 2;
    QTest::newRow("malformed escape") << QStringList{"--simulate", Bus, "command", "1", "P\\x0"} << 2;
    QTest::newRow("program help") << QStringList{"--help"} << 0;
    QTest::newRow("command help") << QStringList{"watch", "--help"} << 0;
}

void TestCli::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const Run r = run(arguments);
    QVERIFY2(r.status == status, qPrintable(QStringLiteral("status %1: %2%3").arg(r.status).arg(r.out, r.err)));
    if (status == 2)
        QVERIFY(!r.err.isEmpty());
}

void TestCli::commandTakesByteEscapes()
{
    const Run r = run({QStringLiteral("--simulate"), Bus, QStringLiteral("command"), QStringLiteral("1"),
                       QStringLiteral("P\\x01")});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("Q8900017 Mixer 2")), qPrintable(r.out));
}

void TestCli::traceShowsEveryFrameInHex()
{
    const Run r = run({QStringLiteral("--simulate"), Bus, QStringLiteral("--trace"), QStringLiteral("read"),
                       QStringLiteral("1"), QStringLiteral("64")});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    // R64 to address 1: STX, 'A', '@' 'A', "R64", ETX, checksum 0x10 as 'A' '@'.
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} > 02 41 40 41 52 36 34 03 41 40$"))
                 .match(lines[0]).hasMatch(),
             qPrintable(lines[0]));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} < 02 61 ")).match(lines[1]).hasMatch(),
             qPrintable(lines[1]));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
