#include "app/GeometriaStartup.h"

#include "core/Valori.h"

#include <algorithm>

int LarghezzaFissa(int larghezzaEsterna, int altezzaCornice)
{
    int larghezza = larghezzaEsterna;
    if (altezzaCornice > 800)
        larghezza = 6600;
    if (altezzaCornice > 1000)
        larghezza = 8100;
    return larghezza;
}

int AltezzaFissa(int altezzaEsterna)
{
    return std::max(altezzaEsterna, kAltezzaMinima);
}

QPointF PosizioneCentrata(QSize schermo, QSize finestra)
{
    return {(schermo.width() - finestra.width()) / 2.0, (schermo.height() - finestra.height()) / 2.0};
}

QPoint PosizioneRipristinata(double posX, double posY, QSize schermo)
{
    auto dentro = [](double valore, int limite) {
        const auto n = ArrotondaPari(valore);
        return n < 0 || n >= limite ? 0 : int(n);
    };
    return {dentro(posX, schermo.width()), dentro(posY, schermo.height())};
}

PosizioneDaSalvare PosizioneInChiusura(QPoint angolo, QSize schermo)
{
    PosizioneDaSalvare p;
    const int top = std::max(angolo.y(), 0);
    const int left = std::max(angolo.x(), 0);
    if (top < schermo.height())
        p.posY = top;
    if (left < schermo.width())
        p.posX = left;
    return p;
}
