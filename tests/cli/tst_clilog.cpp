// dunmere-cli's logging commands as a black box on its simulated bus, in real time: a short
// log read back (header for every sensor, one line per turn), the log turned into CSV, the
// sweep's points and values, and the usage errors. The procedures behind them are tested on
// the virtual clock in tests/datalog.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

const QString Bus = QStringLiteral("1:89:Q8900017:Mixer,4:45:Q4500044:Belt");

QString logText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(ushort(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    return text;
}

}  // namespace

class TestCliLog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void logWritesTheWindowsFileAndConvertsToCsv();
    void sweepPrintsFiftyPointsAndTheValues();
    void usageErrors_data();
    void usageErrors();

private:
    Run run(const QStringList& arguments);
    QTemporaryDir dir_;
};

Run TestCliLog::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dir_.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DUNMERE_CLI), arguments);
    Run r;
    if (!process.waitForFinished(60000))
        return r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

void TestCliLog::logWritesTheWindowsFileAndConvertsToCsv()
{
    const QString log = dir_.filePath(QStringLiteral("run.txt"));
    const Run r = run({"--simulate", Bus, "--search-speed", "100", "log", "4", "1", "--interval", "1", "--readings",
                       "0,7", "--out", log, "--duration", "2"});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QLatin1String("lines written to")), qPrintable(r.err));
    const QString text = logText(log);
    QVERIFY(text.startsWith(QChar(0xFEFF)));
    QCOMPARE(text.count(QChar(0xFEFF)), 2);
    const QStringList lines = QString(text).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[1], QStringLiteral("       Dunmere: QX0068 v1.80"));
    QVERIFY(lines[6].startsWith(QLatin1String("Address: \t4\t\t\t\t")));
    QVERIFY(lines[7].contains(QLatin1String("\tBelt\t")) && lines[7].contains(QLatin1String("\tMixer\t")));
    const QStringList title = lines[16].split(u'\t');
    QCOMPARE(title.size(), 11);
    const QStringList samples = lines.mid(17, lines.size() - 18);
    QVERIFY2(samples.size() >= 2 && samples.size() <= 3, qPrintable(QString::number(samples.size())));
    for (const QString& line : samples)
        QCOMPARE(line.split(u'\t').size(), 11);

    const QString csv = dir_.filePath(QStringLiteral("run.csv"));
    QCOMPARE(run({"log-to-csv", log, csv}).status, 0);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QVERIFY(rows[0].endsWith(QStringLiteral("Time,4 Belt - Filtered Unscaled,4 Belt - Material Temperature °C,"
                                            "1 Mixer - Filtered Unscaled,1 Mixer - Material Temperature °C")));
    QCOMPARE(rows.size(), samples.size() + 1);
    QVERIFY(QDateTime::fromString(rows[1].section(u',', 0, 0), Qt::ISODateWithMs).isValid());
}

void TestCliLog::sweepPrintsFiftyPointsAndTheValues()
{
    const Run r = run({"--simulate", Bus, "sweep", "1"});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 50 + 8);
    QCOMPARE(lines[0].section(u'\t', 0, 0), QStringLiteral("1"));
    QCOMPARE(lines[49].section(u'\t', 0, 0), QStringLiteral("50"));
    QVERIFY(lines[50].contains(QLatin1String(" = ")));
}

void TestCliLog::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("no out") << QStringList{"--simulate", Bus, "log", "1"} << 2;
    QTest::newRow("bad interval") << QStringList{"--simulate", Bus, "log", "1", "--interval", "4", "--out", "x.txt"} << 2;
    QTest::newRow("too fast for three") << QStringList{"--simulate", Bus, "log", "1", "2", "3", "--interval", "1", "--out", "x.txt"} << 2;
    QTest::newRow("bad reading") << QStringList{"--simulate", Bus, "log", "1", "--readings", "0,11", "--out", "x.txt"} << 2;
    QTest::newRow("raw mixed") << QStringList{"--simulate", Bus, "log", "1", "--readings", "0,9", "--out", "x.txt"} << 2;
    QTest::newRow("brix outside its edition") << QStringList{"--simulate", Bus, "log", "1", "--readings", "8", "--out", "x.txt"} << 2;
    QTest::newRow("csv of a missing log") << QStringList{"log-to-csv", "/nonexistent/log.txt", "out.csv"} << 1;
    QTest::newRow("sweep without address") << QStringList{"--simulate", Bus, "sweep"} << 2;
}

void TestCliLog::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Run r = run(arguments);
    QTEST(r.status, "status");
    QVERIFY(!r.err.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliLog)
#include "tst_clilog.moc"
