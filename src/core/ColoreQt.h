#pragma once
// A stored colour (red in the low byte) as Qt paints it, and back.

#include "core/ColoreRgb.h"

#include <QColor>

inline QColor ColoreQt(ColoreRgb colore)
{
    return QColor(int(colore & 0xFF), int((colore >> 8) & 0xFF), int((colore >> 16) & 0xFF));
}

inline ColoreRgb ColoreDaQt(const QColor& colore)
{
    const QColor rgb = colore.toRgb();
    return ColoreRgb(rgb.red()) | ColoreRgb(rgb.green()) << 8 | ColoreRgb(rgb.blue()) << 16;
}
