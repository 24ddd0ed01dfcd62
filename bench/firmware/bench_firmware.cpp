// A whole firmware upgrade against the in-process simulated bus at 9600 baud, in real time:
// its time beside the time the wire itself needs (every byte of the 512 blocks, their
// replies and the reads, 10 bit times each) plus the fixed waits of the restart, as a ratio,
// and the CPU seconds it cost. The sensors answer without a turnaround, so the wire alone
// sets the limit. --virtual runs it on the virtual clock instead (the protocol's own waits
// only, in a moment). It prints; it never judges.

#include "firmware/FirmwareContainer.h"
#include "firmware/FirmwareUpgrade.h"
#include "link/Clock.h"
#include "link/Link.h"
#include "sensor/SensorRecord.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

using namespace dunmere;

namespace {

constexpr double ByteMs = 10.0 * 1000.0 / 9600.0;
// After the last block: the pause, the restart's unanswered wait, the restart time and the
// "written" text shown.
constexpr double FixedWaitsMs = 2000 + 1000 + 5000 + 2000;
// Serial text frames travel with two preamble bytes and one pad byte the frame does not hold.
constexpr int TextFrameExtraBytes = 3;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class Texts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

class Quiet final : public UpgradeReport {
public:
    void status(const QString&) override {}
};

QByteArray container()
{
    QByteArray image(FirmwareImageSize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7) & 0x7F);
    image.replace(1000, 12, "QX0089 v1.13");
    return "QX=QX0089 bench#01@\r\n" + image + "\r\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool virtualTime = app.arguments().contains(QStringLiteral("--virtual"));
    VirtualClock virtualClock;
    if (virtualTime)
        Clock::install(&virtualClock);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.fw"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(container()) < 0) {
        std::fprintf(stderr, "bench_firmware: cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    sim::SimBus bus;
    bus.setReplyLatencyMs(0);
    sim::SensorSetup setup;
    setup.address = 1;
    setup.firmwareText = "QX0089 v1.12";
    bus.addSensor(setup);
    sim::SimTransport transport(bus, Transport::Kind::Serial);
    Link link;
    link.setTransport(&transport);
    qint64 wireBytes = 0;
    QObject::connect(&link, &Link::traffic, [&](bool outgoing, const QByteArray& bytes) {
        wireBytes += bytes.size();
        // Binary frames carry their preamble in the array; text frames get it on the way.
        if (outgoing && !bytes.startsWith("\xFF\xFF"))
            wireBytes += TextFrameExtraBytes;
    });

    Texts texts;
    Quiet report;
    FirmwareUpgrade upgrade(link, texts, report);
    SensorRecord record;
    record.FirmwareText = QStringLiteral("QX0089 v1.12");
    auto& clock = Clock::current();
    const qint64 start = clock.nowMs();
    const double cpuStart = cpuSeconds();
    const UpgradeResult result = upgrade.SelectFirmwareImage(path, record, 1, 0);
    const double elapsedMs = double(clock.nowMs() - start);
    const double cpu = cpuSeconds() - cpuStart;
    Clock::install(nullptr);
    if (!result.succeeded) {
        std::fprintf(stderr, "bench_firmware: the upgrade failed: %s\n", qPrintable(result.resultText));
        return 1;
    }
    const double wireMs = double(wireBytes) * ByteMs + FixedWaitsMs;
    std::printf("firmware upgrade, 512 blocks at 9600 baud (%s clock)\n", virtualTime ? "virtual" : "real");
    std::printf("  bytes on the wire        %lld\n", static_cast<long long>(wireBytes));
    std::printf("  wire time + fixed waits  %.1f s\n", wireMs / 1000.0);
    std::printf("  upgrade took             %.1f s\n", elapsedMs / 1000.0);
    std::printf("  ratio                    %.3f (target <= 1.05)\n", elapsedMs / wireMs);
    std::printf("  CPU                      %.2f s\n", cpu);
    return 0;
}
