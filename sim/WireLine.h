#pragma once
// The wire between the program's port and the sensors: bytes take 10 bit times each (8N1) in
// both directions on one half-duplex line, commands are collected into frames for the bus,
// and replies travel back at their wire time. Every front end (in-process transport, TCP
// bridge, pseudo-terminal) puts one of these in front of the shared bus.

#include "link/Frame.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <set>

namespace dunmere {
class Clock;
}

namespace dunmere::sim {

class SimBus;
struct WireReply;

class WireLine final : public QObject {
    Q_OBJECT
public:
    // Runs on the clock installed at construction.
    explicit WireLine(SimBus& bus, QObject* parent = nullptr);
    ~WireLine() override;
    WireLine(const WireLine&) = delete;
    WireLine& operator=(const WireLine&) = delete;

    static constexpr int DefaultBaud = 9600;
    void setBaud(int baud);
    [[nodiscard]] int baud() const { return baud_; }
    [[nodiscard]] double byteTimeUs() const { return 10.0e6 / double(baud_); }

    // Extra wait this line adds before each reply (an adapter's forwarding, say), on top of
    // the sensors' own turnaround.
    void setExtraLatencyMs(qint64 ms) { extraLatencyMs_ = qMax<qint64>(0, ms); }
    [[nodiscard]] qint64 extraLatencyMs() const { return extraLatencyMs_; }

    // Whether a reply's close fault breaks the connection (TCP) or is ignored (serial).
    void setBreaksConnections(bool breaks) { breaksConnections_ = breaks; }

    // Bytes the program put on the line just now; the sensors hear them at their wire time.
    void fromMaster(const QByteArray& bytes);
    // Drops everything still travelling and forgets a half-heard frame.
    void reset();

signals:
    // Bytes reaching the program's end of the line.
    void toMaster(const QByteArray& bytes);
    // The close fault struck inside a reply.
    void connectionBroken();

private:
    // Schedules bytes onto the line from startUs on, one byte time each, grouped by the
    // millisecond they complete in; sink gets each group with its last byte's time. Returns
    // the time the last byte completes.
    double transmit(const QByteArray& bytes, double startUs, const std::function<void(const QByteArray&, double)>& sink);
    void hear(const QByteArray& bytes, double lastByteUs);
    void reply(const WireReply& reply, double frameEndUs);
    [[nodiscard]] double nowUs() const;

    SimBus& bus_;
    Clock& clock_;
    int baud_ = DefaultBaud;
    bool breaksConnections_ = false;
    qint64 extraLatencyMs_ = 0;
    double lineFreeUs_ = 0;    // end of everything scheduled onto the line
    double masterFreeUs_ = 0;  // end of the program's own bytes
    frame::FrameReceiver receiver_{frame::FrameReceiver::Mode::Binary};
    std::set<int> pending_;
    quint64 generation_ = 0;  // bumps on reset, so groups scheduled before it do nothing
};

}  // namespace dunmere::sim
