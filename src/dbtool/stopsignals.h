#pragma once

// Ctrl-C, a polite kill and a lost terminal (SIGINT, SIGTERM, SIGHUP: an
// SSH session dropped) as the window's Cancel: while an instance lives, each
// is only noted, for the run to honour at its next check; the handlers
// before it come back when it goes.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // The signal received since the instance was made, or 0.
    static int received();
};
