#include "core/Attese.h"

#include <QEventLoop>
#include <QTimer>

LimitiAttesa& Attese()
{
    static LimitiAttesa limiti;
    return limiti;
}

qint64 LimiteFileMs(int unita)
{
    return (qint64(unita) + 1) * Attese().unitaFileMs;
}

void Attendi(int ms)
{
    QEventLoop ciclo;
    QTimer::singleShot(qMax(0, ms), &ciclo, &QEventLoop::quit);
    ciclo.exec();
}
