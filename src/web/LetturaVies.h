#pragma once
// Reading an answer of the European Commission's VIES REST service: JSON in, the same answer the
// agency's page gives out, plus the consultation number that proves the check. Pure: nothing is
// fetched or shown here.

#include "web/LetturaPagine.h"

#include <QByteArray>
#include <QString>

struct LetturaVies {
    LetturaPagina lettura;  // as the page reader fills it; filled only when the service answered
    QString consultazione;  // the service's requestIdentifier, "" without one
    QString errore;         // the service's error code when it did not answer for the number
    bool riprovare = false; // a limit on requests at once: worth asking again after a pause
};

// `corpo` is the answer's body whatever its HTTP status (errors come as JSON too). An answer that is
// no JSON object gives errore "RISPOSTA_NON_LEGGIBILE".
LetturaVies LeggiRispostaVies(const QByteArray& corpo);

// The "#" text of an answer the service could not give, naming its code.
QString TestoNonDisponibile(const QString& codice);
