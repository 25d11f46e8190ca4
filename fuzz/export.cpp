// The customs export answer reader with its default markers, behind the charset decoding.

#include "PaginaFuzz.h"
#include "core/Impostazioni.h"
#include "web/LetturaPagine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    static const MarcatoriExport marcatori =
        MarcatoriExport::Leggi(Impostazioni(QStringLiteral("/inesistente/tarvel.ini")));
    const PaginaFuzz pagina = PaginaFuzz::Da(dati, dimensione);
    xGetEsito(pagina.testo, marcatori, pagina.bMess);
    return 0;
}
