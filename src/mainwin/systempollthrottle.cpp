#include "mainwin/systempollthrottle.h"

#include <glib.h>
#include <QAbstractEventDispatcher>

namespace {

GPollFunc systemPoll = nullptr; // the poll function the throttle stands in for
gint64 lastSystemPoll = 0;

gint throttledPoll(GPollFD *fds, guint count, gint timeout)
{
    const gint64 now = g_get_monotonic_time();
    if (timeout == 0 && now - lastSystemPoll < SystemPollThrottle::Interval.count()) {
        for (guint i = 0; i < count; ++i)
            fds[i].revents = 0;
        return 0;
    }
    lastSystemPoll = now;
    return systemPoll(fds, count, timeout);
}

// Qt runs the main thread's event loop on GLib's default context.
bool qtRunsOnGlib()
{
    const QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

} // namespace

SystemPollThrottle::SystemPollThrottle()
{
    if (systemPoll || !qtRunsOnGlib())
        return;
    systemPoll = g_main_context_get_poll_func(nullptr);
    g_main_context_set_poll_func(nullptr, throttledPoll);
    m_installed = true;
}

SystemPollThrottle::~SystemPollThrottle()
{
    if (!m_installed)
        return;
    g_main_context_set_poll_func(nullptr, systemPoll);
    systemPoll = nullptr;
}
