// dunmere-cli upgrade: the whole upgrade with --restore-config in process on the virtual
// clock (a real-time run of 512 blocks at 9600 baud would take a minute and a half); as a
// program on its simulated bus, a file without the sensor's image, a usage error and Ctrl-C
// during the transfer.

#include "../firmware/FirmwareFiles.h"
#include "SimBench.h"
#include "app/cli/CliOptions.h"
#include "app/cli/CliUpgrade.h"

#include <QProcess>
#include <QTest>
#include <csignal>

using namespace dunmere;
using namespace dunmere::test;

namespace {

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

struct Run {
    int status = -1;
    QString out;
    QString err;
};

}  // namespace

class TstCliUpgrade : public QObject {
    Q_OBJECT
    QTemporaryDir files;
    QTemporaryDir dataFolder;
    QString threeImageFile;

    QProcess* start(const QStringList& arguments)
    {
        auto* process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder.path());
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(DUNMERE_CLI), QStringList{QStringLiteral("--simulate"), QStringLiteral("1:89")} + arguments);
        return process;
    }
    Run finish(QProcess* process)
    {
        Run r;
        if (process->waitForFinished(60000) && process->exitStatus() == QProcess::NormalExit)
            r.status = process->exitCode();
        r.out = QString::fromLocal8Bit(process->readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process->readAllStandardError());
        delete process;
        return r;
    }

private slots:
    void initTestCase()
    {
        threeImageFile = writeFile(files, QStringLiteral("three.fw"), firmwareContainer(ThreeImageIndex, threeImages()));
    }

    void wholeUpgradeRestoresTheConfiguration()
    {
        SimBench bench(Transport::Kind::Serial);
        KeyTexts texts;
        sim::VirtualSensor* sensor = bench.bus.sensorAt(1);
        sensor->parameters().set(14, "4");
        sensor->parameters().store();
        sensor->setUpgradeResets({14});
        cli::UpgradeOptions options;
        options.address = 1;
        options.file = threeImageFile;
        options.yes = true;
        options.restoreConfig = true;
        QCOMPARE(cli::runUpgrade(bench.link, texts, options, 0), int(cli::ExitOk));
        QCOMPARE(sensor->firmwareText(), QByteArray("QX0089 v1.13"));
        QCOMPARE(sensor->parameters().value(14), QByteArray("4"));
    }

    void fileWithoutTheSensorsImageSendsNothing()
    {
        const QString file = writeFile(files, QStringLiteral("other.fw"),
                                       firmwareContainer("=QX0077#01@", {firmwareImage(1, "QX0077 v2.11")}));
        const Run r = finish(start({QStringLiteral("upgrade"), QStringLiteral("1"), file, QStringLiteral("--yes")}));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(QStringLiteral("holds no image for this sensor")), qPrintable(r.out));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no file") << QStringList{"upgrade", "1"};
        QTest::newRow("address 17") << QStringList{"upgrade", "17", "x.fw"};
        QTest::newRow("unknown option") << QStringList{"upgrade", "1", "x.fw", "--force"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(finish(start(arguments)).status, 2);
    }

    void ctrlCCancelsAfterTheBlockInFlight()
    {
        QProcess* process = start({QStringLiteral("upgrade"), QStringLiteral("1"), threeImageFile, QStringLiteral("--yes")});
        QByteArray err;
        // Wait for the bar to show a few blocks, then press Ctrl-C.
        QTRY_VERIFY_WITH_TIMEOUT((err += process->readAllStandardError()).contains("  3/512"), 30000);
        ::kill(pid_t(process->processId()), SIGINT);
        const Run r = finish(process);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(QStringLiteral("Upgrade Cancelled")), qPrintable(r.out));
        QVERIFY(!r.out.contains(QStringLiteral("QX0089 v1.13")));
    }
};

QTEST_GUILESS_MAIN(TstCliUpgrade)
#include "tst_cliupgrade.moc"
