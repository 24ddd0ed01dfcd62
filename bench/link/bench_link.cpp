// Link throughput and cost against dunmere-sim at 9600 baud, over its pseudo-terminal (as a
// serial port) and over its TCP bridge: parameter reads per second beside the limit the
// wire sets (both frames' bytes at 10 bit times each), CPU seconds per second while polling
// six sensors, CPU seconds per second while a receive waits for a reply that never comes,
// and the program's own share of a read against a peer that answers at once. It prints; it
// never judges.

#include "ethernet/EthernetAdapter.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/SerialTransport.h"
#include "link/Settings.h"
#include "link/Transport.h"
#include "link/TransportFactory.h"
#include "link/TransportSwitch.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace dunmere;

namespace {

constexpr int Sensors = 6;
constexpr int ReadParameterNumber = 50;
constexpr qint64 MeasureMs = 5000;
constexpr double ByteSeconds = 10.0 / 9600.0;
// The simulated sensors answer without a turnaround, so the wire alone sets the limit.

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Sim {
    QProcess process;
    QString ptyPath;
    quint16 tcpPort = 0;

    bool start(QString& error)
    {
#ifdef DUNMERE_SIM_PROGRAM
        QString sensors;
        for (int a = 1; a <= Sensors; ++a)
            sensors += (a > 1 ? QStringLiteral(",") : QString()) + QStringLiteral("%1:89").arg(a);
        process.start(QStringLiteral(DUNMERE_SIM_PROGRAM), {QStringLiteral("--sensors"), sensors, QStringLiteral("--tcp"),
                                                           QStringLiteral("127.0.0.1:0"), QStringLiteral("--pty"),
                                                           QStringLiteral("--latency"), QStringLiteral("0")});
        if (!process.waitForStarted(5000)) {
            error = process.errorString();
            return false;
        }
        QString out;
        while (!out.contains(QStringLiteral("ready")) && process.waitForReadyRead(5000))
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
        const auto tcp = QRegularExpression(QStringLiteral("tcp: 127\\.0\\.0\\.1:(\\d+)")).match(out);
        const auto pty = QRegularExpression(QStringLiteral("pty: (\\S+)")).match(out);
        if (!tcp.hasMatch() || !pty.hasMatch()) {
            error = QStringLiteral("unexpected simulator output: ") + out;
            return false;
        }
        tcpPort = quint16(tcp.captured(1).toUInt());
        ptyPath = pty.captured(1);
        return true;
#else
        error = QStringLiteral("dunmere-sim is not built in this tree");
        return false;
#endif
    }

    ~Sim()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(3000);
    }
};

// The far end of a pseudo-terminal answering every command at once, with no wire in
// between: what is left of an exchange is the program's and the kernel's own time.
class InstantPeer {
public:
    InstantPeer()
    {
        char name[128] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        path_ = QString::fromLocal8Bit(name);
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readCommand(); });
    }
    ~InstantPeer()
    {
        notifier_.reset();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    InstantPeer(const InstantPeer&) = delete;
    InstantPeer& operator=(const InstantPeer&) = delete;

    [[nodiscard]] QString path() const { return path_; }

private:
    void readCommand()
    {
        char buffer[256];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        heard_.append(buffer, n);
        // The serial sender ends every text frame with one 0x00 after the checksum.
        const qsizetype etx = heard_.lastIndexOf(frame::ETX);
        if (etx < 0 || heard_.size() < etx + 4 || heard_.at(etx + 3) != '\0')
            return;
        heard_.clear();
        const QByteArray reply = frame::encodeReply(1, 2, "QX0089 v1.12");
        if (::write(master_, reply.constData(), size_t(reply.size())) != reply.size())
            std::printf("instant peer: short write\n");
    }

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    QByteArray heard_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

void measureProgramShare(double wireMsPerRead)
{
    InstantPeer peer;
    SerialTransport port;
    if (peer.path().isEmpty() || !port.open(peer.path())) {
        std::printf("instant peer: no pseudo-terminal\n");
        return;
    }
    Link link;
    link.setTransport(&port);
    constexpr int Reads = 500;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    for (int i = 0; i < Reads; ++i)
        (void)link.ReadParameter(1, ReadParameterNumber);
    const double ms = double(wall.nsecsElapsed()) / 1e6 / Reads;
    // The peer's work is in this process too, so this CPU figure is an upper bound.
    const double cpuMs = (cpuSeconds() - cpu0) * 1000.0 / Reads;
    std::printf("pty  instant peer, no wire: %.3f ms per read = %.1f%% of the wire time of one read; "
                "%.3f CPU ms per read (peer included)\n",
                ms, 100.0 * ms / wireMsPerRead, cpuMs);
}

// Wire bytes of one read: the command (with the serial preamble and pad) and the reply.
double wireLimitPerSecond(bool serial, int address, const QString& reply)
{
    const QByteArray command = frame::encodeText(address, 1, "R" + QByteArray::number(ReadParameterNumber));
    const QByteArray answer = frame::encodeReply(address, 2, reply.toLatin1());
    const qsizetype bytes = command.size() + (serial ? 3 : 0) + answer.size();
    return 1.0 / (double(bytes) * ByteSeconds);
}

void measureReads(Link& link, const char* via, bool serial)
{
    const QString sample = link.ReadParameter(1, ReadParameterNumber);
    int reads = 0;
    int failures = 0;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    while (wall.elapsed() < MeasureMs) {
        // Round the six sensors, as the live readings do.
        if (link.ReadParameter(reads % Sensors + 1, ReadParameterNumber) == FailureText)
            ++failures;
        ++reads;
    }
    const double seconds = double(wall.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpu0;
    const double rate = reads / seconds;
    const double limit = wireLimitPerSecond(serial, 1, sample);
    std::printf("%-4s reads/s %7.2f   wire limit %7.2f/s   ratio %.3f   failures %d\n", via, rate, limit,
                rate / limit, failures);
    std::printf("%-4s polling six sensors: %.4f CPU s per second\n", via, cpu / seconds);
}

void measureIdleReceive(Link& link, const char* via)
{
    // Address 9 has no sensor: the receive waits its whole time.
    constexpr int Waits = 2;
    constexpr int TimeoutMs = 1500;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    for (int i = 0; i < Waits; ++i) {
        link.Net_Send(9, 1, QStringLiteral("R50"));
        int address = 0, frameCode = 0;
        QString reply;
        link.Net_Receive(TimeoutMs, address, frameCode, reply);
    }
    const double seconds = double(wall.elapsed()) / 1000.0;
    std::printf("%-4s waiting %d ms for no reply: %.4f CPU s per waited second (%.2f s waited)\n", via, TimeoutMs,
                (cpuSeconds() - cpu0) / seconds, seconds);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Sim sim;
    QString error;
    if (!sim.start(error)) {
        std::printf("bench_link: %s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config.ini"));
    WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), sim.ptyPath, config);
    EthernetAdapters adapters;
    adapters.Add(false, -1, sim.tcpPort, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1"),
                 QStringLiteral("0.0.0.0"), QStringLiteral("127.0.0.1:%1").arg(sim.tcpPort));
    SystemTransports factory;
    Link link;
    TransportSwitch transports(link, factory, adapters, config);

    std::printf("parameter %d read from %d simulated sensors at 9600 baud, no sensor turnaround, %lld ms per run\n",
                ReadParameterNumber, Sensors, MeasureMs);
    transports.EnumerateComPorts();
    transports.SetComPort(1);
    if (link.state().ComPortOpen) {
        measureReads(link, "pty", true);
        measureIdleReceive(link, "pty");
    } else {
        std::printf("pty  could not be opened: %s\n", qPrintable(sim.ptyPath));
    }
    measureProgramShare(1000.0 / wireLimitPerSecond(true, 1, QStringLiteral("QX0089 v1.12")));
    transports.SetIPPort(1, false);
    if (link.state().IPMode) {
        measureReads(link, "tcp", false);
        measureIdleReceive(link, "tcp");
    } else {
        std::printf("tcp  could not connect to 127.0.0.1:%d\n", sim.tcpPort);
    }
    return 0;
}
