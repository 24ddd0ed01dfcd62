#include "ClockTimer.h"

#include "Clock.h"

namespace dunmere {

ClockTimer::ClockTimer(QObject* parent) : QObject(parent) {}

ClockTimer::~ClockTimer() { stop(); }

void ClockTimer::start(int ms)
{
    interval_ = ms;
    start();
}

void ClockTimer::start()
{
    stop();
    auto& clock = Clock::current();
    // A zero interval would never let virtual time move on.
    handle_ = clock.schedule(clock.nowMs() + qMax(1, interval_), [this] { fire(); });
}

void ClockTimer::stop()
{
    if (handle_ != 0)
        Clock::current().cancel(handle_);
    handle_ = 0;
}

void ClockTimer::fire()
{
    handle_ = 0;
    if (!singleShot_) {
        auto& clock = Clock::current();
        handle_ = clock.schedule(clock.nowMs() + qMax(1, interval_), [this] { fire(); });
    }
    emit timeout();
}

}  // namespace dunmere
