#pragma once
// The columns of the results browser's grid, in order: the nine of a stored answer and the VIES
// consultation number, each with its heading caption, its field and its designed width.

#include "results/ColonneGriglia.h"

inline constexpr int kColonneRisultati = 10;

// Grid columns by position.
enum ColonnaRisultati : int {
    kColNazione = 0,
    kColVat = 1,
    kColEsito = 2,
    kColDenominazione = 3,
    kColIndirizzo = 4,
    kColInizio = 5,
    kColFine = 6,
    kColOk = 7,
    kColDataRichiesta = 8,
    kColConsultazione = 9,
};

// Built once: the grid's headings ask for it at every paint.
const ColonneGriglia& ColonneRisultati();
