// The whole path from the transport switch to dunmere-sim running as its own process on the
// real clock: its pseudo-terminal opened as serial port COM1 through section Ports, and its
// TCP bridge on 127.0.0.1 as an adapter; parameter reads and a binary reply over both, and
// switching from one to the other. Faults and timing are tested elsewhere.

#include "ethernet/EthernetAdapter.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "link/Transport.h"
#include "link/TransportFactory.h"
#include "link/ComPorts.h"
#include "link/TransportSwitch.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;

class TestAgainstSimProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void serialOverThePseudoTerminal();
    void tcpToTheBridgeAndBackToSerial();
    void killedSimulatorComingBackIsReopened();

private:
    std::unique_ptr<TransportSwitch> makeSwitch();
    void expectRawBlock();

    QProcess sim_;
    QString ptyPath_;
    quint16 tcpPort_ = 0;
    QTemporaryDir dir_;
    SystemTransports factory_;
    EthernetAdapters adapters_;
    Link link_;
};

void TestAgainstSimProgram::initTestCase()
{
#ifndef DUNMERE_SIM_PROGRAM
    QSKIP("dunmere-sim is not built in this tree");
#else
    sim_.start(QStringLiteral(DUNMERE_SIM_PROGRAM),
               {QStringLiteral("--sensors"), QStringLiteral("1:89,5:77"), QStringLiteral("--tcp"),
                QStringLiteral("127.0.0.1:0"), QStringLiteral("--pty")});
    QVERIFY(sim_.waitForStarted(5000));
    QString out;
    while (!out.contains(QStringLiteral("ready")) && sim_.waitForReadyRead(5000))
        out += QString::fromLocal8Bit(sim_.readAllStandardOutput());
    const auto tcp = QRegularExpression(QStringLiteral("tcp: 127\\.0\\.0\\.1:(\\d+)")).match(out);
    const auto pty = QRegularExpression(QStringLiteral("pty: (\\S+)")).match(out);
    QVERIFY2(tcp.hasMatch() && pty.hasMatch(), qPrintable(out));
    tcpPort_ = quint16(tcp.captured(1).toUInt());
    ptyPath_ = pty.captured(1);

    const QString config = dir_.filePath(QStringLiteral("config.ini"));
    WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), ptyPath_, config);
    adapters_.Add(false, -1, tcpPort_, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1"),
                  QStringLiteral("0.0.0.0"), QStringLiteral("127.0.0.1:%1").arg(tcpPort_));
#endif
}

void TestAgainstSimProgram::cleanupTestCase()
{
    if (sim_.state() == QProcess::NotRunning)
        return;
    sim_.terminate();
    if (!sim_.waitForFinished(3000))
        sim_.kill();
    sim_.waitForFinished(3000);
}

std::unique_ptr<TransportSwitch> TestAgainstSimProgram::makeSwitch()
{
    return std::make_unique<TransportSwitch>(link_, factory_, adapters_, dir_.filePath(QStringLiteral("config.ini")));
}

void TestAgainstSimProgram::serialOverThePseudoTerminal()
{
    auto sw = makeSwitch();
    sw->EnumerateComPorts();
    QVERIFY(sw->ports().PortAvailable(1));
    sw->SetComPort(1);
    QVERIFY(link_.state().ComPortOpen);
    QCOMPARE(sw->statusText(), QStringLiteral("LangConnectedVia LangComPort 1"));
    QCOMPARE(link_.ReadParameter(5, 50), QStringLiteral("QX0077 v1.12"));
    QCOMPARE(link_.ReadParameter(1, 50), QStringLiteral("QX0089 v1.12"));
    QCOMPARE(link_.ReadParameter(9, 50), FailureText);
    QCOMPARE(link_.state().CommsErrorCode, qint16(1));
    expectRawBlock();
}

// R100 comes back as a binary frame of 16-bit samples.
void TestAgainstSimProgram::expectRawBlock()
{
    link_.Net_Send(1, 1, QStringLiteral("R100"));
    int address = 0, frameCode = 0;
    QByteArray samples;
    link_.Net_ReceiveBytes(1500, address, frameCode, samples);
    QCOMPARE(link_.state().CommsErrorCode, qint16(0));
    QCOMPARE(address, 1);
    QVERIFY(samples.size() >= 2);
    QCOMPARE(samples.size() % 2, 0);
}

void TestAgainstSimProgram::tcpToTheBridgeAndBackToSerial()
{
    auto sw = makeSwitch();
    sw->EnumerateComPorts();
    sw->SetComPort(1);
    sw->SetIPPort(1, true);
    QVERIFY(link_.state().IPMode);
    QVERIFY(!link_.state().ComPortOpen);
    QCOMPARE(link_.ReadParameter(5, 50), QStringLiteral("QX0077 v1.12"));
    expectRawBlock();
    QCOMPARE(ReadSetting(QStringLiteral("EthernetSetup"), QStringLiteral("LastIPAddress"),
                         dir_.filePath(QStringLiteral("config.ini"))),
             QStringLiteral("127.0.0.1:%1").arg(tcpPort_));

    sw->SetComPort(1);
    QVERIFY(link_.state().ComPortOpen);
    QVERIFY(!link_.state().IPMode);
    QCOMPARE(link_.ReadParameter(1, 50), QStringLiteral("QX0089 v1.12"));
}

// A pseudo-terminal's path changes with every start, so the port is named by a link that the
// test points at each new one, as a udev rule names a USB adapter.
void TestAgainstSimProgram::killedSimulatorComingBackIsReopened()
{
#ifdef DUNMERE_SIM_PROGRAM
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttySIM"));
    auto startSim = [&](QProcess& sim) {
        sim.start(QStringLiteral(DUNMERE_SIM_PROGRAM), {QStringLiteral("--sensors"), QStringLiteral("3:45"), QStringLiteral("--pty")});
        QVERIFY(sim.waitForStarted(5000));
        QString out;
        while (!out.contains(QStringLiteral("ready")) && sim.waitForReadyRead(5000))
            out += QString::fromLocal8Bit(sim.readAllStandardOutput());
        const auto pty = QRegularExpression(QStringLiteral("pty: (\\S+)")).match(out);
        QVERIFY2(pty.hasMatch(), qPrintable(out));
        QFile::remove(device);
        QVERIFY(QFile::link(pty.captured(1), device));
    };
    const QString config = dir.filePath(QStringLiteral("config.ini"));
    WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), device, config);
    Link link;
    TransportSwitch sw(link, factory_, adapters_, config);

    QProcess first;
    startSim(first);
    sw.EnumerateComPorts();
    sw.SetComPort(1);
    sw.watchDevices();
    QCOMPARE(link.ReadParameter(3, 50), QStringLiteral("QX0045 v1.12"));

    first.kill();
    first.waitForFinished(3000);
    QFile::remove(device);
    (void)link.ReadParameter(3, 50);  // the poll that finds the device gone
    QVERIFY(QTest::qWaitFor([&] { return !link.state().ComPortOpen; }, 5000));
    QCOMPARE(sw.statusText(), QStringLiteral("LangNo LangComPort - LangCommunications"));

    QProcess second;
    startSim(second);
    QVERIFY(QTest::qWaitFor([&] { return link.state().ComPortOpen; }, 3 * SerialDeviceWatcher::IntervalMs + 2000));
    QCOMPARE(link.ReadParameter(3, 50), QStringLiteral("QX0045 v1.12"));
    QCOMPARE(sw.statusText(), QStringLiteral("LangConnectedVia LangComPort 1"));
    second.kill();
    second.waitForFinished(3000);
#endif
}

QTEST_GUILESS_MAIN(TestAgainstSimProgram)
#include "tst_againstsimprogram.moc"
