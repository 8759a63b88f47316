#include "dbtool/stopsignals.h"

#include <csignal>
#include <signal.h>

namespace {

volatile std::sig_atomic_t receivedSignal = 0;
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SignalCount = sizeof Signals / sizeof Signals[0];
struct sigaction before[SignalCount];

extern "C" void noteStopSignal(int signal)
{
    receivedSignal = signal;
}

} // namespace

StopSignals::StopSignals()
{
    receivedSignal = 0;
    struct sigaction noting = {};
    noting.sa_handler = noteStopSignal;
    sigemptyset(&noting.sa_mask);
    noting.sa_flags = SA_RESTART; // a read or write under way goes on
    for (int i = 0; i < SignalCount; ++i)
        sigaction(Signals[i], &noting, &before[i]);
}

StopSignals::~StopSignals()
{
    for (int i = 0; i < SignalCount; ++i)
        sigaction(Signals[i], &before[i], nullptr);
}

int StopSignals::received()
{
    return receivedSignal;
}
