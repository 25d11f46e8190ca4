#include "countries/ControlloFormatoVAT.h"

#include "app/Globali.h"
#include "countries/Nazioni.h"

using namespace Qt::Literals::StringLiterals;

QString ControlloFormatoVAT(const QString& numero)
{
    gNazCorrente = -1;
    if (numero.isEmpty())
        return u"*** Codice VAT non indicato "_s;

    const QString prefisso = numero.left(2);
    gNazCorrente = PosizioneNazione(prefisso);
    if (gNazCorrente < 0)
        return u"*** Nazione CEE  '"_s + prefisso + u"'  inesistente "_s;

    const RigaNazione& r = gNazioni[gNazCorrente];
    const qsizetype n = numero.size() - 2;
    QString messaggio = u"*** Lunghezza VAT errata "_s;
    const std::uint8_t intervalli[3][2] = {{r.min1, r.max1}, {r.min2, r.max2}, {r.min3, r.max3}};
    for (int k = 0; k < 3; ++k) {
        const auto [minimo, massimo] = intervalli[k];
        // A zero minimum switches its range off and ends the list.
        if (minimo == 0)
            break;
        if (n >= minimo && n <= massimo)
            return {};
        if (k > 0)
            messaggio += u", "_s;
        messaggio += QString::number(minimo);
        if (massimo != 0)
            messaggio += u'-' + QString::number(massimo);
    }
    return messaggio;
}
