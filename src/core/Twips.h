#pragma once
// Window geometry is kept in twips (1/1440 inch) so settings files stay compatible; the screen's
// logical DPI turns them into pixels (15 twips to a pixel at 96 DPI).

#include <cmath>

inline constexpr double kTwipsPerPollice = 1440.0;

inline int PixelDaTwips(double twips, double dpi)
{
    return int(std::lround(twips * dpi / kTwipsPerPollice));
}

inline int TwipsDaPixel(double pixel, double dpi)
{
    return int(std::lround(pixel * kTwipsPerPollice / dpi));
}
