#include "support/BombaGzip.h"

#include <QRandomGenerator>

#include <zlib.h>

QByteArray BombaGzip(qint64 byte, int casuali)
{
    constexpr int kBlocco = 64 * 1024;
    QByteArray blocco(kBlocco, '\0');
    QRandomGenerator casuale(19);
    for (int i = 0; i < casuali && i < kBlocco; ++i)
        blocco[i] = char(casuale.bounded(256));

    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        qFatal("BombaGzip: zlib non si avvia");
    QByteArray uscita;
    char pezzo[kBlocco];
    qint64 restanti = byte;
    int modo = Z_NO_FLUSH;
    while (modo != Z_FINISH) {
        const int n = int(std::min<qint64>(restanti, kBlocco));
        restanti -= n;
        modo = restanti == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(blocco.data());
        z.avail_in = uInt(n);
        do {
            z.next_out = reinterpret_cast<Bytef*>(pezzo);
            z.avail_out = sizeof pezzo;
            deflate(&z, modo);
            uscita.append(pezzo, qsizetype(sizeof pezzo - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return uscita;
}
