#pragma once
// Installs a virtual clock for the lifetime of a test object.

#include "link/Clock.h"

namespace dunmere::test {

class VirtualClockScope {
public:
    VirtualClockScope() { Clock::install(&clock); }
    ~VirtualClockScope() { Clock::install(nullptr); }
    VirtualClockScope(const VirtualClockScope&) = delete;
    VirtualClockScope& operator=(const VirtualClockScope&) = delete;
    VirtualClock clock;
};

}  // namespace dunmere::test
