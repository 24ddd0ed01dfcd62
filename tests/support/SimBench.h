#pragma once

// The demo bus of simulated sensors behind a simulated transport, reached through the
// program's own Link, on the virtual clock.

#include "VirtualClockFixture.h"
#include "link/Link.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

namespace dunmere::test {

struct SimBench {
    VirtualClockScope clock;
    sim::SimBus bus;
    sim::SimTransport transport;
    Link link;
    explicit SimBench(Transport::Kind kind = Transport::Kind::Tcp) : transport(bus, kind)
    {
        sim::buildDemoBus(bus);
        link.setTransport(&transport);
    }
};

}  // namespace dunmere::test
