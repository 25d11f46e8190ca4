// The customs transit answer reader with its default markers, behind the charset decoding.

#include "PaginaFuzz.h"
#include "core/Impostazioni.h"
#include "web/LetturaPagine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    static const MarcatoriTransito marcatori =
        MarcatoriTransito::Leggi(Impostazioni(QStringLiteral("/inesistente/tarvel.ini")));
    const PaginaFuzz pagina = PaginaFuzz::Da(dati, dimensione);
    xGetTransito(pagina.testo, marcatori, QStringLiteral("26IT1234567890ABT7"));
    return 0;
}
