#pragma once
// A control that comes and goes keeps its place in the layout while hidden, so that nothing around
// it moves.

#include <QWidget>

inline void TieniPosto(QWidget* w)
{
    QSizePolicy regola = w->sizePolicy();
    regola.setRetainSizeWhenHidden(true);
    w->setSizePolicy(regola);
}
