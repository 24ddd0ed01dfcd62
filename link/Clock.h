#pragma once
// The one source of time and the one way to wait. Everything that sleeps, times out or runs
// later goes through the installed Clock, so tests can swap in a virtual clock that jumps
// straight to the next event and a real run never spins.

#include <QObject>
#include <QtGlobal>
#include <functional>
#include <map>

namespace dunmere {

class Clock : public QObject {
    Q_OBJECT
public:
    // Whether a scheduled call may run while someone sleeps without processing events.
    // Bytes travelling on a wire keep arriving during a sleep; timers of the program do not.
    enum class Runs { EventLoopOnly, AlsoDuringSleep };

    ~Clock() override = default;

    // Monotonic milliseconds; never wraps in practice (64 bits).
    [[nodiscard]] virtual qint64 nowMs() const = 0;
    // Suspends for ms without processing events.
    virtual void sleep(qint64 ms) = 0;
    // Runs a nested event loop until done() holds or the clock reaches deadlineMs, whichever
    // comes first; done() is re-checked after every batch of events. Returns done().
    virtual bool waitUntil(const std::function<bool()>& done, qint64 deadlineMs) = 0;
    // Calls fn once the clock reaches atMs (from the event loop). Returns a handle for cancel().
    virtual int schedule(qint64 atMs, std::function<void()> fn, Runs runs = Runs::EventLoopOnly) = 0;
    virtual void cancel(int handle) = 0;

    // The program-wide clock; a RealClock unless a test installed another.
    static Clock& current();
    // Installs a clock (not owned); nullptr restores the real clock.
    static void install(Clock* clock);

protected:
    Clock() = default;
};

class RealClock final : public Clock {
    Q_OBJECT
public:
    RealClock() = default;
    qint64 nowMs() const override;
    void sleep(qint64 ms) override;
    bool waitUntil(const std::function<bool()>& done, qint64 deadlineMs) override;
    int schedule(qint64 atMs, std::function<void()> fn, Runs runs = Runs::EventLoopOnly) override;
    void cancel(int handle) override;

private:
    int nextHandle_ = 1;
    std::map<int, QObject*> timers_;
};

// Time stands still until something waits: a wait runs pending events, then jumps to the next
// scheduled call (or the deadline), so hours of protocol time pass in milliseconds and every
// run gives the same result.
class VirtualClock final : public Clock {
    Q_OBJECT
public:
    explicit VirtualClock(qint64 startMs = 1'000'000);
    ~VirtualClock() override;
    qint64 nowMs() const override { return now_; }
    void sleep(qint64 ms) override;
    bool waitUntil(const std::function<bool()>& done, qint64 deadlineMs) override;
    int schedule(qint64 atMs, std::function<void()> fn, Runs runs = Runs::EventLoopOnly) override;
    void cancel(int handle) override;

    // Lets ms of virtual time pass, running everything due in between.
    void advance(qint64 ms);
    // Runs until done() holds or timeoutMs of virtual time have passed; returns done().
    bool runUntil(const std::function<bool()>& done, qint64 timeoutMs);

private:
    struct Entry {
        qint64 at;
        std::function<void()> fn;
        Runs runs;
    };
    bool fireNext(qint64 limit, bool sleeping);

    qint64 now_;
    int nextHandle_ = 1;
    std::map<int, Entry> entries_;  // handle -> entry; handles grow, so ties fire in order
};

}  // namespace dunmere
