#include "CliBus.h"

#include "CliOutput.h"

#include "link/Clock.h"
#include "link/ComPorts.h"
#include "link/DataFolder.h"
#include "link/SerialTransport.h"
#include "link/TcpTransport.h"
#include "link/TransportFactory.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QTime>
#include <cstdio>

namespace dunmere::cli {

namespace {

constexpr int ConnectWaitMs = 12000;

}  // namespace

CliBus::CliBus(Link& link, const BusChoice& choice, bool traced, CliOutput& output)
    : link_(link), choice_(choice), output_(output)
{
    if (traced)
        QObject::connect(&link_, &Link::traffic, &link_, [this](bool out, const QByteArray& bytes) { trace(out, bytes); });
}

CliBus::~CliBus() { link_.setTransport(nullptr); }

void CliBus::trace(bool outgoing, const QByteArray& bytes) const
{
    const QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"))
        + (outgoing ? QStringLiteral(" > ") : QStringLiteral(" < ")) + QString::fromLatin1(bytes.toHex(' '));
    std::fprintf(stderr, "%s\n", line.toLatin1().constData());
}

void CliBus::use(std::unique_ptr<Transport> transport, const QString& description)
{
    transport_ = std::move(transport);
    Transport* t = transport_.get();
    QObject::connect(t, &Transport::failed, &link_, [this, t, description] {
        if (lost())
            return;
        const QString reason = t->errorText();
        lostText_ = description + (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')'));
    });
    link_.setTransport(t);
}

ExitStatus CliBus::open()
{
    switch (choice_.kind) {
    case BusChoice::Kind::Tcp: return openTcp();
    case BusChoice::Kind::Serial: return openSerial();
    case BusChoice::Kind::Simulate: return openSimulated();
    }
    return ExitUsage;
}

ExitStatus CliBus::openTcp()
{
    const QString& target = choice_.argument;
    const qsizetype colon = target.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = colon > 0 ? target.mid(colon + 1).toInt(&ok) : 0;
    if (!ok || port < 1 || port > 65535) {
        output_.error(QStringLiteral("--tcp takes HOST:PORT, such as 192.168.0.50:10001"));
        return ExitUsage;
    }
    const QString host = target.left(colon);
    auto tcp = std::make_unique<TcpTransport>();
    auto& clock = Clock::current();
    const qint64 start = clock.nowMs();
    tcp->connectToHost(host, quint16(port));
    clock.waitUntil([&] { return tcp->state() != TcpClient::State::Connecting; }, start + ConnectWaitMs);
    if (tcp->state() != TcpClient::State::Connected) {
        const QString reason = tcp->errorText().isEmpty() ? QStringLiteral("no answer") : tcp->errorText();
        output_.error(QStringLiteral("cannot connect to %1: %2").arg(target, reason));
        return ExitFailure;
    }
    link_.state().ConnectTime = clock.nowMs() - start;
    use(std::move(tcp), QStringLiteral("the connection to %1 was lost").arg(target));
    return ExitOk;
}

ExitStatus CliBus::openSerial()
{
    QString path = choice_.argument;
    bool isNumber = false;
    const int number = path.toInt(&isNumber);
    if (isNumber) {
        if (number < 1 || number > ComPorts::MaxPort) {
            output_.error(QStringLiteral("--serial takes a port number from 1 to 16 or a device path"));
            return ExitUsage;
        }
        SystemTransports factory;
        ComPorts ports(factory, ConfigFilePath());
        ports.EnumerateComPorts();
        path = ports.devicePath(number);
        if (path.isEmpty()) {
            output_.error(QStringLiteral("there is no serial port %1").arg(number));
            return ExitFailure;
        }
    }
    auto serial = std::make_unique<SerialTransport>();
    if (!serial->open(path)) {
        output_.error(QStringLiteral("cannot open %1: %2").arg(path, serial->errorText()));
        return ExitFailure;
    }
    use(std::move(serial), QStringLiteral("the serial port %1 is gone").arg(path));
    return ExitOk;
}

ExitStatus CliBus::openSimulated()
{
    simBus_ = std::make_unique<sim::SimBus>();
    QString error;
    if (!sim::buildSimulatedBus(*simBus_, choice_.argument, error)) {
        output_.error(QStringLiteral("--simulate: ") + error);
        return ExitUsage;
    }
    // Serial, so the line carries the preamble and pad at 9600 baud in real time.
    use(std::make_unique<sim::SimTransport>(*simBus_, Transport::Kind::Serial), QStringLiteral("the simulated bus closed"));
    return ExitOk;
}

}  // namespace dunmere::cli
