// The data window's cost while it trends: six simulated sensors on a 9600-baud wire, the
// shortest interval they allow (5 s), the graph redrawn every second, offscreen and in real
// time. Prints the CPU seconds the process spent per second of trend (target: under 0.02)
// and how much of the time the wire was busy. Prints; never judges.

#include "datalog/ui/FrmData.h"

#include "link/Clock.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"
#include "shell/core/ExchangeGuard.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

using namespace dunmere;

namespace {

constexpr int RunSeconds = 30;

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key.mid(4); }
};

class SilentMessages final : public Messages {
public:
    bool show(const QString&, MessageButtons) override { return true; }
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    sim::SimBus bus;
    [[maybe_unused]] const bool added =
        sim::populate(bus, sim::parseSensorList(QStringLiteral("1:89,2:77,3:45,4:89,5:77,6:45")).sensors);
    sim::SimTransport transport(bus, Transport::Kind::Serial);
    transport.setBaud(9600);
    Link link;
    KeyTexts texts;
    SilentMessages messages;
    link.setTransport(&transport);
    SensorModel model;
    SensorBus search(link, model, &messages, &texts);
    search.setProbeTimeout(200);
    if (search.SensorSearch() != SensorBus::SearchOutcome::Found || model.SensorRowCount() != 6) {
        std::fprintf(stderr, "bench_trend: the six sensors were not found\n");
        return 1;
    }
    ExchangeGuard guard(link);
    auto* window = new FrmData(DataWindowContext{link, texts, messages, guard, model, false, false, QStringLiteral("bench")});
    window->open(nullptr);

    quint64 wireBytes = 0;
    QObject::connect(&link, &Link::traffic, [&](bool, const QByteArray& bytes) { wireBytes += quint64(bytes.size()); });
    // Settle past the opening reads before measuring.
    auto& clock = Clock::current();
    clock.waitUntil([] { return false; }, clock.nowMs() + 2000);
    wireBytes = 0;
    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    clock.waitUntil([] { return false; }, clock.nowMs() + RunSeconds * 1000);
    const double seconds = double(wall.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpuStart;
    const double wireSeconds = double(wireBytes) * 10.0 / 9600.0;
    std::printf("trend of 6 sensors every %d s for %.1f s: CPU %.4f s per s (target < 0.02), wire busy %.1f%%, "
                "%d samples\n",
                window->acquisition().IntervalSeconds, seconds, cpu / seconds, 100.0 * wireSeconds / seconds,
                window->acquisition().trend().writePosition());
    window->unload();
    return 0;
}
