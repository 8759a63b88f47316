#pragma once

#include <chrono>

// While one exists, a pass of the event loop that must not wait asks the
// system whether a file descriptor is ready at most once a millisecond, and
// otherwise takes it that none is. Everything the program queues itself is
// still handled at every pass: posted events, timers that are due, window
// events Qt has read. The transfer run passes the event loop once per row,
// and the system call cost more than the row's insert, which it slowed
// besides. Without GLib's event loop under Qt, it changes nothing.
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
