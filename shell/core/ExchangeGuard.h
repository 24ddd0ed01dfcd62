#pragma once
// The one answer to "may I talk to a sensor now?". Waits inside an exchange process window
// events, so a handler can run in the middle of a tick or of another exchange; a nested
// exchange would throw away the outer one's reply. Handlers and timers ask busy() and defer
// their work to the next tick when it holds.

// Link.h needs the whole Transport type for its transport() accessor.
#include "link/Transport.h"
#include "link/Link.h"

namespace dunmere {

class ExchangeGuard {
public:
    explicit ExchangeGuard(const Link& link) : link_(link) {}
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

    [[nodiscard]] bool busy() const { return tickInProgress_ || link_.exchangeInProgress(); }
    [[nodiscard]] bool tickInProgress() const { return tickInProgress_; }

    // Marks a tick (or another timer's pass) for its whole length; nests.
    class Scope {
    public:
        explicit Scope(ExchangeGuard& guard) : guard_(guard), outer_(guard.tickInProgress_) { guard_.tickInProgress_ = true; }
        ~Scope() { guard_.tickInProgress_ = outer_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ExchangeGuard& guard_;
        bool outer_;
    };

private:
    const Link& link_;
    bool tickInProgress_ = false;
};

}  // namespace dunmere
