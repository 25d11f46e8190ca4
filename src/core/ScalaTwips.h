#pragma once
// Pixels and twips on one screen, each axis with its own DPI; twips count from the screen's
// top-left corner.

#include "core/Twips.h"

#include <QRect>
#include <QScreen>

struct ScalaTwips {
    double dpiX;
    double dpiY;
    QPoint origine;

    explicit ScalaTwips(const QScreen* s)
        : dpiX(s->logicalDotsPerInchX()), dpiY(s->logicalDotsPerInchY()), origine(s->geometry().topLeft())
    {}
    QSize Twips(QSize px) const { return {TwipsDaPixel(px.width(), dpiX), TwipsDaPixel(px.height(), dpiY)}; }
    QRect Twips(const QRect& px) const
    {
        const QPoint p = px.topLeft() - origine;
        return {QPoint(TwipsDaPixel(p.x(), dpiX), TwipsDaPixel(p.y(), dpiY)), Twips(px.size())};
    }
    int PixelX(double tw) const { return PixelDaTwips(tw, dpiX); }
    int PixelY(double tw) const { return PixelDaTwips(tw, dpiY); }
    QSize Pixel(QSize tw) const { return {PixelX(tw.width()), PixelY(tw.height())}; }
    QPoint Pixel(QPoint tw) const { return origine + QPoint(PixelX(tw.x()), PixelY(tw.y())); }
};
