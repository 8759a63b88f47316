#pragma once

#include <chrono>

// While one exists, a pass of the event loop that must not wait asks the
// system whether a file descriptor is ready at most once a millisecond, and
// otherwise takes it that none is. Everything the program queues itself is
// still handled at every pass: posted events, timers that are due, window
// events Qt has read. The transfer run passes the event loop once per row;
// that system call, with what it cost the insert after it, came to more than
// half the insert's own time. Without GLib's event loop under Qt, it changes
// nothing.
class SystemPollThrottle
{
public:
    static constexpr std::chrono::microseconds Interval {1000};

    SystemPollThrottle();
    ~SystemPollThrottle();
    SystemPollThrottle(const SystemPollThrottle &) = delete;
    SystemPollThrottle &operator=(const SystemPollThrottle &) = delete;

private:
    bool m_installed = false;
};
