// A configuration save and a restore against one simulated type-89 sensor on the in-process
// bus at 9600 baud, in real time: each printed beside the time its frames take on the wire
// (10 bit times a byte, the serial preamble and pad included, no sensor turnaround) plus the
// documented fixed waits (200 ms after every restore write), as a ratio. It prints; it never
// judges.

#include "configfile/ConfigurationTransfer.h"
#include "language/LanguageSectionTexts.h"
#include "language/ShippedData.h"
#include "link/Link.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace dunmere;

namespace {

constexpr double ByteMs = 10.0 * 1000.0 / 9600.0;
constexpr int SerialFraming = 3;  // two preamble bytes and the pad around every text frame
constexpr double PauseMs = 200.0;

struct Wire {
    qint64 bytes = 0;
    int writes = 0;
};

void report(const char* what, qint64 elapsedMs, const Wire& wire)
{
    const double wireMs = double(wire.bytes) * ByteMs;
    const double expected = wireMs + wire.writes * PauseMs;
    std::printf("%-8s %6lld ms   wire %7.1f ms + %2d pauses = %7.1f ms   ratio %.3f\n", what,
                static_cast<long long>(elapsedMs), wireMs, wire.writes, expected, double(elapsedMs) / expected);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    sim::SimBus bus;
    bus.setReplyLatencyMs(0);
    [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(QStringLiteral("1:89")).sensors);
    sim::SimTransport transport(bus, Transport::Kind::Serial);
    Link link;
    link.setTransport(&transport);
    Wire wire;
    QObject::connect(&link, &Link::traffic, &link, [&](bool outgoing, const QByteArray& bytes) {
        wire.bytes += bytes.size() + (outgoing ? SerialFraming : 0);
        if (outgoing && bytes.contains("W "))
            ++wire.writes;
    });
    const QString languageFile = ShippedDataFolder() + QStringLiteral("/config.ini");
    const LanguageSectionTexts texts(0, languageFile);
    TransferEnvironment env{link, texts, 0, languageFile, nullptr, nullptr};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.txt"));
    const SavedSensor sensor{1, QStringLiteral("Q8900001"), QString(), QStringLiteral("QX0089 v1.12"), 89};

    QElapsedTimer timer;
    timer.start();
    SaveSensorConfiguration(env, sensor, path, [] { return SensorLayout{false, true}; }, QStringLiteral("bench"));
    report("save", timer.elapsed(), wire);

    wire = {};
    timer.restart();
    RestoreSensorConfiguration(env, 1, path);
    report("restore", timer.elapsed(), wire);
    return 0;
}
