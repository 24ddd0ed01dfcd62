// dunmere-cli as a black box on its in-process simulated bus, in real time: the search's
// output lines, the exit statuses, the \xNN escapes of command, the --trace lines, the
// demonstration bus, the pages' captions in the user's language, the JSON documents and the
// progress line on a terminal. The procedures behind the commands are tested on the virtual
// clock in tests/sensor and tests/pages; TCP and serial buses are left to the transport tests.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

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
    void simulateAloneIsTheDemonstrationBus();
    void firstCommandsWithoutABus_data();
    void firstCommandsWithoutABus();
    void desktopProgramSaysItsVersionWithoutADisplay();
    void configUnderThePagesCaptions_data();
    void configUnderThePagesCaptions();
    void jsonForEveryCommand_data();
    void jsonForEveryCommand();
    void plainCommandsUnderJson_data();
    void plainCommandsUnderJson();
    void progressOnlyOnATerminal();

private:
    Run run(const QStringList& arguments, const QString& dataFolder = {}, bool stderrOnTerminal = false);
    QTemporaryDir dataFolder_;
};

void TestCli::initTestCase() { QVERIFY(dataFolder_.isValid()); }

Run TestCli::run(const QStringList& arguments, const QString& dataFolder, bool stderrOnTerminal)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // By default an empty data folder: the shipped texts, nothing of the user's.
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder.isEmpty() ? dataFolder_.path() : dataFolder);
    process.setProcessEnvironment(env);
    // Standard error on a pseudo-terminal, as when a person runs the program.
    int terminal = -1;
    if (stderrOnTerminal) {
        terminal = posix_openpt(O_RDWR | O_NOCTTY);
        if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0)
            return {};
        fcntl(terminal, F_SETFL, O_NONBLOCK);
        const QByteArray side = ptsname(terminal);
        process.setChildProcessModifier([side] {
            const int fd = ::open(side.constData(), O_RDWR | O_NOCTTY);
            ::dup2(fd, STDERR_FILENO);
        });
    }
    QByteArray terminalBytes;
    // Drained as it comes, so the program never waits on a full terminal.
    auto drain = [&] {
        char buffer[4096];
        for (ssize_t n; terminal >= 0 && (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
            terminalBytes.append(buffer, n);
    };
    process.start(QStringLiteral(DUNMERE_CLI), arguments);
    QDeadlineTimer deadline(60000);
    while (!process.waitForFinished(50) && !deadline.hasExpired())
        drain();
    drain();
    if (terminal >= 0)
        ::close(terminal);
    Run r;
    if (process.state() != QProcess::NotRunning)
        return r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromLatin1(process.readAllStandardOutput());
    r.err = QString::fromLatin1(process.readAllStandardError() + terminalBytes);
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
    QTest::newRow("language config.ini lacks") << QStringList{"--simulate", Bus, "--language", "42", "config", "1"} << 2;
    QTest::newRow("simulate without a command") << QStringList{"--simulate"} << 2;
    QTest::newRow("two buses for one sensor") << QStringList{"--tcp", "127.0.0.1:1", "--tcp", "127.0.0.1:2", "read", "1", "64"} << 2;
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

void TestCli::simulateAloneIsTheDemonstrationBus()
{
    // The window's demonstration bus: the same sensors, names and identities.
    const Run r = run({QStringLiteral("--simulate"), QStringLiteral("--search-speed"), QStringLiteral("200"),
                       QStringLiteral("search")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("1\tQ8904213\tMixer 1 inlet\tQX0089 v1.12\t89\t1.12\n"
                                   "2\tQ7705226\tBin 3 outlet\tQX0077 v2.10\t77\t2.10\n"
                                   "5\tQ4509122\tConveyor belt\tQX0045 v1.60\t45\t1.60\n"));
}

void TestCli::firstCommandsWithoutABus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("nothing at all") << QStringList{} << "Try: dunmere-cli --simulate search\n$";
    QTest::newRow("version") << QStringList{"--version"} << "^dunmere-cli \\d+\\.\\d+\n$";
}

void TestCli::firstCommandsWithoutABus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, pattern);
    const Run r = run(arguments);
    QCOMPARE(r.status, 0);
    QVERIFY2(QRegularExpression(pattern).match(r.out).hasMatch(), qPrintable(r.out));
}

void TestCli::desktopProgramSaysItsVersionWithoutADisplay()
{
#ifndef DUNMERE_GUI
    QSKIP("dunmere is not built");
#else
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DUNMERE_GUI), {QStringLiteral("--version")});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
    const QString version = QString::fromLatin1(process.readAllStandardOutput());
    QVERIFY2(QRegularExpression(QStringLiteral("^dunmere \\d+\\.\\d+\n$")).match(version).hasMatch(), qPrintable(version));
    // The same version as the command line's.
    QCOMPARE(run({QStringLiteral("--version")}).out, QStringLiteral("dunmere-cli ") + version.mid(8));
#endif
}

void TestCli::configUnderThePagesCaptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("configLanguage");  // Settings/Language of the user's config.ini; -1 none
    QTest::addColumn<QString>("line");
    QTest::newRow("English") << QStringList{} << -1 << "\n  Output Type = 4-20mA\n";
    QTest::newRow("German by option") << QStringList{"--language", "1"} << -1 << "\n  Ausgangstyp = 4-20mA\n";
    QTest::newRow("German as the window") << QStringList{} << 1 << "\n  Ausgangstyp = ";
    QTest::newRow("option over config.ini") << QStringList{"--language", "0"} << 1 << "\n  Output Type = ";
    QTest::newRow("control names") << QStringList{"--names"} << -1 << "\nListOPType = 4-20mA\n";
}

void TestCli::configUnderThePagesCaptions()
{
    QFETCH(QStringList, options);
    QFETCH(int, configLanguage);
    QFETCH(QString, line);
    QTemporaryDir folder;
    if (configLanguage >= 0) {
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Quelmar/Dunmere")));
        QFile ini(folder.path() + QStringLiteral("/Quelmar/Dunmere/config.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Settings]\r\nLanguage=%1\r\n[Language0]\r\nLangLanguage=Language\r\n"
                                 "LangOPType=Output Type\r\n[Language1]\r\nLangLanguage=Sprache\r\n"
                                 "LangOPType=Ausgangstyp\r\n")
                      .arg(configLanguage)
                      .toUtf8());
    }
    const Run r = run(QStringList{QStringLiteral("--simulate")} + options + QStringList{QStringLiteral("config"), QStringLiteral("1")},
                      configLanguage >= 0 ? folder.path() : QString());
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(line), qPrintable(r.out));
}

void TestCli::jsonForEveryCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("search") << QStringList{"search"} << 0 << QStringList{"sensors"};
    QTest::newRow("read") << QStringList{"read", "1", "64", "50"} << 0 << QStringList{"address", "values"};
    QTest::newRow("write") << QStringList{"write", "1", "8", "17.5"} << 0
                           << QStringList{"address", "parameter", "name", "value", "reply"};
    QTest::newRow("command") << QStringList{"command", "1", "P\\x01"} << 0 << QStringList{"address", "text", "reply"};
    QTest::newRow("action") << QStringList{"action", "1", "4"} << 0 << QStringList{"address", "code", "reply"};
    QTest::newRow("snapshot") << QStringList{"snapshot", "1"} << 0 << QStringList{"address", "values"};
    QTest::newRow("move") << QStringList{"move", "5", "6"} << 0 << QStringList{"address", "newAddress", "outcome"};
    QTest::newRow("config") << QStringList{"config", "1"} << 0 << QStringList{"address", "values"};
    QTest::newRow("diag") << QStringList{"diag", "1"} << 0 << QStringList{"address", "values"};
    QTest::newRow("factory-reset") << QStringList{"factory-reset", "1"} << 0 << QStringList{"address", "messages"};
    QTest::newRow("output-test") << QStringList{"output-test", "1", "512"} << 0 << QStringList{"address", "values"};
    QTest::newRow("watch") << QStringList{"watch", "1", "--count", "2"} << 0 << QStringList{"address", "value", "temperature", "failed"};
    QTest::newRow("silent sensor") << QStringList{"read", "9", "64"} << 1 << QStringList{"values", "error"};
    QTest::newRow("usage error") << QStringList{"read", "17", "64"} << 2 << QStringList{"error"};
}

void TestCli::jsonForEveryCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, keys);
    const Run r = run(QStringList{QStringLiteral("--simulate"), Bus, QStringLiteral("--search-speed"),
                                  QStringLiteral("200"), QStringLiteral("--json")}
                      + arguments);
    QVERIFY2(r.status == status, qPrintable(QStringLiteral("status %1: %2%3").arg(r.status).arg(r.out, r.err)));
    // One document, or for watch one per line.
    const QStringList documents = arguments.first() == QLatin1String("watch")
        ? r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        : QStringList{r.out};
    QCOMPARE(documents.size(), arguments.first() == QLatin1String("watch") ? 2 : 1);
    for (const QString& text : documents) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError && document.isObject(), qPrintable(text));
        const QJsonObject o = document.object();
        if (arguments.first() != QLatin1String("watch"))
            QCOMPARE(o.value(QStringLiteral("command")).toString(), arguments.first());
        for (const QString& key : keys)
            QVERIFY2(o.contains(key), qPrintable(key + QStringLiteral(" in ") + text));
    }
}

// The commands that print plainly still end normally under --json, with a closing document
// that names them and, on failure, does not blame a sensor.
void TestCli::plainCommandsUnderJson_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("status");
    QTest::newRow("sweep") << QStringList{"--simulate", Bus, "sweep", "1"} << "sweep" << 0;
    QTest::newRow("averaging") << QStringList{"--simulate", Bus, "averaging", "1", "start"} << "averaging" << 0;
    QTest::newRow("log-to-csv without files") << QStringList{"log-to-csv"} << "log-to-csv" << 2;
    QTest::newRow("fit-moisture of no file") << QStringList{"fit-moisture", "/nonexistent/points.txt"} << "fit-moisture" << 2;
    QTest::newRow("upgrade of no file") << QStringList{"--simulate", Bus, "upgrade", "1", "/nonexistent/image.bin", "--yes"} << "upgrade" << 1;
}

void TestCli::plainCommandsUnderJson()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, command);
    QFETCH(int, status);
    const Run r = run(QStringList{QStringLiteral("--json")} + arguments);
    QVERIFY2(r.status == status, qPrintable(QStringLiteral("status %1: %2%3").arg(r.status).arg(r.out, r.err)));
    const qsizetype start = r.out.lastIndexOf(QStringLiteral("{\n"));
    QVERIFY2(start >= 0, qPrintable(r.out));
    const QJsonDocument document = QJsonDocument::fromJson(r.out.mid(start).toUtf8());
    QVERIFY2(document.isObject(), qPrintable(r.out));
    const QJsonObject o = document.object();
    QCOMPARE(o.value(QStringLiteral("command")).toString(), command);
    QCOMPARE(o.contains(QStringLiteral("error")), status != 0);
    QVERIFY(!o.value(QStringLiteral("error")).toString().contains(QStringLiteral("-99")));
}

void TestCli::progressOnlyOnATerminal()
{
    const QStringList search{QStringLiteral("--simulate"), Bus, QStringLiteral("--search-speed"), QStringLiteral("200"),
                             QStringLiteral("search")};
    const Run onTerminal = run(search, {}, true);
    QCOMPARE(onTerminal.status, 0);
    QVERIFY2(onTerminal.err.contains(QStringLiteral("address 16 of 16")), qPrintable(onTerminal.err));
    QCOMPARE(onTerminal.out.count(QLatin1Char('\n')), 2);
    const Run onPipe = run(search);
    QCOMPARE(onPipe.status, 0);
    QCOMPARE(onPipe.err, QString());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
