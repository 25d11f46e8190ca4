// The VIES answer reader, behind the charset decoding.

#include "PaginaFuzz.h"
#include "web/LetturaPagine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    const PaginaFuzz pagina = PaginaFuzz::Da(dati, dimensione);
    xGetVat(pagina.testo, pagina.bMess);
    return 0;
}
