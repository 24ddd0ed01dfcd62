// dunmere: the desktop program. With --simulate it runs on the in-process simulated bus; with
// --screenshot DIR it writes a picture of every page and window after start-up and quits.

#include "shell/FrmMain.h"
#include "shell/FrmMessages.h"
#include "shell/Screenshots.h"
#include "shell/core/GuiOptions.h"

#include "language/LanguageTexts.h"
#include "language/ShippedData.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/TransportFactory.h"
#include "link/LocalAddresses.h"
#include "sim/AdapterConfigServer.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"
#include "sim/TcpBridge.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <memory>

using namespace dunmere;

namespace {

// The simulated bus also stands behind a simulated Ethernet adapter on loopback: its
// configuration datagrams at AdapterHost:30718, its bus bridge at AdapterHost:10001. Adapter
// discovery searches from 127.0.0.1 and its broadcasts go to that host only, so nothing of a
// simulated session reaches a real network.
const QString AdapterHost = QStringLiteral("127.0.0.2");

class LoopbackOnly final : public LocalAddressSource {
public:
    QStringList addresses() const override { return {QStringLiteral("127.0.0.1")}; }
    QStringList broadcastTargets() const override { return {AdapterHost}; }
};

struct SimulatedBus {
    sim::SimBus bus;
    std::unique_ptr<sim::SimTransport> transport;
    LoopbackOnly network;
    std::unique_ptr<sim::AdapterConfigServer> adapter;
    std::unique_ptr<sim::TcpBridge> bridge;

    SimulatedBus() { SetLocalAddressSource(&network); }
    ~SimulatedBus() { SetLocalAddressSource(nullptr); }
    SimulatedBus(const SimulatedBus&) = delete;
    SimulatedBus& operator=(const SimulatedBus&) = delete;

    // Another simulation may hold the address already; the program runs on without it.
    void serveAdapter()
    {
        QString error;
        adapter = std::make_unique<sim::AdapterConfigServer>();
        bridge = std::make_unique<sim::TcpBridge>(bus);
        if (!adapter->bind(QHostAddress(AdapterHost), sim::AdapterConfigServer::ProtocolPort, error)
            || !bridge->listen(QHostAddress(AdapterHost), adapter->settings().tcpPort, error))
            std::fprintf(stderr, "dunmere: no simulated Ethernet adapter at %s: %s\n", qPrintable(AdapterHost),
                         qPrintable(error));
    }
};

// The bus of --simulate[=SPEC]; nullptr (and a message) when SPEC is not a sensor list.
std::unique_ptr<SimulatedBus> makeSimulatedBus(const QString& spec)
{
    auto simulated = std::make_unique<SimulatedBus>();
    QString error;
    if (!sim::buildSimulatedBus(simulated->bus, spec, error)) {
        std::fprintf(stderr, "dunmere: --simulate=%s: %s\n", qPrintable(spec), qPrintable(error));
        return nullptr;
    }
    simulated->transport = std::make_unique<sim::SimTransport>(simulated->bus, Transport::Kind::Serial);
    simulated->serveAdapter();
    return simulated;
}

// The program's icon (the installed dunmere.svg drawn the same way), for the window frames.
QIcon programIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setBrush(QColor(0xd9, 0xe2, 0xea));
    p.drawRoundedRect(QRectF(10, 40, 44, 12), 3, 3);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    for (int x : {18, 27, 36})
        p.drawEllipse(QPointF(x, 46), 2.5, 2.5);
    QPainterPath drop;
    drop.moveTo(32, 9);
    drop.cubicTo(24, 20, 20, 26, 20, 31);
    drop.arcTo(QRectF(20, 19, 24, 24), 180, 180);
    drop.cubicTo(44, 26, 40, 20, 32, 9);
    p.setBrush(QColor(0x5f, 0xb3, 0xe6));
    p.setPen(QPen(Qt::white, 2));
    p.drawPath(drop);
    return QIcon(pixmap);
}

// Answers every message with its first button, keeping a picture of each.
void answerMessagesWithPictures(FrmMessages& messages, Screenshots& shots)
{
    auto count = std::make_shared<int>(0);
    messages.setAnswerProvider([&messages, &shots, count](const QString&, MessageButtons buttons) {
        shots.write(messages, QStringLiteral("message-%1").arg(++*count));
        return buttons == MessageButtons::Ok ? FrmMessages::Answer::Ok : FrmMessages::Answer::Yes;
    });
}

// Before the QApplication exists: without a display it would abort with a message about
// platform plugins that tells a user nothing.
bool displayAvailable(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith("-platform"))
            return true;
    }
    return false;
}

bool hasArgument(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        for (const char* name : names) {
            if (arg == name || arg.startsWith(QByteArray(name) + '='))
                return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (hasArgument(argc, argv, {"--help", "-h"})) {
        std::printf("%s", qPrintable(GuiUsage()));
        return 0;
    }
    if (hasArgument(argc, argv, {"--version"})) {
        std::printf("dunmere %s\n", DUNMERE_VERSION);
        return 0;
    }
    if (!displayAvailable(argc, argv)) {
        if (!hasArgument(argc, argv, {"--screenshot"})) {
            std::fprintf(stderr,
                         "dunmere: there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                         "Start it from a desktop session, or write pictures of its windows instead:\n"
                         "  dunmere --simulate --screenshot DIR\n"
                         "(--screenshot uses Qt's offscreen platform; so does QT_QPA_PLATFORM=offscreen.)\n");
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dunmere"));
    QApplication::setOrganizationName(QStringLiteral("Quelmar"));
    QApplication::setWindowIcon(programIcon());
    // ExitApp ends the program, after every window has been unloaded in its order.
    QApplication::setQuitOnLastWindowClosed(false);

    const GuiOptions options = ParseGuiOptions(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "dunmere: %s\n%s", qPrintable(options.error), qPrintable(GuiUsage()));
        return 2;
    }
    if (options.debugLevel >= 0)
        SetDebugThreshold(options.debugLevel);
    SeedDataFolder(ShippedDataFolder());

    std::unique_ptr<SimulatedBus> simulated;
    if (options.simulate && !(simulated = makeSimulatedBus(options.simulateSpec)))
        return 2;

    Link link;
    SystemTransports devices;
    FrmMain main(link, LanguageTexts::program(), devices);
    if (simulated)
        main.setSimulatedTransport(simulated->transport.get());
    QObject::connect(&main, &FrmMain::exitApp, &app, &QCoreApplication::quit);

    std::unique_ptr<Screenshots> shots;
    if (!options.screenshotDir.isEmpty()) {
        shots = std::make_unique<Screenshots>(options.screenshotDir);
        answerMessagesWithPictures(main.messages(), *shots);
    }

    main.load();
    if (main.exited())
        return 0;
    if (shots) {
        shots->writeMainWindow(main);
        shots->writeCalibrationWindows(main);
        main.close();
        for (const QString& path : shots->written())
            std::printf("%s\n", qPrintable(path));
        for (const QString& path : shots->failed())
            std::fprintf(stderr, "dunmere: could not write %s\n", qPrintable(path));
        return shots->failed().isEmpty() ? 0 : 1;
    }
    return QApplication::exec();
}
