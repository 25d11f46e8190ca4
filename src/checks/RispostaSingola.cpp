#include "checks/RispostaSingola.h"

#include "core/Valori.h"
#include "web/RispostaQuery.h"

using namespace Qt::Literals::StringLiterals;

RispostaSingola LeggiRispostaSingola(const RispostaQuery& risposta)
{
    RispostaSingola singola;
    if (risposta.stato != 0 || risposta.ElencoTitoli[2].startsWith(u"***"_s)) {
        singola.errore = risposta.ElencoTitoli[2];
        return singola;
    }
    for (int j = 1; j <= 7; ++j) {
        if (!TogliSpazi(risposta.ElencoEsiti[j]).isEmpty())
            singola.righe.append({j, risposta.ElencoTitoli[j], risposta.ElencoEsiti[j]});
    }
    return singola;
}
