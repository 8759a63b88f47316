#pragma once

#include <QRect>

// Window geometry is designed in twips; Qt places widgets in device-independent
// pixels and scales those for the screen itself. 15 twips are one pixel.
constexpr int TwipsPerPixel = 15;

// Rounds half away from zero, the same way for every value, so that edges
// designed to meet still meet.
constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}
