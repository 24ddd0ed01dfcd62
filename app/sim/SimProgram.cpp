#include "SimProgram.h"

#include "sim/LoopbackAddress.h"
#include "sim/Scenario.h"
#include "sim/SensorListSpec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

namespace dunmere::sim {

namespace {

constexpr auto DefaultTcp = "127.0.0.1:10001";

QHostAddress hostOf(const std::array<quint8, 4>& a)
{
    return QHostAddress(quint32(a[0]) << 24 | quint32(a[1]) << 16 | quint32(a[2]) << 8 | a[3]);
}

}  // namespace

SimProgram::SimProgram() = default;

SimProgram::~SimProgram() = default;

void SimProgram::say(const QString& line) const
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

int SimProgram::start(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated sensor bus for Dunmere: virtual sensors served as an Ethernet adapter over TCP, as a serial "
        "port over a pseudo-terminal, and with the adapter's configuration datagrams. Loopback addresses only.\n"
        "While it runs, standard input takes console commands (type help)."));
    parser.addHelpOption();
    const QCommandLineOption sensors(QStringLiteral("sensors"),
        QStringLiteral("Sensors as address:type[:IDENTITY[:Name]], comma-separated (default: a demo bus 1:89,2:77,5:45)."),
        QStringLiteral("list"));
    const QCommandLineOption tcp(QStringLiteral("tcp"), QStringLiteral("Serve the bus as an adapter's TCP bridge (default %1).").arg(QLatin1String(DefaultTcp)), QStringLiteral("address:port"));
    const QCommandLineOption pty(QStringLiteral("pty"), QStringLiteral("Serve the bus on a pseudo-terminal and print its device path."));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Line speed in baud, 8N1 (default 9600)."), QStringLiteral("rate"));
    const QCommandLineOption fault(QStringLiteral("fault"), QStringLiteral("Switch a fault on: [ADDR:]NAME[,...]; names: %1.").arg(faultNames()), QStringLiteral("spec"));
    const QCommandLineOption udp(QStringLiteral("adapter-udp"), QStringLiteral("Answer the adapter configuration datagrams on this loopback address[:port] (port 30718)."), QStringLiteral("address"));
    const QCommandLineOption scenario(QStringLiteral("scenario"), QStringLiteral("Set up from a JSON scenario file."), QStringLiteral("file"));
    const QCommandLineOption latency(QStringLiteral("latency"), QStringLiteral("Sensor turnaround in ms (default 3)."), QStringLiteral("ms"));
    parser.addOptions({sensors, tcp, pty, baud, fault, udp, scenario, latency});
    if (!parser.parse(arguments)) {
        say(parser.errorText());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        say(parser.helpText() + QStringLiteral("\nConsole commands:\n") + SimConsole::help());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        say(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
        return 2;
    }

    ScenarioOptions options;
    QString error;
    if (!setUpBus(parser.value(scenario), parser.value(sensors), parser.values(fault), options, error)) {
        say(error);
        return 2;
    }
    if (parser.isSet(tcp))
        options.tcp = parser.value(tcp);
    options.pty = options.pty || parser.isSet(pty);
    if (parser.isSet(udp))
        options.adapterUdp = parser.value(udp);
    if (options.tcp.isEmpty() && !options.pty && options.adapterUdp.isEmpty())
        options.tcp = QLatin1String(DefaultTcp);
    int rate = options.baud.value_or(9600);
    if (parser.isSet(baud)) {
        bool ok = false;
        rate = parser.value(baud).toInt(&ok);
        if (!ok || rate < 300 || rate > 4'000'000) {
            say(QStringLiteral("--baud must be 300 to 4000000"));
            return 2;
        }
    }
    if (parser.isSet(latency)) {
        bool ok = false;
        options.latencyMs = parser.value(latency).toLongLong(&ok);
        if (!ok || *options.latencyMs < 0 || *options.latencyMs > 60'000) {
            say(QStringLiteral("--latency must be 0 to 60000 ms"));
            return 2;
        }
    }
    if (options.latencyMs)
        bus_.setReplyLatencyMs(*options.latencyMs);
    if (!startFrontEnds(options, rate, error)) {
        say(error);
        return 1;
    }
    say(console_.execute(QStringLiteral("list")));
    say(QStringLiteral("ready"));
    stdinNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(stdinNotifier_, &QSocketNotifier::activated, this, &SimProgram::readConsole);
    return -1;
}

bool SimProgram::setUpBus(const QString& scenarioFile, const QString& sensors, const QStringList& faults,
                          ScenarioOptions& options, QString& error)
{
    if (!scenarioFile.isEmpty()) {
        QFile file(scenarioFile);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1: %2").arg(scenarioFile, file.errorString());
            return false;
        }
        if (!loadScenario(file.readAll(), bus_, options, error)) {
            error = scenarioFile + QStringLiteral(": ") + error;
            return false;
        }
    }
    if (!sensors.isEmpty()) {
        const SensorListResult list = parseSensorList(sensors);
        if (!list.ok()) {
            error = QStringLiteral("--sensors: ") + list.error;
            return false;
        }
        for (VirtualSensor* s : bus_.sensors())
            bus_.removeSensor(s->address());
        if (!populate(bus_, list.sensors)) {
            error = QStringLiteral("--sensors: the line has no room for them all");
            return false;
        }
    } else if (bus_.sensors().isEmpty()) {
        buildDemoBus(bus_);
    }
    for (const QString& spec : faults) {
        if (!applyFaultSpec(bus_, spec, error)) {
            error = QStringLiteral("--fault: ") + error;
            return false;
        }
    }
    return true;
}

bool SimProgram::startFrontEnds(const ScenarioOptions& options, int baud, QString& error)
{
    if (!options.tcp.isEmpty()) {
        Endpoint at;
        tcp_ = std::make_unique<TcpBridge>(bus_);
        tcp_->setBaud(baud);
        if (!parseLoopbackEndpoint(options.tcp, 0, at, error) || !tcp_->listen(at.address, at.port, error)) {
            error = QStringLiteral("--tcp: ") + error;
            return false;
        }
        say(QStringLiteral("tcp: %1:%2").arg(tcp_->address().toString()).arg(tcp_->port()));
    }
    if (options.pty) {
        pty_ = std::make_unique<PseudoTerminal>(bus_);
        pty_->setBaud(baud);
        if (!pty_->open(error))
            return false;
        say(QStringLiteral("pty: %1").arg(pty_->slavePath()));
    }
    if (!options.adapterUdp.isEmpty()) {
        Endpoint at;
        adapter_ = std::make_unique<AdapterConfigServer>();
        if (options.adapter)
            adapter_->setSettings(*options.adapter);
        adapter_->setApplyDelayMs(options.adapterApplyDelayMs);
        if (!parseLoopbackEndpoint(options.adapterUdp, AdapterConfigServer::ProtocolPort, at, error)
            || !adapter_->bind(at.address, at.port, error)) {
            error = QStringLiteral("--adapter-udp: ") + error;
            return false;
        }
        if (tcp_) {
            AdapterSettings s = adapter_->settings();
            s.tcpPort = tcp_->port();
            adapter_->setSettings(s);
        }
        connect(adapter_.get(), &AdapterConfigServer::settingsApplied, this, &SimProgram::adapterApplied);
        say(QStringLiteral("adapter-udp: %1:%2").arg(at.address.toString()).arg(adapter_->port()));
    }
    return true;
}

void SimProgram::adapterApplied(const AdapterSettings& settings)
{
    say(QStringLiteral("adapter: new settings, %1 address %2, TCP port %3")
            .arg(settings.automatic ? QStringLiteral("automatic") : QStringLiteral("fixed"),
                 hostOf(settings.address).toString())
            .arg(settings.tcpPort));
    const QHostAddress host = hostOf(settings.address);
    if (!isLoopback(host)) {
        say(QStringLiteral("adapter: %1 is not a loopback address; the simulator stays where it is").arg(host.toString()));
        return;
    }
    QString error;
    if (tcp_ && (tcp_->port() != settings.tcpPort || tcp_->address() != host)) {
        if (tcp_->listen(host, settings.tcpPort, error))
            say(QStringLiteral("tcp: %1:%2").arg(host.toString()).arg(settings.tcpPort));
        else
            say(QStringLiteral("tcp: cannot move to %1:%2: %3").arg(host.toString()).arg(settings.tcpPort).arg(error));
    }
}

void SimProgram::readConsole()
{
    char buffer[1024];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        stdinNotifier_->setEnabled(false);  // no console: serve on until stopped
        return;
    }
    consoleBuffer_.append(buffer, n);
    qsizetype end;
    while ((end = consoleBuffer_.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(consoleBuffer_.left(end)).trimmed();
        consoleBuffer_.remove(0, end + 1);
        if (line == u"quit") {
            QCoreApplication::quit();
            return;
        }
        const QString reply = console_.execute(line);
        if (!reply.isEmpty())
            say(reply);
    }
}

}  // namespace dunmere::sim
