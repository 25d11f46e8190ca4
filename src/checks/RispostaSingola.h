#pragma once
// What a single check shows of the last answer (ElencoTitoli, ElencoEsiti): either one error line
// or the rows whose value is not blank. The single-check window and the command line show the same.

#include <QList>
#include <QString>

struct RigaRisposta {
    int indice = 0; // 1..7
    QString titolo;
    QString valore;
};

struct RispostaSingola {
    QString errore; // a format message, no connection, or the service's own error answer
    QList<RigaRisposta> righe;
};

// `stato` is what InterrogaNumero returned for the answer.
RispostaSingola LeggiRispostaSingola(int stato);
