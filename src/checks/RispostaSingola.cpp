#include "checks/RispostaSingola.h"

#include "app/Globali.h"
#include "core/Valori.h"

using namespace Qt::Literals::StringLiterals;

RispostaSingola LeggiRispostaSingola(int stato)
{
    RispostaSingola risposta;
    if (stato != 0 || ElencoTitoli[2].startsWith(u"***"_s)) {
        risposta.errore = ElencoTitoli[2];
        return risposta;
    }
    for (int j = 1; j <= 7; ++j) {
        if (!TogliSpazi(ElencoEsiti[j]).isEmpty())
            risposta.righe.append({j, ElencoTitoli[j], ElencoEsiti[j]});
    }
    return risposta;
}
