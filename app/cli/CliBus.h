#pragma once
// The bus the command line talks to: an Ethernet adapter, a serial port or the in-process
// simulated bus, made the Link's transport; and the frame trace.

#include "CliOptions.h"

#include "link/Link.h"

#include <memory>

namespace dunmere {
class Transport;
namespace sim {
class SimBus;
}
}  // namespace dunmere

namespace dunmere::cli {

class CliBus {
public:
    CliBus(Link& link, const Options& options);
    ~CliBus();
    CliBus(const CliBus&) = delete;
    CliBus& operator=(const CliBus&) = delete;

    // Opens the chosen bus; ExitOk, or the status to end with (the reason is on stderr).
    [[nodiscard]] ExitStatus open();

private:
    ExitStatus openTcp();
    ExitStatus openSerial();
    ExitStatus openSimulated();
    void trace(bool outgoing, const QByteArray& bytes) const;

    Link& link_;
    const Options& options_;
    std::unique_ptr<sim::SimBus> simBus_;
    std::unique_ptr<Transport> transport_;
};

}  // namespace dunmere::cli
