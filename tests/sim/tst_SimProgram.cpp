// dunmere-sim as a program: its options, its refusals, and one run that serves the demo bus
// over TCP and a pseudo-terminal at once, steered from standard input. Real clock, loopback.

#include <QProcess>
#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

namespace {

const QByteArray ReadB("\x02" "A@AR2\x03" "B@");
const QByteArray ReplyB("\x02" "a@B0.2857\x03" "GE");

QString simPath() { return QStringLiteral(DUNMERE_SIM_PATH); }

}  // namespace

class SimProgram : public QObject {
    Q_OBJECT

private slots:
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("tcp on a real interface") << QStringList{"--tcp", "10.1.2.3:10001"} << "loopback";
        QTest::newRow("udp on all interfaces") << QStringList{"--adapter-udp", "0.0.0.0"} << "loopback";
        QTest::newRow("bad sensor list") << QStringList{"--sensors", "1:89,1:45"} << "twice";
        QTest::newRow("bad fault") << QStringList{"--fault", "gremlins"} << "unknown fault";
        QTest::newRow("bad baud") << QStringList{"--baud", "fast"} << "--baud";
        QTest::newRow("missing scenario") << QStringList{"--scenario", "/nonexistent/x.json"} << "cannot read";
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        QProcess sim;
        sim.start(simPath(), arguments);
        QVERIFY(sim.waitForFinished(10000));
        QVERIFY(sim.exitCode() != 0);
        QVERIFY2(sim.readAllStandardOutput().contains(mentions.toUtf8()), qPrintable(mentions));
    }

    void helpNamesTheOptions()
    {
        QProcess sim;
        sim.start(simPath(), {QStringLiteral("--help")});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 0);
        const QByteArray out = sim.readAllStandardOutput();
        for (const char* option : {"--sensors", "--tcp", "--pty", "--baud", "--fault", "--adapter-udp", "--scenario"})
            QVERIFY2(out.contains(option), option);
    }

    void servesTcpAndPseudoTerminal()
    {
        QProcess sim;
        sim.start(simPath(), {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--pty"),
                              QStringLiteral("--baud"), QStringLiteral("38400")});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += sim.readAllStandardOutput()).contains("ready"), 10000);
        const QRegularExpression tcpLine(QStringLiteral("tcp: 127\\.0\\.0\\.1:(\\d+)"));
        const QRegularExpression ptyLine(QStringLiteral("pty: (\\S+)"));
        const auto tcp = tcpLine.match(QString::fromUtf8(out));
        const auto pty = ptyLine.match(QString::fromUtf8(out));
        QVERIFY2(tcp.hasMatch() && pty.hasMatch(), out.constData());

        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(tcp.captured(1).toUInt()));
        QVERIFY(socket.waitForConnected(3000));
        socket.write(ReadB);
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += socket.readAll()).size() >= ReplyB.size(), 3000);
        QCOMPARE(got, ReplyB);

        QSerialPort port;
        port.setPortName(pty.captured(1));
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        // Silence sensor 1 from the console: the serial side then gets nothing.
        sim.write("fault 1:silence\n");
        out.clear();
        QTRY_VERIFY_WITH_TIMEOUT((out += sim.readAllStandardOutput()).contains("faults: silence"), 3000);
        port.write(QByteArray(2, '\xFF') + ReadB + QByteArray(1, '\0'));
        QTest::qWait(300);
        QCOMPARE(port.readAll(), QByteArray());
        sim.write("fault 1:none\n");
        QTest::qWait(100);
        port.write(QByteArray(2, '\xFF') + ReadB + QByteArray(1, '\0'));
        got.clear();
        QTRY_VERIFY_WITH_TIMEOUT((got += port.readAll()).size() >= ReplyB.size(), 3000);
        QCOMPARE(got, ReplyB);

        sim.write("quit\n");
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);
    }
};

QTEST_MAIN(SimProgram)
#include "tst_SimProgram.moc"
