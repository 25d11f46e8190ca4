#include "core/Attese.h"

#include <QCoreApplication>
#include <QThread>

LimitiAttesa& Attese()
{
    static LimitiAttesa limiti;
    return limiti;
}

qint64 LimiteFileMs(int unita)
{
    return (qint64(unita) + 1) * Attese().unitaFileMs;
}

void PassoAttesa()
{
    QCoreApplication::processEvents();
    QThread::msleep(ulong(qMax(0, Attese().passoMs)));
}
