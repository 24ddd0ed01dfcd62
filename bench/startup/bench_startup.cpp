// Start-up of the desktop program on the simulated bus, offscreen: the time from process
// start to the first painted main window, and the resident memory after the first search,
// each beside the same figures for a bare Qt window. Each case runs in a fresh process
// (this program started again with --case). Prints; never judges.

#include "shell/FrmMain.h"
#include "shell/FrmMessages.h"

#include "language/LanguageTexts.h"
#include "language/ShippedData.h"
#include "link/Link.h"
#include "link/TransportFactory.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <unistd.h>

using namespace dunmere;

namespace {

// Milliseconds since this process started, from the kernel's record of its start.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22 (starttime, in clock ticks since boot) counts from after the command name.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Records the time of the first paint of a window.
class FirstPaint final : public QObject {
public:
    double atMs = -1;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && atMs < 0)
            atMs = msSinceProcessStart();
        return QObject::eventFilter(watched, event);
    }
};

void waitForPaint(const FirstPaint& paint)
{
    QElapsedTimer t;
    t.start();
    while (paint.atMs < 0 && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

int runBare(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaint paint;
    QWidget window;
    window.installEventFilter(&paint);
    window.resize(719, 544);
    window.show();
    waitForPaint(paint);
    std::printf("%.1f %ld\n", paint.atMs, residentKb());
    return 0;
}

int runDunmere(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir data;
    qputenv("ALLUSERSPROFILE", data.path().toLocal8Bit());
    SeedDataFolder(ShippedDataFolder());
    sim::SimBus bus;
    sim::buildDemoBus(bus);
    sim::SimTransport transport(bus, Transport::Kind::Serial);
    Link link;
    SystemTransports devices;
    FrmMain main(link, LanguageTexts::program(), devices);
    main.setSimulatedTransport(&transport);
    main.messages().setAnswerProvider([](const QString&, MessageButtons) { return FrmMessages::Answer::Ok; });
    FirstPaint paint;
    main.installEventFilter(&paint);
    main.load();  // shows the window, then runs the first search
    waitForPaint(paint);
    std::printf("%.1f %ld\n", paint.atMs, residentKb());
    return 0;
}

// The two figures a case printed, or nothing when it failed.
QList<double> runCase(const QString& name)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), name});
    if (!child.waitForFinished(60000))
        return {};
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
    if (parts.size() != 2)
        return {};
    return {parts[0].toDouble(), parts[1].toDouble()};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--case")
        return QByteArray(argv[2]) == "bare" ? runBare(argc, argv) : runDunmere(argc, argv);

    QCoreApplication app(argc, argv);
    constexpr int Runs = 3;
    std::printf("startup (offscreen, %d runs each)        first paint ms   resident MB\n", Runs);
    for (const char* name : {"bare", "dunmere"}) {
        for (int run = 1; run <= Runs; ++run) {
            const QList<double> figures = runCase(QString::fromLatin1(name));
            if (figures.isEmpty()) {
                std::printf("  %-8s run %d                     failed\n", name, run);
                continue;
            }
            std::printf("  %-8s run %d                     %8.1f     %8.1f\n", name, run, figures[0], figures[1] / 1024.0);
        }
    }
    std::printf("targets: dunmere first paint under 300 ms, resident memory under 80 MB after the first search\n");
    return 0;
}
