#pragma once
// What a single check shows of an answer: either one error line or the rows whose value is not
// blank. The single-check window and the command line show the same.

#include <QList>
#include <QString>

struct RispostaQuery;

struct RigaRisposta {
    int indice = 0; // 1..7
    QString titolo;
    QString valore;
};

struct RispostaSingola {
    QString errore; // a format message, no connection, or the service's own error answer
    QList<RigaRisposta> righe;
};

RispostaSingola LeggiRispostaSingola(const RispostaQuery& risposta);
