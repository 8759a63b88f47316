#pragma once

#include <QSize>

// What a window manager adds around a window at most, its title bar and
// borders, as Qt's dialogs allow for when they place themselves.
inline constexpr QSize FrameAllowance(20, 50);
