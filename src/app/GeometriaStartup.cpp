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
