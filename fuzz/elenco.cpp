// The list-file reader: any bytes read, each item within its length limit and made of whole
// characters, and the same items whether the file comes whole, in pieces or through the stream
// reader. The input's first byte chooses the size of the pieces (1 to 16 bytes); the rest is the file.

#include "checks/LetturaElenco.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

bool CaratteriInteri(const QString& voce)
{
    for (qsizetype i = 0; i < voce.size(); ++i) {
        if (voce[i].isHighSurrogate() && i + 1 < voce.size() && voce[i + 1].isLowSurrogate())
            ++i;
        else if (voce[i].isSurrogate())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    if (dimensione == 0)
        return 0;
    const qsizetype pezzo = dati[0] % 16 + 1;
    const QByteArray contenuto(reinterpret_cast<const char*>(dati) + 1, qsizetype(dimensione) - 1);
    const QList<QString> voci = VociElenco(contenuto);

    ScomposizioneElenco scomposizione;
    QList<QString> aPezzi;
    for (qsizetype i = 0; i < contenuto.size(); i += pezzo)
        scomposizione.Aggiungi(QByteArrayView(contenuto).sliced(i, qMin(pezzo, contenuto.size() - i)),
                               aPezzi);
    scomposizione.Chiudi(aPezzi);
    if (aPezzi != voci)
        std::abort();

    QBuffer file;
    file.setData(contenuto);
    file.open(QIODevice::ReadOnly);
    LettoreElenco lettore(file);
    qsizetype n = 0;
    for (std::optional<QString> codice = lettore.Prossima(); codice; codice = lettore.Prossima(), ++n) {
        if (n >= voci.size() || *codice != NormalizzaVoce(voci[n]))
            std::abort();
    }
    if (n != voci.size())
        std::abort();

    for (const QString& voce : voci) {
        if (voce.size() > kMassimoCaratteriVoce || !CaratteriInteri(voce))
            std::abort();
        const QString codice = NormalizzaVoce(voce);
        if (codice.contains(u' ') || codice.contains(u'\t') || NormalizzaVoce(codice) != codice)
            std::abort();
    }
    return 0;
}
