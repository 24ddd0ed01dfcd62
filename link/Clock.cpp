#include "Clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <limits>

namespace dunmere {

namespace {
Clock* installed = nullptr;
}

Clock& Clock::current()
{
    static RealClock real;
    return installed ? *installed : real;
}

void Clock::install(Clock* clock) { installed = clock; }

// ---- RealClock

namespace {

// A wait "for ever" is a deadline far beyond what a Qt timer takes; cut to its range rather
// than let the cast wrap to a negative interval.
int timerInterval(qint64 ms)
{
    return static_cast<int>(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max()));
}

}  // namespace

qint64 RealClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::sleep(qint64 ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

bool RealClock::waitUntil(const std::function<bool()>& done, qint64 deadlineMs)
{
    if (done())
        return true;
    if (nowMs() >= deadlineMs)
        return false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Every state change comes from an event, so checking just before the loop would sleep
    // again sees it without polling.
    auto* dispatcher = QAbstractEventDispatcher::instance();
    QMetaObject::Connection check;
    if (dispatcher) {
        check = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
            if (done() || nowMs() >= deadlineMs)
                loop.quit();
        });
    }
    deadline.start(timerInterval(deadlineMs - nowMs()));
    loop.exec();
    QObject::disconnect(check);
    return done();
}

int RealClock::schedule(qint64 atMs, std::function<void()> fn, Runs)
{
    const int handle = nextHandle_++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, handle, timer, fn = std::move(fn)] {
        timers_.erase(handle);
        timer->deleteLater();
        fn();
    });
    timers_[handle] = timer;
    timer->start(timerInterval(atMs - nowMs()));
    return handle;
}

void RealClock::cancel(int handle)
{
    auto it = timers_.find(handle);
    if (it == timers_.end())
        return;
    delete it->second;
    timers_.erase(it);
}

// ---- VirtualClock

VirtualClock::VirtualClock(qint64 startMs) : now_(startMs) {}

VirtualClock::~VirtualClock()
{
    if (&Clock::current() == this)
        Clock::install(nullptr);
}

int VirtualClock::schedule(qint64 atMs, std::function<void()> fn, Runs runs)
{
    const int handle = nextHandle_++;
    entries_[handle] = Entry{qMax(atMs, now_), std::move(fn), runs};
    return handle;
}

void VirtualClock::cancel(int handle) { entries_.erase(handle); }

bool VirtualClock::fireNext(qint64 limit, bool sleeping)
{
    auto best = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (sleeping && it->second.runs == Runs::EventLoopOnly)
            continue;
        if (it->second.at <= limit && (best == entries_.end() || it->second.at < best->second.at))
            best = it;
    }
    if (best == entries_.end())
        return false;
    now_ = qMax(now_, best->second.at);
    auto fn = std::move(best->second.fn);
    entries_.erase(best);
    fn();
    return true;
}

void VirtualClock::sleep(qint64 ms)
{
    const qint64 target = now_ + qMax<qint64>(0, ms);
    while (fireNext(target, true)) {
    }
    now_ = qMax(now_, target);
}

bool VirtualClock::waitUntil(const std::function<bool()>& done, qint64 deadlineMs)
{
    for (;;) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done())
            return true;
        if (now_ >= deadlineMs) {
            // Calls due exactly now still run before the wait gives up.
            if (!fireNext(now_, false))
                return done();
            continue;
        }
        if (!fireNext(deadlineMs, false))
            now_ = deadlineMs;
    }
}

void VirtualClock::advance(qint64 ms)
{
    waitUntil([] { return false; }, now_ + ms);
}

bool VirtualClock::runUntil(const std::function<bool()>& done, qint64 timeoutMs)
{
    return waitUntil(done, now_ + timeoutMs);
}

}  // namespace dunmere
