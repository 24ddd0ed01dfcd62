#pragma once
// The bus the command line talks to: an Ethernet adapter, a serial port or the in-process
// simulated bus, made the Link's transport; whether it went away; and the frame trace.

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

class CliOutput;

class CliBus {
public:
    CliBus(Link& link, const BusChoice& choice, bool trace, CliOutput& output);
    ~CliBus();
    CliBus(const CliBus&) = delete;
    CliBus& operator=(const CliBus&) = delete;

    // Opens the chosen bus; ExitOk, or the status to end with (the reason is on stderr).
    [[nodiscard]] ExitStatus open();
    // The connection was lost or the device vanished after it was opened; in plain words.
    [[nodiscard]] bool lost() const { return !lostText_.isEmpty(); }
    [[nodiscard]] const QString& lostText() const { return lostText_; }

private:
    ExitStatus openTcp();
    ExitStatus openSerial();
    ExitStatus openSimulated();
    void use(std::unique_ptr<Transport> transport, const QString& description);
    void trace(bool outgoing, const QByteArray& bytes) const;

    Link& link_;
    BusChoice choice_;
    CliOutput& output_;
    QString lostText_;
    std::unique_ptr<sim::SimBus> simBus_;
    std::unique_ptr<Transport> transport_;
};

}  // namespace dunmere::cli
