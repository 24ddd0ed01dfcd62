#include "WireLine.h"

#include "SimBus.h"
#include "link/Clock.h"

#include <cmath>
#include <memory>

namespace dunmere::sim {

WireLine::WireLine(SimBus& bus, QObject* parent) : QObject(parent), bus_(bus), clock_(Clock::current())
{
    connect(&bus_, &SimBus::unsolicited, this, [this](const QByteArray& bytes) {
        transmit(bytes, qMax(nowUs(), lineFreeUs_), [this](const QByteArray& chunk, double) { emit toMaster(chunk); });
    });
}

WireLine::~WireLine()
{
    for (int handle : pending_)
        clock_.cancel(handle);
}

void WireLine::setBaud(int baud) { baud_ = qBound(300, baud, 4'000'000); }

double WireLine::nowUs() const { return double(clock_.nowMs()) * 1000.0; }

void WireLine::reset()
{
    for (int handle : pending_)
        clock_.cancel(handle);
    pending_.clear();
    ++generation_;
    receiver_.reset();
    lineFreeUs_ = nowUs();
    masterFreeUs_ = lineFreeUs_;
}

void WireLine::fromMaster(const QByteArray& bytes)
{
    // A reply still due later does not hold the program back: it waits only for its own bytes.
    masterFreeUs_ = transmit(bytes, qMax(nowUs(), masterFreeUs_),
                             [this](const QByteArray& chunk, double lastUs) { hear(chunk, lastUs); });
}

double WireLine::transmit(const QByteArray& bytes, double startUs,
                        const std::function<void(const QByteArray&, double)>& sink)
{
    const double byteUs = byteTimeUs();
    qsizetype i = 0;
    while (i < bytes.size()) {
        // All bytes completing within the same millisecond travel as one group.
        const qint64 dueMs = qint64(std::ceil((startUs + double(i + 1) * byteUs) / 1000.0 - 1e-9));
        qsizetype end = i + 1;
        while (end < bytes.size() && qint64(std::ceil((startUs + double(end + 1) * byteUs) / 1000.0 - 1e-9)) == dueMs)
            ++end;
        const QByteArray group = bytes.mid(i, end - i);
        const double lastUs = startUs + double(end) * byteUs;
        auto handle = std::make_shared<int>(0);
        *handle = clock_.schedule(dueMs, [this, group, lastUs, sink, handle, gen = generation_] {
            pending_.erase(*handle);
            if (gen == generation_)
                sink(group, lastUs);
        }, Clock::Runs::AlsoDuringSleep);
        pending_.insert(*handle);
        i = end;
    }
    const double endUs = startUs + double(bytes.size()) * byteUs;
    lineFreeUs_ = qMax(lineFreeUs_, endUs);
    return endUs;
}

void WireLine::hear(const QByteArray& bytes, double lastByteUs)
{
    const double byteUs = byteTimeUs();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!receiver_.feed(bytes[i]))
            continue;
        const bool valid = receiver_.valid();
        // Commands carry address + 64; the receiver counts from the reply offset of 96.
        const int address = receiver_.address() + 32;
        const int frameCode = receiver_.frameCode();
        const QByteArray payload = receiver_.payload();
        receiver_.reset();
        if (!valid)
            continue;  // a sensor ignores a broken frame
        const double frameEndUs = lastByteUs - double(bytes.size() - 1 - i) * byteUs;
        if (auto answer = bus_.handleFrame(address, frameCode, payload))
            reply(*answer, frameEndUs);
    }
}

void WireLine::reply(const WireReply& answer, double frameEndUs)
{
    const double startUs = qMax(frameEndUs + double(answer.delayMs + extraLatencyMs_) * 1000.0, lineFreeUs_);
    QByteArray bytes = answer.bytes;
    const bool breaks = breaksConnections_ && answer.closeAfter >= 0;
    if (breaks)
        bytes.truncate(answer.closeAfter);
    const double endUs = transmit(bytes, startUs, [this](const QByteArray& chunk, double) { emit toMaster(chunk); });
    if (breaks) {
        const qint64 atMs = qint64(std::ceil(endUs / 1000.0));
        auto handle = std::make_shared<int>(0);
        *handle = clock_.schedule(atMs, [this, handle, gen = generation_] {
            pending_.erase(*handle);
            if (gen == generation_)
                emit connectionBroken();
        }, Clock::Runs::AlsoDuringSleep);
        pending_.insert(*handle);
    }
}

}  // namespace dunmere::sim
